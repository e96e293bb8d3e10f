// SPDX-License-Identifier: MIT
// haoma-cli import: replaces the user's segment store with a phone.dat or CSV file's rows,
// all or nothing; --reset returns to the installed store.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "cli/command.h"
#include "cli/context.h"
#include "lookup/city_table.h"
#include "lookup/import_formats.h"
#include "lookup/store_lock.h"
#include "lookup/store_writer.h"
#include "platform/paths.h"

namespace haoma::cli {
namespace {

// The whole content of a stream; false when it could not be read.
// No segment file comes near this: a larger input is refused, never read whole.
constexpr std::size_t kMaxInputBytes = std::size_t{256} << 20;
constexpr std::size_t kMaxRows = 2000000;

// The whole stream; stops early, keeping what it read, once the run is interrupted or the
// input passes kMaxInputBytes.
bool readAll(std::istream& in, std::string& data, const Context& context) {
    std::array<char, 1 << 16> chunk{};
    while (!context.interrupted() && data.size() <= kMaxInputBytes &&
           (in.read(chunk.data(), chunk.size()) || in.gcount() > 0)) {
        data.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    return !in.bad();
}

// How the report names what the import replaced.
std::string replaced(const std::optional<std::int64_t>& rows) {
    return rows ? "the store in use had " + std::to_string(*rows) + " segments"
                : "no store was in use";
}

class ImportCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "import",
            "replace your segment store with a phone.dat, CSV or SQLite store file (- for stdin)");
        auto* file =
            command
                ->add_option("FILE", source_, "phone.dat, or CSV with a header naming its columns")
                ->type_name("FILE");
        command
            ->add_flag("--reset", reset_,
                       "remove your imported store: the installed one is used again")
            ->disable_flag_override()
            ->excludes(file);
        return command;
    }

    int execute(Context& context, const std::vector<std::string>& extraOperands) override {
        if (!extraOperands.empty() || (!reset_ && !source_)) {
            return context.usage("import takes exactly one FILE, or --reset");
        }
        std::string target;
        if (context.common.db) {
            if (reset_) {
                return context.usage("--reset removes your own store; it takes no --db");
            }
            target = *context.common.db;
        } else if (context.env.userDataDirectory.empty()) {
            return context.fail(
                "cannot tell where your data folder is (HOME is not set); "
                "name the store with --db");
        } else {
            target = platform::joinPath(context.env.userDataDirectory, lookup::kStoreFileName);
        }
        std::error_code ec;
        const auto folder = platform::toPath(target).parent_path();
        if (!reset_ && !folder.empty() && !std::filesystem::create_directories(folder, ec) && ec) {
            // The cause (a read-only home, say), not the missing folder that follows from it.
            return context.fail("cannot create the folder " + platform::fromPath(folder) + " for " +
                                target + ": " + ec.message() + " (the segment store is unchanged)");
        }
        // A reset of a folder that was never made has nothing to remove, and nothing to lock.
        const bool nothingThere = reset_ && !folder.empty() && !std::filesystem::exists(folder, ec);
        std::string error;
        const auto lock = nothingThere ? nullptr : lookup::StoreLock::acquire(target, error);
        if (!lock && !nothingThere) {
            return context.fail(error + " (the segment store is unchanged)");
        }
        return reset_ ? reset(context, target) : import(context, target);
    }

  private:
    int reset(Context& context, const std::string& target) {
        std::error_code ec;
        if (!std::filesystem::remove(platform::toPath(target), ec)) {
            if (ec) {
                return context.fail("cannot remove " + target + ": " + ec.message());
            }
            context.err << "haoma-cli: there is no imported store at " << target << "\n";
        } else {
            context.err << "haoma-cli: removed " << target << "\n";
        }
        context.err << "haoma-cli: the segment store in use is " << context.storePath() << "\n";
        return kOk;
    }

