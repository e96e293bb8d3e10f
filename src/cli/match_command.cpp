// SPDX-License-Identifier: MIT
// haoma-cli match: the numbers whose last digits match a pattern of the pattern language, or
// a named preset.
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/context.h"
#include "cli/generate_run.h"
#include "generate/pattern_presets.h"
#include "text/text.h"

namespace haoma::cli {
namespace {

// Spaces up to the column of byte `position` of `text` on a terminal, then a caret: a
// Chinese character takes two columns, as it takes two bytes in GBK.
std::string caretUnder(std::string_view text, std::size_t position) {
    return std::string(static_cast<std::size_t>(text::gbkLength(text.substr(0, position))), ' ') +
           "^";
}

constexpr const char* kLanguage =
    "Pattern positions (the last one is the number's last digit): 0-9 a digit, * any digit,\n"
    "[68] [0-35] one of a set, [^4] none of a set, A-J digit variables (same letter, same\n"
    "digit; different letters, different digits), + and - one more or one less than the\n"
    "position before (not first: no digit stands before it). [^] is any digit, [] an error.\n"
    "A segment line's character that is not a digit matches no position, * included.\n"
    "Comma-separated patterns are a union. Presets (names in any case): --list-presets.";

class MatchCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand("match", "numbers whose last digits match a pattern");
        command->footer(kLanguage);
        command->add_option("PATTERN", pattern_, "PATTERN[,PATTERN...]")->type_name("PATTERN");
        options_.declare(*command);
        command->add_option("--preset", presets_, "named patterns, a union (love,year; repeatable)")
            ->type_name("NAME[,NAME...]")
            ->delimiter(',')
            ->allow_extra_args(false);
        command->add_flag("--list-presets", listPresets_, "print the presets and their patterns")
            ->disable_flag_override();
        return command;
    }

    int execute(Context& context, const std::vector<std::string>& extraOperands) override {
        if (listPresets_) {
            std::vector<std::string> lines;
            for (const auto& preset : generate::patternPresets()) {
                lines.push_back(std::string(preset.name) + "\t" + std::string(preset.patterns) +
                                "\t" + std::string(preset.meaning));
            }
            return context.printLines(lines);
        }
        std::string list;
        GenerateOptions options = options_;
        // After "--" the first operand is the pattern when none stood before it.
        std::vector<std::string> operands = extraOperands;
        std::optional<std::string> pattern = pattern_;
        if (!pattern && presets_.empty() && !operands.empty()) {
            pattern = operands.front();
            operands.erase(operands.begin());
        }
        for (const auto& name : presets_) {
            const auto preset = generate::patternPresetByName(name);
            if (!preset) {
                return context.usage("unknown preset '" + name + "' (see --list-presets)");
            }
            list += (list.empty() ? "" : ",") + std::string(preset->patterns);
        }
        if (!presets_.empty()) {
            if (pattern) {  // with presets, every operand is a segment line
                options.source.operands.insert(options.source.operands.begin(), *pattern);
            }
        } else if (pattern) {
            list = *pattern;
        } else {
            return context.usage("match needs a PATTERN or --preset NAME");
        }
        auto parsed = generate::parsePatterns(list);
        if (parsed.error) {
            if (!presets_.empty()) {
                return context.usage("preset: " + parsed.error->message);
            }
            return context.usage("bad pattern: " + parsed.error->message + "\n  " + list + "\n  " +
                                 caretUnder(list, parsed.error->position));
        }
        return generateNumbers(context, options, operands,
                               RunKind{std::nullopt, std::move(parsed.patterns)});
    }

  private:
    GenerateOptions options_;
    std::optional<std::string> pattern_;
    std::vector<std::string> presets_;
    bool listPresets_ = false;
};

}  // namespace

std::unique_ptr<Command> makeMatchCommand() {
    return std::make_unique<MatchCommand>();
}

}  // namespace haoma::cli
