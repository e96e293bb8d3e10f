// SPDX-License-Identifier: MIT
// haoma-cli cities: every city of the store with its province, area code and segment
// counts per carrier.
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/context.h"

namespace haoma::cli {
namespace {

class CitiesCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        return parent.add_subcommand(
            "cities", "every city with its province, area code and segments per carrier");
    }

    int execute(Context& context, const std::vector<std::string>& extraOperands) override {
        if (!extraOperands.empty()) {
            return context.usage("cities takes no operand");
        }
        std::string error;
        const auto store = context.openStore(error);
        if (!store) {
            return context.fail(error);
        }
        std::vector<std::string> lines = {"省份\t城市\t区号\t号段\t移动\t联通\t电信"};
        const auto cities = store->cities(error);
        if (!error.empty()) {
            return context.fail(error + " (reinstall haoma, or run haoma-cli import)");
        }
        for (const auto& city : cities) {
            lines.push_back(city.province + "\t" + city.city + "\t" + city.areaCode + "\t" +
                            std::to_string(city.segments) + "\t" + std::to_string(city.mobile) +
                            "\t" + std::to_string(city.unicom) + "\t" +
                            std::to_string(city.telecom));
        }
        return context.printLines(lines);
    }
};

}  // namespace

std::unique_ptr<Command> makeCitiesCommand() {
    return std::make_unique<CitiesCommand>();
}

}  // namespace haoma::cli