    int import(Context& context, const std::string& target) {
        std::string bytes;
        if (*source_ == "-") {
            if (!readAll(context.in, bytes, context)) {
                return context.fail(std::string("cannot read standard input: ") +
                                    std::strerror(errno));
            }
        } else {
            std::error_code ec;
            const auto source = platform::toPath(*source_);
            if (std::filesystem::is_directory(source, ec)) {
                return context.fail("cannot read " + *source_ + ": is a directory");
            }
            // A device or a FIFO could hang the open or never end: only files are read.
            if (std::filesystem::exists(source, ec) &&
                !std::filesystem::is_regular_file(source, ec)) {
                return context.fail("cannot read " + *source_ +
                                    ": not a regular file (use - for standard input)");
            }
            std::ifstream file(source, std::ios::binary);
            if (!file || !readAll(file, bytes, context)) {
                return context.fail("cannot read " + *source_ + ": " + std::strerror(errno));
            }
        }
        if (context.interrupted()) {
            return context.interruptedStatus();
        }
        if (bytes.size() > kMaxInputBytes) {
            return context.fail(*source_ +
                                ": larger than 256 MiB, which no segment file is "
                                "(the segment store is unchanged)");
        }
        const auto stop = [&] { return context.interrupted(); };
        if (lookup::isSqliteFile(bytes) && *source_ == "-") {
            return context.fail(
                "an SQLite segment store is imported from its file, not from standard input");
        }
        const auto result = lookup::isSqliteFile(bytes) ? lookup::readSegmentStore(*source_, stop)
                                                        : lookup::readSegmentFile(bytes, stop);
        if (context.interrupted()) {
            return context.interruptedStatus();
        }
        for (const auto& [reason, count] : result.rejected) {
            context.err << "haoma-cli: skipped " << count << ": " << reason << "\n";
        }
        if (!result.error.empty()) {
            return context.fail(*source_ + ": " + result.error +
                                " (the segment store is unchanged)");
        }
        if (result.rows.size() > kMaxRows) {
            return context.fail(*source_ +
                                ": more than 2,000,000 segments, which no segment "
                                "file has (the segment store is unchanged)");
        }
        std::optional<std::int64_t> before;
        std::string ignored;
        if (const auto store = context.openStore(ignored)) {
            before = store->rowCount();
        }
        const std::string error = lookup::writeStore(
            target, result.rows,
            {{"source",
              "imported " + result.format + " file " +
                  (*source_ == "-" ? std::string("from standard input")
                                   : platform::fromPath(platform::toPath(*source_).filename()))},
             {"rows", std::to_string(result.rows.size())}},
            [&] { return context.interrupted(); });
        if (context.interrupted()) {
            context.err << "haoma-cli: import interrupted; the segment store is unchanged\n";
            return context.interruptedStatus();
        }
        if (!error.empty()) {
            return context.fail(error + " (the segment store is unchanged)");
        }
        report(context, result.rows, target, before);
        return kOk;
    }

    static void report(const Context& context, const std::vector<lookup::SegmentRow>& rows,
                       const std::string& target, const std::optional<std::int64_t>& before) {
        std::map<std::string, int> perCarrier;
        std::vector<std::string> cities;
        for (const auto& row : rows) {
            ++perCarrier[row.corp];
            cities.push_back(row.city);
        }
        for (const auto& [corp, count] : perCarrier) {
            context.err << "haoma-cli: imported " << count << ": " << corp << "\n";
        }
        context.err << "haoma-cli: wrote " << rows.size() << " segments to " << target << " ("
                    << replaced(before) << ")\n";
        std::sort(cities.begin(), cities.end());
        cities.erase(std::unique(cities.begin(), cities.end()), cities.end());
        const auto unnamed = lookup::citiesWithoutRecord(lookup::CityRecords(), cities);
        if (!unnamed.empty()) {
            context.err << "haoma-cli: " << unnamed.size()
                        << " cities of the store have no record in the city table, so their "
                           "pinyin suggests nothing (see the README to add them):";
            for (const auto& city : unnamed) {
                context.err << " " << city;
            }
            context.err << "\n";
        }
    }

    std::optional<std::string> source_;
    bool reset_ = false;
};

}  // namespace

std::unique_ptr<Command> makeImportCommand() {
    return std::make_unique<ImportCommand>();
}

}  // namespace haoma::cli
