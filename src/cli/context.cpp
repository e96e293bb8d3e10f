// SPDX-License-Identifier: MIT
#include "cli/context.h"

#include "lookup/city_guide.h"
#include "text/text.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>

#include "cli/line_reader.h"

namespace haoma::cli {

int Context::fail(const std::string& message) const {
    err << "haoma-cli: " << message << "\n";
    return kFailure;
}

int Context::usage(const std::string& message) const {
    err << "haoma-cli: " << message << "\nTry 'haoma-cli --help'.\n";
    return kUsageError;
}

std::string Context::storePath() const {
    return common.db ? *common.db : lookup::storePath(env.programDirectory, env.userDataDirectory);
}

std::unique_ptr<lookup::SegmentStore> Context::openStore(std::string& error) const {
    const std::string path = storePath();
    readsInput("the segment store", path);
    std::string reason;
    auto store = lookup::SegmentStore::open(path, &reason);
    if (!store) {
        error = "cannot open the segment store " + path + ": " + reason +
                " (reinstall haoma, or run haoma-cli import)";
    }
    return store;
}

std::optional<std::vector<std::string>> Context::citySegments(const lookup::SegmentStore& store,
                                                              std::string_view cityText,
                                                              lookup::Carrier carrier,
                                                              bool mustMatch, int& status) const {
    std::string error;
    auto cities = store.cityNames(error);
    if (!error.empty()) {
        status = fail(error + " (reinstall haoma, or run haoma-cli import)");
        return std::nullopt;
    }
    const lookup::PlaceAliases aliases;
    const lookup::CityRecords records;
    const lookup::CityGuide guide(std::move(cities), aliases, records);
    auto answer = lookup::queryCity(&store, guide, cityText, carrier);
    const auto& choice = answer.choice;
    const std::string typed(text::trim(cityText));
    if (!answer.segments.error.empty()) {
        status = fail(answer.segments.error + " (reinstall haoma, or run haoma-cli import)");
        return std::nullopt;
    }
    if (choice.kind == lookup::CityChoice::Kind::Province) {
        status = fail(typed +
                      " is a province, not a city: its segments come by province "
                      "(haoma-cli query --province " +
                      choice.city + ")");
        return std::nullopt;
    }
    if (choice.kind == lookup::CityChoice::Kind::Shared) {
        std::string holders;
        for (const auto& city : choice.cities) {
            holders += (holders.empty() ? "" : ", ") + city;
        }
        status = fail(typed + (choice.spans ? " spans " : " is in more than one city: ") + holders +
                      "; give the city");
        return std::nullopt;
    }
    if (!choice.given.empty()) {
        err << "haoma-cli: " << choice.given << " → " << choice.city
            << (choice.filed
                    ? " (the segment data files " + choice.given + " under " + choice.city + ")"
                    : "")
            << "\n";
    }
    if (mustMatch && answer.segments.rows.empty()) {
        status = fail("no segment matches '" + typed + "'" +
                      (carrier != lookup::Carrier::Any ? " with that carrier"
                       : choice.kind == lookup::CityChoice::Kind::Exact || !choice.given.empty()
                           ? ""
                           : ": it is no city of the store and no place this program knows"));
        return std::nullopt;
    }
    return std::move(answer.segments.rows);
}

std::optional<lookup::Carrier> Context::carrier(const std::optional<std::string>& name,
                                                int& status) const {
    const auto carrier = lookup::carrierByName(name.value_or("any"));
    if (!carrier) {
        status = usage("unknown carrier '" + *name +
                       "' (any, 电信, 联通, 移动 or 广电, or a name where prints)");
    }
    return carrier;
}

int Context::interruptedStatus() const {
    return 128 + (env.interrupted != nullptr ? *env.interrupted : 2);
}

bool Context::readLines(std::istream& input, const std::string& name,
                        std::vector<std::string>& lines, int& status) const {
    if (&input == &in) {
        readsInput("standard input");
    }
    LineReader reader(input, LineRules{}, [this] { return interrupted(); });
    std::string line;
    while (reader.next(line)) {
        lines.push_back(line);
    }
    return finishReading(reader, name, status);
}

bool Context::finishReading(const LineReader& reader, const std::string& name, int& status) const {
    const auto note = [&](int count, const char* what) {
        if (count > 0) {
            err << "haoma-cli: rejected " << count << " line" << (count == 1 ? "" : "s")
                << (count == 1 ? " that is " : " that are ") << what << "\n";
        }
    };
    if (interrupted()) {
        status = interruptedStatus();
        return false;
    }
    note(reader.notText(), "not UTF-8 text");
    if (!reader.keepsTooLong()) {
        note(reader.tooLong(), "longer than 1 MiB");
    }
    if (reader.failed()) {
        status = fail("cannot read " + name + ": " + std::strerror(errno));
        return false;
    }
    return true;
}

void Context::readsInput(std::string what, std::string path) const {
    inputs_.push_back({std::move(what), std::move(path)});
}

std::unique_ptr<Output> Context::openOutput(int& status) const {
    auto output = std::make_unique<Output>(out, common.output.value_or(""),
                                           lookup::OutputRules{inputs_, !env.outputClosed});
    if (!output->ready()) {
        status = fail(output->error());
        return nullptr;
    }
    if (!output->toFile() && env.outputClosed) {
        status = fail("cannot write standard output: it was closed when the program started");
        return nullptr;
    }
    return output;
}

int Context::printLines(const std::vector<std::string>& lines) const {
    int status = kOk;
    const auto output = openOutput(status);
    if (!output) {
        return status;
    }
    std::string block;
    for (const auto& line : lines) {
        block += line;
        block += lineEnd();
    }
    if (!write(*output, block, status)) {
        return status;
    }
    return finish(*output);
}

bool Context::write(Output& output, std::string& block, int& status) const {
    errno = 0;
    const bool written = output.write(block);
    block.clear();
    if (written) {
        return true;
    }
    status = writeFailure(output);
    return false;
}

int Context::writeFailure(const Output& output) const {
    if (!output.toFile() && errno == EPIPE) {
        return kOk;  // the reader has all it wanted
    }
    if (output.toFile()) {
        return fail(output.error());
    }
    return fail(std::string("cannot write standard output") +
                (errno != 0 ? std::string(": ") + std::strerror(errno) : ""));
}

int Context::finish(Output& output) const {
    errno = 0;
    return output.commit() ? kOk : writeFailure(output);
}

}  // namespace haoma::cli
