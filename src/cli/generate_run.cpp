// SPDX-License-Identifier: MIT
#include "cli/generate_run.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>

#include "cli/context.h"
#include "cli/line_reader.h"
#include "cli/progress.h"
#include "generate/runs.h"

namespace haoma::cli {
namespace {

constexpr std::size_t kBlockNumbers = 1 << 16;

const CLI::Validator kPositive(
    [](std::string& value) -> std::string {
        std::uint64_t number = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec != std::errc() || end != value.data() + value.size() || number == 0) {
            return "needs a positive whole number, not '" + value + "'";
        }
        return {};
    },
    "N");

std::uint64_t countNumbers(const std::vector<std::string>& lines,
                           const std::optional<WantedKinds>& wanted) {
    if (!wanted) {
        return generate::countAllNumbers(lines);
    }
    std::uint64_t total = 0;
    for (const auto& row : generate::patternTable()) {
        if ((*wanted)[static_cast<std::size_t>(row.kind)]) {
            total += generate::countPatternNumbers(lines, row.kind);
        }
    }
    return total;
}

}  // namespace

void GenerateOptions::declare(CLI::App& command) {
    source.declare(command);
    command.add_option("--limit", limit, "stop after N numbers (the planned total)")
        ->type_name("N")
        ->check(kPositive);
}

namespace {

// Runs over the lines, writing blocks; the exit status, or nothing while the run goes on.
class Generation {
  public:
    Generation(Context& context, Output& output, std::optional<std::uint64_t> total,
               std::optional<std::uint64_t> limit)
        : context_(context),
          output_(output),
          progress_(context.common.progress || (context.env.errorIsTerminal && output.toFile())
                        ? &context.err
                        : nullptr,
                    total),
          limit_(static_cast<std::int64_t>(std::min<std::uint64_t>(
              limit.value_or(UINT64_MAX), static_cast<std::uint64_t>(INT64_MAX)))) {
        block_.reserve(kBlockNumbers * 16);
    }

    bool limitReached() const { return count_ >= static_cast<std::uint64_t>(limit_); }

    // All the numbers of the segment lines, after those already written.
    bool allNumbers(std::vector<std::string> lines) {
        generate::AllNumbersRun run(std::move(lines), context_.lineEnd());
        const std::int64_t remaining = limit_ - static_cast<std::int64_t>(count_);
        while (!run.finished()) {
            if (!deliver([&] { return run.next(remaining, kBlockNumbers, block_); })) {
                return false;
            }
        }
        return true;
    }

    bool prettyNumbers(std::vector<std::string> lines, const WantedKinds& wanted) {
        generate::PrettyRun run(std::move(lines), context_.lineEnd());
        while (const auto kind = run.kindAtTurn()) {
            if (!wanted[static_cast<std::size_t>(*kind)]) {
                run.skipKind();
                continue;
            }
            run.beginKind();
            while (run.kindActive()) {
                if (!deliver([&] { return run.next(limit_, kBlockNumbers, block_); })) {
                    return false;
                }
            }
        }
        return true;
    }

    int finish() {
        progress_.finish(count_);
        return context_.finish(output_);
    }
    int status() const { return status_; }

  private:
    template <class Produce>
    bool deliver(Produce produce) {
        if (context_.interrupted()) {
            status_ = context_.interruptedStatus();
            return false;
        }
        count_ += produce();
        progress_.update(count_);
        return context_.write(output_, block_, status_);
    }

    Context& context_;
    Output& output_;
    Progress progress_;
    std::int64_t limit_;
    std::string block_;
    std::uint64_t count_ = 0;
    int status_ = kOk;
};

}  // namespace

int generateNumbers(Context& context, const GenerateOptions& options,
                    const std::vector<std::string>& extraOperands,
                    const std::optional<WantedKinds>& wanted) {
    SegmentSource source = options.source;
    source.operands.insert(source.operands.end(), extraOperands.begin(), extraOperands.end());
    int status = kOk;
    // All numbers from standard input: a stream, each line's numbers as soon as it is read.
    const bool stream = !wanted && source.standardInputOnly();
    std::vector<std::string> lines;
    if (!stream && !source.read(context, lines, status)) {
        return status;
    }
    Output output(context.out, context.common.output.value_or(""));
    if (!output.ready()) {
        return context.fail(output.error());
    }
    std::optional<std::uint64_t> total;
    if (!stream) {
        total = std::min(countNumbers(lines, wanted), options.limit.value_or(UINT64_MAX));
    }
    Generation generation(context, output, total, options.limit);
    if (stream) {
        LineReader reader(context.in, true);
        std::string line;
        while (!generation.limitReached() && reader.next(line)) {
            if (!generation.allNumbers({line})) {
                return generation.status();
            }
        }
        if (!context.finishReading(reader, "standard input", status)) {
            return status;
        }
    } else if (!(wanted ? generation.prettyNumbers(std::move(lines), *wanted)
                        : generation.allNumbers(std::move(lines)))) {
        return generation.status();
    }
    return generation.finish();
}

}  // namespace haoma::cli
