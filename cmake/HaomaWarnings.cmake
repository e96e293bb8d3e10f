# SPDX-License-Identifier: MIT
# Strict warnings for the project's own targets; third-party headers come in as system includes.
function(haoma_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
    -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference
    -Wimplicit-fallthrough)
endfunction()
