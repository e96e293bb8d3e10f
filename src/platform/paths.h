// SPDX-License-Identifier: MIT
#pragma once
// Paths as the programs hold them (UTF-8 text) and as the system takes them, and the places
// the programs look in: their own folder, the user's data folder.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace haoma::platform {

// A UTF-8 path as the file system library takes it (on Windows, UTF-16 underneath).
std::filesystem::path toPath(std::string_view utf8);
// A path as UTF-8 text.
std::string fromPath(const std::filesystem::path& path);

// `name` (which may hold '/') inside `directory`, with the system's own separators.
std::string joinPath(std::string_view directory, std::string_view name);

// std::fopen for a UTF-8 path.
std::FILE* openFile(const std::string& path, const char* mode);

// The file a path names once its symbolic links are followed (the last link's target may
// not exist yet); nothing for a loop of links.
std::optional<std::string> followLinks(const std::string& path);

// The folder that holds the running executable; empty when it cannot be told.
std::string executableDirectory();

// Where this user's own segment store lives: $XDG_DATA_HOME/haoma, else
// ~/.local/share/haoma (a relative XDG_DATA_HOME is ignored, as the base directory rules
// say); on Windows %LOCALAPPDATA%\haoma. Empty when none of these is set.
std::string userDataDirectory();

// The POSIX rule itself, for tests: from the two variables' values (either may be null).
std::string xdgDataDirectory(const char* xdgDataHome, const char* home);

// How many bytes of memory the machine has; 0 when unknown.
double physicalMemoryBytes();

}  // namespace haoma::platform
