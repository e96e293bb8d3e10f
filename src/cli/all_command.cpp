// SPDX-License-Identifier: MIT
// haoma-cli all: every number of each segment, the window's all-numbers run.
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/generate_run.h"

namespace haoma::cli {
namespace {

class AllCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand("all", "every number of each segment");
        options_.declare(*command);
        return command;
    }

    int execute(Context& context, const std::vector<std::string>& extraOperands) override {
        return generateNumbers(context, options_, extraOperands, RunKind{});
    }

  private:
    GenerateOptions options_;
};

}  // namespace

std::unique_ptr<Command> makeAllCommand() {
    return std::make_unique<AllCommand>();
}

}  // namespace haoma::cli
