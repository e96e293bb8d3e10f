// SPDX-License-Identifier: MIT
#include "cli/cli.h"

#include "text/text.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <new>
#include <ostream>
#include <stdexcept>

#include "cli/command.h"
#include "cli/context.h"
#include "haoma_version.h"

namespace haoma::cli {
namespace {

constexpr const char* kFooter =
    "Usage:\n"
    "  haoma-cli suggest TEXT\n"
    "  haoma-cli query (CITY | --province NAME | --area-code CODE) [--carrier C]\n"
    "  haoma-cli cities\n"
    "  haoma-cli where [NUMBER...]\n"
    "  haoma-cli pretty [--kinds K[,K...]] [--limit N] [SEGMENT... | --segments FILE |\n"
    "                   --city CITY [--carrier C]]\n"
    "  haoma-cli all    [--limit N] [SEGMENT... | --segments FILE | --city CITY [--carrier C]]\n"
    "  haoma-cli match  (PATTERN[,PATTERN...] | --preset NAME) [--limit N] [SEGMENT... |\n"
    "                   --segments FILE | --city CITY [--carrier C]]\n"
    "  haoma-cli import (FILE | --reset)\n"
    "pretty, all and match also take --contains DIGITS, --without DIGITS, --whole-number,\n"
    "--count, and --sample N [--seed S] [--shuffle]. Patterns: see haoma-cli match --help.\n"
    "Carriers: any, 电信, 联通, 移动, 广电, or a name where prints (中国联通(虚拟运营商)).\n"
    "Kinds: AAAA ABCD DCBA AAA ABC CBA AABB ABAB ABBA, or all.\n"
    "Segments of pretty and all come from the SEGMENT operands, else --segments FILE, else\n"
    "--city, else standard input, one per line. The common options may stand anywhere.\n"
    "Exit status: 0 success, 1 failure, 2 usage error.";

int version(const Context& context) {
    context.out << "haoma-cli " << kVersion << "\n";
    std::string error;
    if (const auto store = context.openStore(error)) {
        for (const auto& [key, value] : store->meta()) {
            context.out << "segment data " << key << ": " << value << "\n";
        }
        context.out << "segment data file: " << context.storePath() << "\n";
    } else {
        context.out << "segment data: " << error << "\n";
    }
    return kOk;
}

}  // namespace

namespace {

constexpr const char* kCommonOptions =
    "Options of every command (before or after it):\n"
    "  -o,--output FILE    write to FILE (through a temporary file renamed at the end)\n"
    "  --crlf              end lines with CR LF instead of LF\n"
    "  --progress          show count, rate and time left on stderr\n"
    "  --db PATH           use the segment store PATH";

// How many single-character edits turn `a` into `b`.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The command a mistyped first word most likely meant (two edits at most), or the empty
// text when the first word is an option, a command, or like none.
std::string nearestCommand(const std::vector<std::string>& args,
                           const std::vector<std::pair<CLI::App*, Command*>>& declared) {
    if (args.empty() || args.front().empty() || args.front().front() == '-') {
        return "";
    }
    std::string nearest;
    std::size_t best = 3;
    for (const auto& [subcommand, command] : declared) {
        const std::size_t distance = editDistance(args.front(), subcommand->get_name());
        if (distance == 0) {
            return "";
        }
        if (distance < best) {
            best = distance;
            nearest = subcommand->get_name();
        }
    }
    return nearest;
}

}  // namespace

bool passesUtf8(std::string_view charset) {
    const std::string name = text::toLowerAscii(charset);
    return name.empty() || name == "utf-8" || name == "utf8" || name == "ansi_x3.4-1968" ||
           name == "ascii" || name == "us-ascii";
}

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, const Environment& environment) {
    if (!passesUtf8(environment.localeCharset)) {
        // Arguments and output are taken and given as UTF-8 whatever the locale: say so once
        // rather than let a GB18030 terminal show a wrong city or garbled names unexplained.
        err << "haoma-cli: note: this program reads and writes UTF-8 only, but the locale's "
               "character set is "
            << environment.localeCharset
            << " (use a UTF-8 locale, or convert with iconv -f UTF-8 -t "
            << environment.localeCharset << ")\n";
    }
    CLI::App app("haoma-cli: the mobile number segments of a city and their numbers", "haoma-cli");
    app.require_subcommand(0, 1);
    // Options begin with '-' on every system: on Windows "/x" stays a path, as on POSIX.
    app.allow_windows_style_options(false);
    CommonOptions common;
    bool showVersion = false;
    app.add_option("-o,--output", common.output,
                   "write to FILE (through a temporary file renamed at the end)")
        ->type_name("FILE")
        ->check(CLI::Validator(
            [](const std::string& value) {
                return value.empty() ? std::string("needs a file name") : std::string();
            },
            ""));
    app.add_flag("--crlf", common.crlf, "end lines with CR LF instead of LF")
        ->disable_flag_override();
    app.add_flag("--progress", common.progress, "show count, rate and time left on stderr")
        ->disable_flag_override();
    app.add_option("--db", common.db, "use the segment store PATH")->type_name("PATH");
    app.add_flag("-V,--version", showVersion, "show the version and the segment data in use")
        ->disable_flag_override();

    const std::unique_ptr<Command> commands[] = {
        makeSuggestCommand(), makeQueryCommand(), makeCitiesCommand(), makeWhereCommand(),
        makePrettyCommand(),  makeAllCommand(),   makeMatchCommand(),  makeImportCommand(),
    };
    std::vector<std::pair<CLI::App*, Command*>> declared;
    for (const auto& command : commands) {
        CLI::App* subcommand = command->declare(app);
        subcommand->fallthrough();  // the common options may follow the subcommand
        // A subcommand's help names the options every command takes, which belong to the
        // program and would not show there.
        const std::string own = subcommand->get_footer();
        subcommand->footer(own + (own.empty() ? "" : "\n\n") + kCommonOptions);
        for (CLI::Option* positional : subcommand->get_options()) {
            if (positional->get_positional()) {
                positional->type_name("");  // its name says it: no "TEXT" or "PATTERN" again
            }
        }
        declared.emplace_back(subcommand, command.get());
    }

    app.footer(kFooter);  // after the subcommands, which would take it over as their own

    // Everything after "--" is an operand; the parser takes the arguments in reverse.
    const auto marker = std::find(args.begin(), args.end(), "--");
    const std::vector<std::string> extraOperands(marker == args.end() ? marker : marker + 1,
                                                 args.end());
    std::vector<std::string> reversed(args.begin(), marker);
    std::reverse(reversed.begin(), reversed.end());
    Context context(common, in, out, err, environment);
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help() << "\n";
        return kOk;
    } catch (const CLI::ParseError& error) {
        if (const auto nearest = nearestCommand(args, declared); !nearest.empty()) {
            return context.usage("unknown command '" + args.front() + "'; did you mean " + nearest +
                                 "?");
        }
        return context.usage(error.what());
    }
    for (const auto& [subcommand, command] : declared) {
        if (subcommand->parsed()) {
            // Too little memory for what was asked (a huge sample, say) is a failure to
            // report, not an abort.
            try {
                return command->execute(context, extraOperands);
            } catch (const std::bad_alloc&) {
                return context.fail("not enough memory for this command");
            } catch (const std::length_error&) {
                return context.fail("not enough memory for this command");
            }
        }
    }
    if (showVersion) {
        return version(context);
    }
    return context.usage("no command given");
}

}  // namespace haoma::cli
