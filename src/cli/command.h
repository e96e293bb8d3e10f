// SPDX-License-Identifier: MIT
#pragma once
// One haoma-cli subcommand: it declares its options on the command line parser, and runs
// with what was parsed.

#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace haoma::cli {

class Context;

class Command {
  public:
    virtual ~Command() = default;
    // Adds the subcommand and its options to `parent`; the subcommand it made.
    virtual CLI::App* declare(CLI::App& parent) = 0;
    // Runs with the parsed options; the exit status. `extraOperands` are the arguments
    // after "--".
    virtual int execute(Context& context, const std::vector<std::string>& extraOperands) = 0;
};

std::unique_ptr<Command> makeSuggestCommand();
std::unique_ptr<Command> makeQueryCommand();
std::unique_ptr<Command> makeCitiesCommand();
std::unique_ptr<Command> makeWhereCommand();
std::unique_ptr<Command> makePrettyCommand();
std::unique_ptr<Command> makeAllCommand();
std::unique_ptr<Command> makeMatchCommand();
std::unique_ptr<Command> makeImportCommand();

}  // namespace haoma::cli
