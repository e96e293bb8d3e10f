// SPDX-License-Identifier: MIT
#include "cli/cli.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <istream>
#include <map>
#include <ostream>

#include "cli/options.h"
#include "cli/output.h"
#include "cli/progress.h"
#include "generate/number_walk.h"
#include "generate/runs.h"
#include "haoma_version.h"
#include "lookup/city_table.h"
#include "lookup/import_formats.h"
#include "lookup/segment_store.h"
#include "text/text.h"

namespace haoma::cli {
namespace {

constexpr int kOk = 0;
constexpr int kFailure = 1;
constexpr int kUsageError = 2;
constexpr int kInterrupted = 130;
constexpr std::size_t kBlockNumbers = 1 << 16;

// The whole content of a stream; false when it could not be read.
bool readAll(std::istream& in, std::string& data) {
    std::array<char, 1 << 16> chunk{};
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        data.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    return !in.bad();
}

bool readFile(const std::string& path, std::string& data) {
    std::ifstream file(path, std::ios::binary);
    return file && readAll(file, data);
}

// One run of the command line: the streams, the options and the environment.
class Session {
  public:
    Session(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
            const Environment& environment)
        : o_(options), in_(in), out_(out), err_(err), env_(environment) {}

    int dispatch();

  private:
    int fail(const std::string& message) {
        err_ << "haoma-cli: " << message << "\n";
        return kFailure;
    }
    int usage(const std::string& message) {
        err_ << "haoma-cli: " << message << "\nTry 'haoma-cli --help'.\n";
        return kUsageError;
    }
    std::string lineEnd() const { return o_.crlf ? "\r\n" : "\n"; }
    bool interrupted() const { return env_.interrupted != nullptr && *env_.interrupted != 0; }

    std::string storePath() const;
    std::unique_ptr<lookup::SegmentStore> openStore(std::string& error) const;
    int printLines(const std::vector<std::string>& lines);
    int version();
    int suggest();
    int query();
    int generate();
    int import();
    // The segment lines of pretty/all; false with a message when they cannot be had.
    bool segments(std::vector<std::string>& lines, int& status);
    std::vector<std::string> readLines(std::string_view text);
    // Writes a block; false when the run must stop (`status` says how it ends).
    bool write(Output& output, std::string& block, int& status);
    // Flushes and puts the output in its place; the exit status.
    int finish(Output& output);
    // The status of a failed write or flush: a reader that has gone is no failure.
    int writeFailure(const Output& output);

