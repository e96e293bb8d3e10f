// SPDX-License-Identifier: MIT
// haoma-cli query: the segments of a city (as the window's query), a province or an area
// code, with the carrier filter.
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/context.h"

namespace haoma::cli {
namespace {

class QueryCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command =
            parent.add_subcommand("query", "the segments of a city, province or area code");
        auto* city = command->add_option("CITY", city_, "text anywhere in the city's name");
        auto* province = command->add_option("--province", province_, "every segment of a province")
                             ->type_name("NAME");
        auto* areaCode =
            command->add_option("--area-code", areaCode_, "every segment of an area code (0755)")
                ->type_name("CODE");
        city->excludes(province, areaCode);
        province->excludes(areaCode);
        command
            ->add_option("--carrier", carrier_,
                         "any, 电信, 联通, 移动 or 广电 (or a name where prints)")
            ->type_name("C");
        command->add_flag("--all", all_, "every segment of the store (within the carrier)")
            ->disable_flag_override();
        return command;
    }

    int execute(Context& context, const std::vector<std::string>& extraOperands) override {
        if (extraOperands.size() + (city_ ? 1 : 0) > 1 ||
            (!extraOperands.empty() && (province_ || areaCode_))) {
            return context.usage("query takes one CITY, or --province, or --area-code");
        }
        const auto city = city_                   ? city_
                          : extraOperands.empty() ? std::nullopt
                                                  : std::optional(extraOperands.front());
        const bool everything = all_ && !province_ && !areaCode_;
        if (!city && !province_ && !areaCode_ && !all_) {
            return context.usage("query needs a CITY, --province NAME or --area-code CODE");
        }
        // A city text of nothing but blanks and wildcards matches every row: only on request.
        if (city && !all_ && lookup::matchesEverything(*city)) {
            return context.usage("'" + *city +
                                 "' matches every segment; add --all to list them all");
        }
        int status = kOk;
        const auto carrier = context.carrier(carrier_, status);
        if (!carrier) {
            return status;
        }
        std::string error;
        const auto store = context.openStore(error);
        if (!store) {
            return context.fail(error);
        }
        if (city && !everything) {
            const auto rows = context.citySegments(*store, *city, *carrier, true, status);
            return rows ? context.printLines(*rows) : status;
        }
        const auto answer = province_   ? store->segmentsOfProvince(*province_, *carrier)
                            : areaCode_ ? store->segmentsOfAreaCode(*areaCode_, *carrier)
                                        : store->segments("", *carrier);
        if (!answer.error.empty()) {
            return context.fail(answer.error + " (reinstall haoma, or run haoma-cli import)");
        }
        const int printed = context.printLines(answer.rows);
        if (printed == kOk && answer.rows.empty()) {
            return context.fail("no segment matches " + describe());
        }
        return printed;
    }

  private:
    std::optional<std::string> city_;
    std::optional<std::string> province_;
    std::optional<std::string> areaCode_;
    std::optional<std::string> carrier_;
    bool all_ = false;

    std::string describe() const {
        return province_   ? "the province '" + *province_ + "'"
               : areaCode_ ? "the area code '" + *areaCode_ + "'"
                           : "the carrier";
    }
};

}  // namespace

std::unique_ptr<Command> makeQueryCommand() {
    return std::make_unique<QueryCommand>();
}

}  // namespace haoma::cli
