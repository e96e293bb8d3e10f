// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace haoma::cli {

const char* const kUsage =
    "Usage:\n"
    "  haoma-cli suggest TEXT\n"
    "  haoma-cli query CITY [--carrier any|电信|联通|移动]\n"
    "  haoma-cli pretty [--kinds K[,K...]] [--limit N] [--segments FILE | --city CITY [--carrier "
    "C]]"
    " [SEGMENT...]\n"
    "  haoma-cli all    [--limit N] [--segments FILE | --city CITY [--carrier C]] [SEGMENT...]\n"
    "  haoma-cli import FILE [--db PATH]\n"
    "\n"
    "Common options:\n"
    "  -o, --output FILE   write to FILE (through a temporary file renamed at the end)\n"
    "      --crlf          end lines with CR LF instead of LF\n"
    "      --progress      show count, rate, percentage and time left on standard error\n"
    "      --db PATH       use the segment store PATH instead of the one beside the program\n"
    "  -h, --help          show this help\n"
    "      --version       show the version and the segment data's source\n"
    "\n"
    "Kinds: AAAA ABCD DCBA AAA ABC CBA AABB ABAB ABBA, or all (the default); any order and case.\n"
    "Segments come from the SEGMENT operands, else --segments FILE, else --city, else standard\n"
    "input, one per line. Exit status: 0 success, 1 failure, 2 usage error.\n";

namespace {

enum class Takes { Nothing, Value };

struct OptionSpec {
    std::string_view longName;
    char shortName;
    Takes takes;
    std::string_view commands;  // commands the option applies to; empty: all
};

constexpr std::array kOptions = {
    OptionSpec{"output", 'o', Takes::Value, ""},
    OptionSpec{"crlf", '\0', Takes::Nothing, ""},
    OptionSpec{"progress", '\0', Takes::Nothing, ""},
    OptionSpec{"db", '\0', Takes::Value, ""},
    OptionSpec{"help", 'h', Takes::Nothing, ""},
    OptionSpec{"version", '\0', Takes::Nothing, ""},
    OptionSpec{"carrier", '\0', Takes::Value, " query pretty all "},
    OptionSpec{"kinds", '\0', Takes::Value, " pretty "},
    OptionSpec{"limit", '\0', Takes::Value, " pretty all "},
    OptionSpec{"segments", '\0', Takes::Value, " pretty all "},
    OptionSpec{"city", '\0', Takes::Value, " pretty all "},
};

constexpr std::array<std::string_view, 5> kCommands = {"suggest", "query", "pretty", "all",
                                                       "import"};

const OptionSpec* findOption(std::string_view name, bool isShort) {
    for (const auto& spec : kOptions) {
        if (isShort ? (name.size() == 1 && spec.shortName == name[0]) : spec.longName == name) {
            return &spec;
        }
    }
    return nullptr;
}

std::string store(Options& o, const OptionSpec& spec, const std::string& value) {
    const std::string_view name = spec.longName;
    if (name == "output") {
        o.output = value;
    } else if (name == "db") {
        o.db = value;
    } else if (name == "carrier") {
        o.carrier = value;
    } else if (name == "kinds") {
        o.kinds = value;
    } else if (name == "segments") {
        o.segmentsFile = value;
    } else if (name == "city") {
        o.city = value;
    } else if (name == "limit") {
        std::uint64_t limit = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), limit);
        if (ec != std::errc() || end != value.data() + value.size() || limit == 0) {
            return "--limit needs a positive whole number, not '" + value + "'";
        }
        o.limit = limit;
    } else if (name == "crlf") {
        o.crlf = true;
    } else if (name == "progress") {
        o.progress = true;
    } else if (name == "help") {
        o.help = true;
    } else if (name == "version") {
        o.version = true;
    }
    return {};
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    std::vector<std::pair<const OptionSpec*, std::string>> given;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (o.command.empty() && !optionsEnded) {
                o.command = arg;
            } else {
                o.operands.push_back(arg);
            }
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const bool isShort = arg[1] != '-';
        std::string name = isShort ? arg.substr(1) : arg.substr(2);
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); !isShort && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptionSpec* spec = findOption(name, isShort);
        if (spec == nullptr) {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
        std::string value;
        if (spec->takes == Takes::Value) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                parsed.error = "option '" + arg + "' needs a value";
                return parsed;
            }
        } else if (inlineValue) {
            parsed.error = "option '--" + name + "' takes no value";
            return parsed;
        }
        given.emplace_back(spec, value);
    }
    for (const auto& [spec, value] : given) {
        if (auto error = store(o, *spec, value); !error.empty()) {
            parsed.error = error;
            return parsed;
        }
    }
    if (o.help || (o.version && o.command.empty())) {
        return parsed;
    }
    if (o.command.empty()) {
        parsed.error = "no command given";
        return parsed;
    }
    if (std::find(kCommands.begin(), kCommands.end(), o.command) == kCommands.end()) {
        parsed.error = "unknown command '" + o.command + "'";
        return parsed;
    }
    for (const auto& [spec, value] : given) {
        if (!spec->commands.empty() &&
            spec->commands.find(" " + o.command + " ") == std::string_view::npos) {
            parsed.error =
                "option '--" + std::string(spec->longName) + "' does not apply to " + o.command;
            return parsed;
        }
    }
    const auto operands = o.operands.size();
    if ((o.command == "suggest" || o.command == "query" || o.command == "import") &&
        operands != 1) {
        parsed.error = o.command + " takes exactly one " +
                       (o.command == "suggest" ? "TEXT"
                        : o.command == "query" ? "CITY"
                                               : "FILE");
        return parsed;
    }
    if (o.segmentsFile && o.city) {
        parsed.error = "--segments and --city cannot be used together";
        return parsed;
    }
    if (o.carrier && o.command != "query" && !o.city) {
        parsed.error = "--carrier applies to query and to --city";
        return parsed;
    }
    return parsed;
}

}  // namespace haoma::cli
