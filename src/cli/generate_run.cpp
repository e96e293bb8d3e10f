// SPDX-License-Identifier: MIT
#include "cli/generate_run.h"

#include <algorithm>
#include <random>

#include "cli/context.h"
#include "cli/line_notes.h"
#include "cli/line_reader.h"
#include "cli/progress.h"
#include "generate/run_stream.h"
#include "generate/sample_stream.h"
#include "platform/paths.h"

namespace haoma::cli {
namespace {

// Numbers per block handed to the output: big enough that a partial group of lines at the
// end of a block is rare, small enough to answer an interrupt at once.
constexpr std::size_t kBlockNumbers = 1 << 18;
// Lines of standard input handed to a run at once, when more are ready without waiting.
constexpr std::size_t kBatchLines = 1 << 12;
constexpr std::size_t kMaxContains = 64;
// What a shuffled sample holds for each number: its rank.
constexpr double kShuffledBytesPerNumber = 8;

generate::TailRule tailRule(const GenerateOptions& options) {
    std::string without;
    for (const auto& digits : options.without) {
        without += digits;
    }
    return {generate::digitsWithout(without), options.contains, options.wholeNumber};
}

// The run the options describe, without its lines yet.
generate::RunPlan planOf(const GenerateOptions& options, const RunKind& kind) {
    generate::RunPlan plan;
    plan.pretty = kind.pretty;
    plan.patterns = kind.patterns.value_or(std::vector<generate::DigitPattern>{});
    plan.rule = tailRule(options);
    plan.limit = options.limit;
    return plan;
}

// The lines of the run, as they come: each seen by the notes, then handed on. False, with
// `status` set, when they could not all be read.
class LineFeed {
  public:
    LineFeed(Context& context, const SegmentSource& source)
        : context_(context), source_(source), notes_(context.err) {}

    // Calls `take(line, more)` for each line in order, `more` telling whether another line
    // is ready without waiting; false stops the feed.
    template <class Take>
    bool each(Take take, int& status) {
        if (!source_.standardInputOnly()) {
            std::vector<std::string> lines;
            if (!source_.read(context_, lines, status)) {
                return false;
            }
            for (std::size_t at = 0; at < lines.size(); ++at) {
                notes_.see(lines[at], ++number_);
                if (!take(std::move(lines[at]), at + 1 < lines.size())) {
                    return true;
                }
            }
            return true;
        }
        context_.readsInput("standard input");
        LineReader reader(context_.in, LineRules{}, [this] { return context_.interrupted(); });
        std::string line;
        while (reader.next(line)) {
            notes_.see(line, ++number_);
            if (!take(std::move(line), reader.lineBuffered())) {
                break;
            }
        }
        return context_.finishReading(reader, "standard input", status);
    }

