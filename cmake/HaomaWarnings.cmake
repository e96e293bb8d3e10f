# SPDX-License-Identifier: MIT
# Strict warnings for the project's own targets; third-party headers come in as system includes.
function(haoma_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
    -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference
    -Wimplicit-fallthrough)
endfunction()

# On Windows: the program's icon and a version resource (description, version) for `target`.
function(haoma_windows_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(HAOMA_ICON ${CMAKE_SOURCE_DIR}/data/icons/haoma.ico)
  set(HAOMA_RC_NAME ${target})
  set(HAOMA_RC_DESCRIPTION ${description})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/windows/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()
