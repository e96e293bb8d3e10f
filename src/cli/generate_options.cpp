// SPDX-License-Identifier: MIT
// The options of the runs (all, pretty, match), declared once.
#include <CLI/CLI.hpp>
#include <charconv>

#include "cli/generate_run.h"

namespace haoma::cli {
namespace {

const CLI::Validator kPositive(
    [](std::string& value) -> std::string {
        std::uint64_t number = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec != std::errc() || end != value.data() + value.size() || number == 0) {
            return "needs a positive whole number, not '" + value + "'";
        }
        return {};
    },
    "");

const CLI::Validator kSeed(
    [](std::string& value) -> std::string {
        std::uint64_t number = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec != std::errc() || end != value.data() + value.size()) {
            return "needs a whole number from 0 to 18446744073709551615, not '" + value + "'";
        }
        return {};
    },
    "");

const CLI::Validator kDigits(
    [](std::string& value) -> std::string {
        if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos) {
            return "needs digits, not '" + value + "'";
        }
        return {};
    },
    "");

constexpr const char* kRunNotes =
    "A number is a segment line followed by filler digits up to 11 bytes, the line's length\n"
    "counted as GBK counts it (a Chinese character 2: 深圳 is 4); a longer line gives none.\n"
    "A line given twice gives its numbers twice, in a sample too. --sample N with --limit L\n"
    "draws min(N, L) numbers from the whole run. --city '' (or %, _) needs --all.";

}  // namespace

void GenerateOptions::declare(CLI::App& command) {
    const std::string own = command.get_footer();
    command.footer(own + (own.empty() ? "" : "\n\n") + kRunNotes);
    source.declare(command);
    command.add_option("--limit", limit, "stop after N numbers (the planned total)")
        ->type_name("N")
        ->check(kPositive);
    command.add_option("--contains", contains, "DIGITS occur after the segment (repeatable)")
        ->type_name("DIGITS")
        ->allow_extra_args(false)
        ->check(kDigits);
    command
        .add_option("--without", without,
                    "none of DIGITS occurs after the segment (repeatable: the digits of all)")
        ->type_name("DIGITS")
        ->allow_extra_args(false)
        ->check(kDigits);
    command
        .add_flag("--whole-number", wholeNumber,
                  "--contains and --without look at the whole 11-digit number, the segment too")
        ->disable_flag_override();
    command.add_flag("--count", count, "print only how many numbers there are")
        ->disable_flag_override();
    auto* sampleOption =
        command.add_option("--sample", sample, "N numbers chosen uniformly at random")
            ->type_name("N")
            ->check(kPositive);
    command.add_option("--seed", seed, "the seed of --sample (default: random)")
        ->type_name("S")
        ->check(kSeed)
        ->needs(sampleOption);
    command.add_flag("--shuffle", shuffle, "print the sample in random order")
        ->disable_flag_override()
        ->needs(sampleOption);
}

}  // namespace haoma::cli
