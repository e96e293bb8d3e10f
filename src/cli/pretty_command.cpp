// SPDX-License-Identifier: MIT
// haoma-cli pretty: the window's pretty-number run.
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/context.h"
#include "cli/generate_run.h"
#include "text/text.h"

namespace haoma::cli {
namespace {

class PrettyCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand("pretty", "pretty numbers of the nine kinds");
        command->footer(
            "An 8-digit segment line has three filler digits: only AAA, ABC and CBA find numbers "
            "in it.");
        options_.declare(*command);
        command
            ->add_option("--kinds", kinds_,
                         "AAAA ABCD DCBA AAA ABC CBA AABB ABAB ABBA, comma-separated, or all")
            ->type_name("K[,K...]");
        return command;
    }

    int execute(Context& context, const std::vector<std::string>& extraOperands) override {
        WantedKinds wanted{};
        if (text::trim(kinds_).empty()) {
            return context.usage("--kinds needs at least one kind");
        }
        for (const auto& name : text::split(kinds_, ",")) {
            if (text::toLowerAscii(name) == "all") {
                wanted.fill(true);
            } else if (const auto kind = generate::patternKindByName(name)) {
                wanted[static_cast<std::size_t>(*kind)] = true;
            } else {
                return context.usage("unknown kind '" + name + "'");
            }
        }
        return generateNumbers(context, options_, extraOperands, RunKind{wanted, std::nullopt});
    }

  private:
    GenerateOptions options_;
    std::string kinds_ = "all";
};

}  // namespace

std::unique_ptr<Command> makePrettyCommand() {
    return std::make_unique<PrettyCommand>();
}

}  // namespace haoma::cli