  private:
    Context& context_;
    const SegmentSource& source_;
    LineNotes notes_;
    std::size_t number_ = 0;
};

// The status of a run the core could not finish.
int faultStatus(const Context& context, generate::RunFault fault) {
    switch (fault) {
        case generate::RunFault::None:
            return kOk;
        case generate::RunFault::Stopped:
            return context.interruptedStatus();
        case generate::RunFault::TooComplex:
            return context.fail(
                "these --contains strings need more than 500,000 counting states on one shape "
                "of segment line; give fewer or longer strings");
        case generate::RunFault::Overflow:
            return context.fail("the count passes 18446744073709551615 (2^64 - 1)");
    }
    return kFailure;
}

// Writes the blocks a producer gives until it gives none.
template <class Produce>
bool writeAll(const Context& context, Output& output, Progress& progress, std::uint64_t& written,
              Produce produce, int& status) {
    std::string block;
    block.reserve(kBlockNumbers * 16);
    for (;;) {
        if (context.interrupted()) {
            status = context.interruptedStatus();
            return false;
        }
        const std::size_t count = produce(block);
        if (count == 0) {
            return true;
        }
        written += count;
        progress.update(written);
        if (!context.write(output, block, status)) {
            return false;
        }
    }
}

int countNumbers(Context& context, const GenerateOptions& options, generate::RunPlan plan,
                 const SegmentSource& source) {
    generate::RunCounter counter(plan, [&context] { return context.interrupted(); });
    LineFeed feed(context, source);
    int status = kOk;
    if (!feed.each([&](std::string line, bool) { return counter.add(line); }, status)) {
        return status;
    }
    if (counter.total().fault != generate::RunFault::None) {
        return faultStatus(context, counter.total().fault);
    }
    return context.printLines({std::to_string(
        generate::numbersGiven(counter.total().numbers, options.limit, options.sample))});
}

int printSample(Context& context, const GenerateOptions& options, generate::RunPlan plan,
                const SegmentSource& source) {
    // The lines in order, a line repeated one after the other held once.
    LineFeed feed(context, source);
    int status = kOk;
    const bool read = feed.each(
        [&](std::string line, bool) {
            if (!plan.segments.empty() && plan.segments.back() == line) {
                ++plan.repeats.back();
            } else {
                plan.segments.push_back(std::move(line));
                plan.repeats.push_back(1);
            }
            return true;
        },
        status);
    if (!read) {
        return status;
    }
    const std::uint64_t seed = options.seed.value_or(std::random_device{}());
    if (context.common.progress) {
        context.err << "haoma-cli: seed " << seed << "\n";
    }
    generate::SampleStream sample(plan, *options.sample, seed, options.shuffle, context.lineEnd(),
                                  [&context] { return context.interrupted(); });
    if (sample.fault() != generate::RunFault::None) {
        return faultStatus(context, sample.fault());
    }
    if (options.count) {
        return context.printLines({std::to_string(sample.size())});
    }
    if (std::min(*options.sample, options.limit.value_or(UINT64_MAX)) > sample.runTotal()) {
        context.err << "haoma-cli: the run has only " << sample.runTotal() << " numbers; all "
                    << sample.runTotal() << " are printed\n";
    }
    // A shuffle holds every rank: refused up front when they cannot fit in this machine.
    const double memory = platform::physicalMemoryBytes();
    const double needed = static_cast<double>(sample.size()) * kShuffledBytesPerNumber;
    if (options.shuffle && memory > 0 && needed > memory) {
        return context.fail("not enough memory to shuffle a sample of " +
                            std::to_string(sample.size()) + " numbers (about " +
                            std::to_string(static_cast<long long>(needed / 1e9)) + " GB)");
    }
    const auto output = context.openOutput(status);
    if (!output) {
        return status;
    }
    Progress progress(context.common.progress || (context.env.errorIsTerminal && output->toFile())
                          ? &context.err
                          : nullptr,
                      sample.size());
    std::uint64_t written = 0;
    if (!writeAll(
            context, *output, progress, written,
            [&](std::string& block) { return sample.next(kBlockNumbers, block); }, status)) {
        return status;
    }
    if (sample.fault() != generate::RunFault::None) {
        return faultStatus(context, sample.fault());
    }
    progress.finish(written);
    return context.finish(*output);
}

int printRun(Context& context, const GenerateOptions& options, generate::RunPlan plan,
             const SegmentSource& source) {
    const auto stop = [&context] { return context.interrupted(); };
    // Every number of standard input's lines is a stream: each batch of lines runs as soon
    // as it is read. Any other run has its lines first.
    const bool streamed = plan.everyNumber() && source.standardInputOnly();
    LineFeed feed(context, source);
    int status = kOk;
    if (!streamed && !feed.each(
                         [&](std::string line, bool) {
                             plan.segments.push_back(std::move(line));
                             return true;
                         },
                         status)) {
        return status;
    }
    if (streamed) {
        context.readsInput("standard input");
    }
    const auto output = context.openOutput(status);
    if (!output) {
        return status;
    }
    const bool showProgress =
        context.common.progress || (context.env.errorIsTerminal && output->toFile());
    std::optional<std::uint64_t> total;
    if (showProgress && !streamed) {
        const auto counted = generate::countRun(plan, stop);
        if (counted.fault != generate::RunFault::None) {
            return faultStatus(context, counted.fault);
        }
        total = generate::numbersGiven(counted.numbers, options.limit, std::nullopt);
    }
    Progress progress(showProgress ? &context.err : nullptr, total);
    generate::RunStream run(plan, context.lineEnd(), stop);
    std::uint64_t written = 0;
    const auto drain = [&] {
        return writeAll(
            context, *output, progress, written,
            [&](std::string& block) { return run.next(kBlockNumbers, block); }, status);
    };
    if (streamed) {
        std::vector<std::string> batch;
        const bool read = feed.each(
            [&](std::string line, bool more) {
                batch.push_back(std::move(line));
                if (more && batch.size() < kBatchLines) {
                    return true;
                }
                run.append(std::move(batch));
                batch.clear();
                return drain() && !(options.limit && written >= *options.limit);
            },
            status);
        if (!read || status != kOk) {
            return status;
        }
    } else if (!drain()) {
        return status;
    }
    if (run.fault() != generate::RunFault::None) {
        return faultStatus(context, run.fault());
    }
    progress.finish(written);
    return context.finish(*output);
}

}  // namespace

int generateNumbers(Context& context, const GenerateOptions& options,
                    const std::vector<std::string>& extraOperands, const RunKind& kind) {
    if (options.contains.size() > kMaxContains) {
        return context.usage("--contains: at most " + std::to_string(kMaxContains) + " times");
    }
    SegmentSource source = options.source;
    source.operands.insert(source.operands.end(), extraOperands.begin(), extraOperands.end());
    if (!source.operands.empty() && (source.city || source.segmentsFile)) {
        // Never one of two silently: the user meant one of them.
        std::string operands;
        for (const auto& operand : source.operands) {
            operands += (operands.empty() ? "" : " ") + operand;
        }
        return context.usage(
            "segments given twice: as operands (" + operands + ") and with " +
            (source.city ? "--city " + *source.city : "--segments " + *source.segmentsFile) +
            "; give one");
    }
    generate::RunPlan plan = planOf(options, kind);
    if (options.sample) {
        return printSample(context, options, std::move(plan), source);
    }
    if (options.count) {
        return countNumbers(context, options, std::move(plan), source);
    }
    return printRun(context, options, std::move(plan), source);
}

}  // namespace haoma::cli
