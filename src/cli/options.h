// SPDX-License-Identifier: MIT
#pragma once
// The command line of haoma-cli, parsed into a plain struct.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace haoma::cli {

struct Options {
    std::string command;  // suggest, query, pretty, all, import; empty with --help/--version
    std::vector<std::string> operands;
    std::optional<std::string> output;
    std::optional<std::string> db;
    std::optional<std::string> segmentsFile;
    std::optional<std::string> city;
    std::optional<std::string> carrier;
    std::optional<std::string> kinds;
    std::optional<std::uint64_t> limit;
    bool crlf = false;
    bool progress = false;
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    Options options;
    std::string error;  // non-empty: the one line that names the problem
};

// Parses the arguments after the program name. Options may stand before or after the
// operands; "--" ends the options; "--name=value" and "-o FILE" forms are both taken.
ParsedOptions parseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace haoma::cli