    const Options& o_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    const Environment& env_;
};

std::string Session::storePath() const {
    if (o_.db) {
        return *o_.db;
    }
    return lookup::storePath(env_.programDirectory);
}

std::unique_ptr<lookup::SegmentStore> Session::openStore(std::string& error) const {
    const std::string path = storePath();
    auto store = lookup::SegmentStore::open(path);
    if (!store) {
        error = "cannot open the segment store " + path;
    }
    return store;
}

int Session::printLines(const std::vector<std::string>& lines) {
    Output output(out_, o_.output.value_or(""));
    if (!output.ready()) {
        return fail(output.error());
    }
    std::string block;
    for (const auto& line : lines) {
        block += line;
        block += lineEnd();
    }
    int status = kOk;
    if (!write(output, block, status)) {
        return status;
    }
    return finish(output);
}

int Session::version() {
    out_ << "haoma-cli " << kVersion << "\n";
    std::string error;
    if (const auto store = openStore(error)) {
        for (const auto& [key, value] : store->meta()) {
            out_ << "segment data " << key << ": " << value << "\n";
        }
        out_ << "segment data file: " << storePath() << "\n";
    } else {
        out_ << "segment data: " << error << "\n";
    }
    return kOk;
}

int Session::suggest() {
    const std::string& typed = o_.operands.front();
    if (typed.empty()) {
        return kOk;  // the window's list keeps what it had
    }
    const lookup::CityRecords records;
    return printLines(lookup::suggestionNames(records.findCityNames(typed)));
}

int Session::query() {
    const auto carrier = lookup::carrierByName(o_.carrier.value_or("any"));
    if (!carrier) {
        return usage("unknown carrier '" + *o_.carrier + "' (any, 电信, 联通 or 移动)");
    }
    std::string error;
    const auto store = openStore(error);
    if (!store) {
        return fail(error);
    }
    return printLines(lookup::querySegments(store.get(), o_.operands.front(), *carrier));
}

std::vector<std::string> Session::readLines(std::string_view text) {
    std::vector<std::string> lines;
    int notText = 0;
    for (std::string_view line : text::splitViews(text, "\n")) {
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!text::isValidUtf8(line)) {
            ++notText;
            continue;
        }
        lines.emplace_back(line);
    }
    if (notText > 0) {
        err_ << "haoma-cli: rejected " << notText << " line" << (notText == 1 ? "" : "s")
             << (notText == 1 ? " that is" : " that are") << " not UTF-8 text\n";
    }
    return lines;
}

bool Session::segments(std::vector<std::string>& lines, int& status) {
    if (!o_.operands.empty()) {
        lines = o_.operands;
    } else if (o_.segmentsFile) {
        std::string bytes;
        if (!readFile(*o_.segmentsFile, bytes)) {
            status = fail("cannot read " + *o_.segmentsFile);
            return false;
        }
        lines = readLines(bytes);
    } else if (o_.city) {
        const auto carrier = lookup::carrierByName(o_.carrier.value_or("any"));
        if (!carrier) {
            status = usage("unknown carrier '" + *o_.carrier + "' (any, 电信, 联通 or 移动)");
            return false;
        }
        std::string error;
        const auto store = openStore(error);
        if (!store) {
            status = fail(error);
            return false;
        }
        lines = lookup::querySegments(store.get(), *o_.city, *carrier);
    } else {
        std::string input;
        readAll(in_, input);
        lines = readLines(input);
    }
    return true;
}

bool Session::write(Output& output, std::string& block, int& status) {
    errno = 0;
    const bool written = output.write(block);
    block.clear();
    if (written) {
        return true;
    }
    status = writeFailure(output);
    return false;
}

int Session::writeFailure(const Output& output) {
    if (!output.toFile() && errno == EPIPE) {
        return kOk;  // the reader has all it wanted
    }
    return fail(output.toFile() ? output.error() : "cannot write standard output");
}

int Session::finish(Output& output) {
    errno = 0;
    return output.commit() ? kOk : writeFailure(output);
}

int Session::generate() {
    const bool pretty = o_.command == "pretty";
    std::array<bool, generate::kPatternKindCount> wanted{};
    const std::string kinds = o_.kinds.value_or("all");
    for (const auto& name : text::split(kinds, ",")) {
        if (text::toLowerAscii(name) == "all") {
            wanted.fill(true);
        } else if (const auto kind = generate::patternKindByName(name)) {
            wanted[static_cast<std::size_t>(*kind)] = true;
        } else {
            return usage("unknown kind '" + name + "'");
        }
    }
    std::vector<std::string> lines;
    int status = kOk;
    if (!segments(lines, status)) {
        return status;
    }
    Output output(out_, o_.output.value_or(""));
    if (!output.ready()) {
        return fail(output.error());
    }
    const auto limit = static_cast<std::int64_t>(std::min<std::uint64_t>(
        o_.limit.value_or(UINT64_MAX), static_cast<std::uint64_t>(INT64_MAX)));
    std::uint64_t total = 0;
    if (pretty) {
        for (const auto& row : generate::patternTable()) {
            if (wanted[static_cast<std::size_t>(row.kind)]) {
                total += generate::countPatternNumbers(lines, row.kind);
            }
        }
    } else {
        total = generate::countAllNumbers(lines);
    }
    total = std::min(total, static_cast<std::uint64_t>(limit));
    Progress progress(o_.progress || (env_.errorIsTerminal && output.toFile()) ? &err_ : nullptr,
                      total);
    std::string block;
    block.reserve(kBlockNumbers * 16);
    std::uint64_t count = 0;
    const auto deliver = [&](std::size_t produced) {
        count += produced;
        progress.update(count);
        return write(output, block, status);
    };
    if (pretty) {
        generate::PrettyRun run(std::move(lines), lineEnd());
        while (const auto kind = run.kindAtTurn()) {
            if (!wanted[static_cast<std::size_t>(*kind)]) {
                run.skipKind();
                continue;
            }
            run.beginKind();
            while (run.kindActive()) {
                if (interrupted()) {
                    return kInterrupted;
                }
                if (!deliver(run.next(limit, kBlockNumbers, block))) {
                    return status;
                }
            }
        }
    } else {
        generate::AllNumbersRun run(std::move(lines), lineEnd());
        while (!run.finished()) {
            if (interrupted()) {
                return kInterrupted;
            }
            if (!deliver(run.next(limit, kBlockNumbers, block))) {
                return status;
            }
        }
    }
    progress.finish(count);
    return finish(output);
}

int Session::import() {
    const std::string& source = o_.operands.front();
    std::string bytes;
    if (!readFile(source, bytes)) {
        return fail("cannot read " + source);
    }
    const auto result = lookup::readSegmentFile(bytes);
    for (const auto& [reason, count] : result.rejected) {
        out_ << "rejected " << count << ": " << reason << "\n";
    }
    if (!result.error.empty()) {
        return fail(source + ": " + result.error + " (the segment store is unchanged)");
    }
    std::map<std::string, int> perCarrier;
    for (const auto& row : result.rows) {
        ++perCarrier[row.corp];
    }
    for (const auto& [corp, count] : perCarrier) {
        out_ << "imported " << count << ": " << corp << "\n";
    }
    const std::string target =
        o_.db ? *o_.db : lookup::storeLocations(env_.programDirectory).front();
    const std::string error =
        lookup::writeStore(target, result.rows,
                           {{"source", "imported " + result.format + " file " +
                                           std::filesystem::path(source).filename().string()},
                            {"rows", std::to_string(result.rows.size())}});
    if (!error.empty()) {
        return fail(error);
    }
    out_ << "wrote " << result.rows.size() << " segments to " << target << "\n";
    return kOk;
}

int Session::dispatch() {
    if (o_.help) {
        out_ << kUsage;
        return kOk;
    }
    if (o_.version) {
        return version();
    }
    if (o_.command == "suggest") {
        return suggest();
    }
    if (o_.command == "query") {
        return query();
    }
    if (o_.command == "import") {
        return import();
    }
    return generate();
}

}  // namespace

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, const Environment& environment) {
    const ParsedOptions parsed = parseOptions(args);
    if (!parsed.error.empty()) {
        err << "haoma-cli: " << parsed.error << "\nTry 'haoma-cli --help'.\n";
        return kUsageError;
    }
    Session session(parsed.options, in, out, err, environment);
    return session.dispatch();
}

}  // namespace haoma::cli
