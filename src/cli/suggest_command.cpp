// SPDX-License-Identifier: MIT
// haoma-cli suggest: the names the window's suggestion list shows for a typed text.
#include <CLI/CLI.hpp>
#include <optional>

#include "cli/command.h"
#include "cli/context.h"
#include "lookup/city_table.h"

namespace haoma::cli {
namespace {

class SuggestCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command =
            parent.add_subcommand("suggest", "city names for Chinese, pinyin or initials");
        command->add_option("TEXT", typed_, "what is typed into the city box");
        return command;
    }

    int execute(Context& context, const std::vector<std::string>& extraOperands) override {
        if (!extraOperands.empty() || !typed_) {
            return context.usage("suggest takes exactly one TEXT");
        }
        if (typed_->empty()) {
            return kOk;  // the window's list keeps what it had
        }
        const lookup::CityRecords records;
        return context.printLines(lookup::suggestionNames(records.findCityNames(*typed_)));
    }

  private:
    std::optional<std::string> typed_;
};

}  // namespace

std::unique_ptr<Command> makeSuggestCommand() {
    return std::make_unique<SuggestCommand>();
}

}  // namespace haoma::cli
