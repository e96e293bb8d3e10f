# SPDX-License-Identifier: MIT
# Builds QScintilla (Debian's source in SOURCE_DIR) as a DLL against the cross-built Qt, with the
# sources and definitions of its own qmake project.
cmake_minimum_required(VERSION 3.21)
project(qscintilla CXX)
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_AUTOMOC ON)
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
file(GLOB qsci_sources ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/scintilla/lexlib/*.cpp
     ${SOURCE_DIR}/scintilla/src/*.cpp ${SOURCE_DIR}/scintilla/lexers/*.cpp)
list(FILTER qsci_sources EXCLUDE REGEX "LexLPeg\\.cpp$")
file(GLOB qsci_headers ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/Qsci/*.h)
add_library(qscintilla2_qt6 SHARED ${qsci_sources} ${qsci_headers})
target_include_directories(qscintilla2_qt6 PRIVATE ${SOURCE_DIR}/src ${SOURCE_DIR}/scintilla/include
                           ${SOURCE_DIR}/scintilla/lexlib ${SOURCE_DIR}/scintilla/src)
target_compile_definitions(qscintilla2_qt6 PRIVATE QSCINTILLA_MAKE_DLL SCINTILLA_QT SCI_LEXER
                           INCLUDE_DEPRECATED_FEATURES)
target_link_libraries(qscintilla2_qt6 PRIVATE Qt6::Widgets Qt6::PrintSupport)
install(TARGETS qscintilla2_qt6 RUNTIME DESTINATION bin ARCHIVE DESTINATION lib LIBRARY DESTINATION lib)
install(DIRECTORY ${SOURCE_DIR}/src/Qsci DESTINATION include)
install(FILES ${SOURCE_DIR}/src/qscintilla_zh_CN.qm DESTINATION translations OPTIONAL)
