// SPDX-License-Identifier: MIT
// haoma-cli import: replaces the segment store with a phone.dat or CSV file's rows.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <map>

#include "cli/command.h"
#include "cli/context.h"
#include "lookup/city_table.h"
#include "lookup/import_formats.h"
#include "lookup/store_writer.h"

namespace haoma::cli {
namespace {

class ImportCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "import", "replace the segment store with a phone.dat or CSV file");
        command->add_option("FILE", source_, "phone.dat, or CSV with a header naming its columns")
            ->type_name("FILE")
            ->required();
        return command;
    }

    int execute(Context& context, const std::vector<std::string>& extraOperands) override {
        if (!extraOperands.empty()) {
            return context.usage("import takes exactly one FILE");
        }
        std::string bytes;
        if (!readFile(source_, bytes)) {
            return context.fail("cannot read " + source_);
        }
        const auto result = lookup::readSegmentFile(bytes);
        for (const auto& [reason, count] : result.rejected) {
            context.out << "rejected " << count << ": " << reason << "\n";
        }
        if (!result.error.empty()) {
            return context.fail(source_ + ": " + result.error +
                                " (the segment store is unchanged)");
        }
        std::map<std::string, int> perCarrier;
        for (const auto& row : result.rows) {
            ++perCarrier[row.corp];
        }
        for (const auto& [corp, count] : perCarrier) {
            context.out << "imported " << count << ": " << corp << "\n";
        }
        const std::string target =
            context.common.db ? *context.common.db
                              : lookup::storeLocations(context.env.programDirectory).front();
        const std::string error =
            lookup::writeStore(target, result.rows,
                               {{"source", "imported " + result.format + " file " +
                                               std::filesystem::path(source_).filename().string()},
                                {"rows", std::to_string(result.rows.size())}});
        if (!error.empty()) {
            return context.fail(error);
        }
        context.out << "wrote " << result.rows.size() << " segments to " << target << "\n";
        std::vector<std::string> cities;
        for (const auto& row : result.rows) {
            if (cities.empty() || cities.back() != row.city) {
                cities.push_back(row.city);
            }
        }
        std::sort(cities.begin(), cities.end());
        cities.erase(std::unique(cities.begin(), cities.end()), cities.end());
        const auto unnamed = lookup::citiesWithoutRecord(lookup::CityRecords(), cities);
        if (!unnamed.empty()) {
            context.out << unnamed.size()
                        << " cities of the store have no record in the city table, so their "
                           "pinyin suggests nothing (see the README to add them):";
            for (const auto& city : unnamed) {
                context.out << " " << city;
            }
            context.out << "\n";
        }
        return kOk;
    }

  private:
    std::string source_;
};

}  // namespace

std::unique_ptr<Command> makeImportCommand() {
    return std::make_unique<ImportCommand>();
}

}  // namespace haoma::cli
