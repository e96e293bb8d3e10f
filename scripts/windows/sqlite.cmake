# SPDX-License-Identifier: MIT
# Builds SQLite's amalgamation (generated in SOURCE_DIR) as a static library and installs it
# where FindSQLite3 looks.
cmake_minimum_required(VERSION 3.21)
project(sqlite C)
add_library(sqlite3 STATIC ${SOURCE_DIR}/sqlite3.c)
target_compile_definitions(sqlite3 PRIVATE SQLITE_THREADSAFE=1
                           SQLITE_OMIT_LOAD_EXTENSION=1)
install(TARGETS sqlite3 ARCHIVE DESTINATION lib)
install(FILES ${SOURCE_DIR}/sqlite3.h ${SOURCE_DIR}/sqlite3ext.h DESTINATION include)
