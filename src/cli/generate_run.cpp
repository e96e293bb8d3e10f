// SPDX-License-Identifier: MIT
#include "cli/generate_run.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <random>

#include "cli/context.h"
#include "cli/line_notes.h"
#include "cli/line_reader.h"
#include "cli/progress.h"
#include "generate/match_run.h"
#include "generate/number_walk.h"
#include "generate/runs.h"
#include "generate/sample_ranks.h"
#include "platform/paths.h"
#include "text/text.h"

namespace haoma::cli {
namespace {

// Numbers per block handed to the output: big enough that a partial group of lines at the
// end of a block is rare, small enough to answer an interrupt at once.
constexpr std::size_t kBlockNumbers = 1 << 18;
constexpr std::size_t kMaxContains = 64;
// What one number of a sample holds in memory at the most: its rank twice over while the
// ranks are drawn, then its text.
constexpr double kSampleBytesPerNumber = 64;  // each is one bit of the counting automaton

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

namespace {

// Where generated blocks go: the output, or (for a sample the core cannot draw directly) a
// reservoir of lines. False, with `status` set, stops the run.
using Sink = std::function<bool(std::string& block, int& status)>;

// Runs over the lines, handing blocks to the sink; the status says how a stopped run ends.
class Generation {
  public:
    Generation(Context& context, Sink sink, Progress& progress, std::optional<std::uint64_t> limit)
        : context_(context),
          sink_(std::move(sink)),
          progress_(progress),
          limit_(std::min<std::uint64_t>(limit.value_or(UINT64_MAX),
                                         static_cast<std::uint64_t>(INT64_MAX))) {
        block_.reserve(kBlockNumbers * 16);
    }

    bool limitReached() const { return count_ >= limit_; }
    std::uint64_t count() const { return count_; }
    int status() const { return status_; }

    // All the numbers of the segment lines, after those already written.
    bool allNumbers(std::vector<std::string> lines) {
        generate::AllNumbersRun run(std::move(lines), context_.lineEnd());
        const auto remaining = static_cast<std::int64_t>(limit_ - count_);
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
                if (!deliver([&] {
                        return run.next(static_cast<std::int64_t>(limit_), kBlockNumbers, block_);
                    })) {
                    return false;
                }
            }
        }
        return true;
    }

    // The pretty numbers whose digits after the segment pass the rule: kind by kind, each
    // segment's numbers filtered.
    bool filteredPretty(const std::vector<std::string>& lines, const WantedKinds& wanted,
                        const generate::TailRule& rule) {
        const std::string lineEnd = context_.lineEnd();
        searchTotal_ = countNumbers(lines, wanted);
        for (const auto& row : generate::patternTable()) {
            if (!wanted[static_cast<std::size_t>(row.kind)]) {
                continue;
            }
            for (const auto& line : lines) {
                if (limitReached()) {
                    return true;
                }
                const int length = text::gbkLength(line);
                generate::NumberWalk walk =
                    generate::NumberWalk::pattern({&line, 1}, row.kind, lineEnd);
                std::string numbers;
                while (!walk.finished() && !limitReached()) {
                    numbers.clear();
                    searched_ += walk.produce(kBlockNumbers, numbers);
                    const auto tail = static_cast<std::size_t>(std::max(0, 11 - length));
                    if (!deliver([&] { return keepAccepted(numbers, tail, rule, lineEnd); })) {
                        return false;
                    }
                }
            }
        }
        return true;
    }

    bool matches(std::vector<std::string> lines, std::vector<generate::DigitPattern> patterns,
                 generate::TailRule rule) {
        generate::MatchRun run(std::move(lines), std::move(patterns), std::move(rule),
                               context_.lineEnd(), [this] { return context_.interrupted(); });
        // The run counts from 0 and this generation runs it alone: the limit is the run's.
        while (!run.finished()) {
            if (!deliver([&] { return run.next(limit_, kBlockNumbers, block_); })) {
                return false;
            }
        }
        if (run.stopped()) {
            status_ = context_.interruptedStatus();
            return false;
        }
        return true;
    }

  private:
    // Moves into block_ the lines of `numbers` whose last `tail` digits pass the rule, up
    // to the limit; how many.
    std::size_t keepAccepted(const std::string& numbers, std::size_t tail,
                             const generate::TailRule& rule, const std::string& lineEnd) {
        std::size_t kept = 0;
        for (std::size_t at = 0; at < numbers.size() && count_ + kept < limit_;) {
            const auto end = numbers.find(lineEnd, at);
            const std::string_view number(numbers.data() + at, end - at);
            const auto digits = number.substr(number.size() - std::min(tail, number.size()));
            if (rule.accepts(rule.wholeNumber ? number : digits) &&
                std::all_of(digits.begin(), digits.end(),
                            [&](char c) { return (rule.allowed >> (c - '0') & 1U) != 0; })) {
                block_.append(number).append(lineEnd);
                ++kept;
            }
            at = end + lineEnd.size();
        }
        return kept;
    }

    template <class Produce>
    bool deliver(Produce produce) {
        if (context_.interrupted()) {
            status_ = context_.interruptedStatus();
            return false;
        }
        count_ += produce();
        progress_.update(count_, searchTotal_ > 0
                                     ? std::optional<double>(static_cast<double>(searched_) /
                                                             static_cast<double>(searchTotal_))
                                     : std::nullopt);
        if (!sink_(block_, status_)) {
            return false;
        }
        block_.clear();
        return true;
    }

    Context& context_;
    Sink sink_;
    Progress& progress_;
    std::uint64_t limit_;
    std::string block_;
    std::uint64_t count_ = 0;
    std::uint64_t searched_ = 0;     // candidates a filtering walk has seen
    std::uint64_t searchTotal_ = 0;  // and all it will see
    int status_ = kOk;
};

generate::TailRule tailRule(const GenerateOptions& options) {
    std::string without;
    for (const auto& digits : options.without) {
        without += digits;
    }
    return {generate::digitsWithout(without), options.contains, options.wholeNumber};
}

bool hasTailRule(const GenerateOptions& options) {
    return !options.without.empty() || !options.contains.empty();
}

// Runs the kind of run over the lines with the generation, whatever its sink.
bool runOver(Generation& generation, std::vector<std::string> lines, const RunKind& kind,
             const GenerateOptions& options) {
    if (kind.patterns) {
        return generation.matches(std::move(lines), *kind.patterns, tailRule(options));
    }
    if (kind.pretty) {
        return hasTailRule(options)
                   ? generation.filteredPretty(lines, *kind.pretty, tailRule(options))
                   : generation.prettyNumbers(std::move(lines), *kind.pretty);
    }
    return hasTailRule(options) ? generation.matches(std::move(lines), {}, tailRule(options))
                                : generation.allNumbers(std::move(lines));
}

// How many numbers the run gives, computed without generating them; nothing when
// interrupted.
std::optional<std::uint64_t> exactCount(const Context& context,
                                        const std::vector<std::string>& lines, const RunKind& kind,
                                        const GenerateOptions& options) {
    const auto stop = [&context] { return context.interrupted(); };
    if (kind.pretty) {
        return hasTailRule(options)
                   ? generate::countPrettyNumbers(lines, *kind.pretty, tailRule(options), stop)
                   : countNumbers(lines, kind.pretty);
    }
    if (kind.patterns || hasTailRule(options)) {
        return generate::countMatches(lines,
                                      kind.patterns.value_or(std::vector<generate::DigitPattern>{}),
                                      tailRule(options), stop);
    }
    return countNumbers(lines, std::nullopt);
}

// A uniform sample of `wanted` of the run's numbers, drawn by rank, in the order printed;
// nothing when interrupted.
std::optional<std::vector<std::string>> drawSample(const Context& context,
                                                   const std::vector<std::string>& lines,
                                                   const RunKind& kind,
                                                   const GenerateOptions& options,
                                                   std::uint64_t wanted, std::uint64_t seed) {
    const auto stop = [&context] { return context.interrupted(); };
    return generate::seededSample(seed, options.shuffle, [&](std::mt19937_64& random) {
        if (kind.pretty) {
            return generate::samplePrettyNumbers(lines, *kind.pretty, tailRule(options), wanted,
                                                 random, stop);
        }
        return generate::sampleMatches(
            lines, kind.patterns.value_or(std::vector<generate::DigitPattern>{}), tailRule(options),
            wanted, random, stop);
    });
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
    int status = kOk;
    const bool plainAll = !kind.pretty && !kind.patterns && !hasTailRule(options);
    // All numbers from standard input: a stream, each line's numbers as soon as it is read.
    const bool stream = plainAll && !options.count && !options.sample && source.standardInputOnly();
    std::vector<std::string> lines;
    if (!stream && !source.read(context, lines, status)) {
        return status;
    }
    LineNotes notes(context.err);
    for (std::size_t at = 0; at < lines.size(); ++at) {
        notes.see(lines[at], at + 1);
    }
    // A whole-number --without leaves out the lines that hold a digit it forbids.
    const auto rule = tailRule(options);
    std::erase_if(lines, [&](const std::string& line) { return !generate::keepsLine(rule, line); });
    const std::uint64_t seed = options.seed.value_or(std::random_device{}());
    if (options.sample && context.common.progress) {
        context.err << "haoma-cli: seed " << seed << "\n";
    }

    if (options.count && !options.sample) {
        const auto total = exactCount(context, lines, kind, options);
        if (!total) {
            return context.interruptedStatus();
        }
        return context.printLines(
            {std::to_string(generate::numbersGiven(*total, options.limit, std::nullopt))});
    }
    // A sample of at least the whole run is the run itself: streamed, not held in memory.
    bool wholeRun = false;
    // A limit below the sample's size makes the sample smaller: still uniform, and never
    // more numbers than the limit allows.
    const std::uint64_t wanted =
        std::min(options.sample.value_or(0), options.limit.value_or(UINT64_MAX));
    if (options.sample) {
        const auto total = exactCount(context, lines, kind, options);
        if (!total) {
            return context.interruptedStatus();
        }
        if (options.count) {
            return context.printLines(
                {std::to_string(generate::numbersGiven(*total, options.limit, options.sample))});
        }
        if (wanted > *total) {
            context.err << "haoma-cli: the run has only " << *total << " numbers; all " << *total
                        << " are printed\n";
        }
        wholeRun = !options.shuffle && wanted >= *total;
    }
    if (options.sample && !wholeRun) {
        // Refused before any allocation when it cannot fit in this machine's memory.
        const double memory = platform::physicalMemoryBytes();
        const double needed = static_cast<double>(wanted) * kSampleBytesPerNumber;
        if (memory > 0 && needed > memory) {
            return context.fail("not enough memory for a sample of " + std::to_string(wanted) +
                                " numbers (about " +
                                std::to_string(static_cast<long long>(needed / 1e9)) + " GB)");
        }
        const auto numbers = drawSample(context, lines, kind, options, wanted, seed);
        if (!numbers) {
            return context.interruptedStatus();
        }
        return context.printLines(*numbers);
    }

    if (stream) {
        context.readsInput("standard input");
    }
    const auto opened = context.openOutput(status);
    if (!opened) {
        return status;
    }
    Output& output = *opened;
    const std::optional<std::uint64_t> runLimit = wholeRun ? std::nullopt : options.limit;
    std::optional<std::uint64_t> total;
    if (!stream) {
        total = exactCount(context, lines, kind, options);
        if (!total) {
            return context.interruptedStatus();
        }
        total = std::min(*total, runLimit.value_or(UINT64_MAX));
    }
    Progress progress(context.common.progress || (context.env.errorIsTerminal && output.toFile())
                          ? &context.err
                          : nullptr,
                      total);
    Generation generation(
        context,
        [&](std::string& block, int& stopped) { return context.write(output, block, stopped); },
        progress, runLimit);
    if (stream) {
        LineReader reader(context.in, LineRules{}, [&context] { return context.interrupted(); });
        std::string line;
        std::size_t number = 0;
        while (!generation.limitReached() && reader.next(line)) {
            notes.see(line, ++number);
            if (!generation.allNumbers({line})) {
                return generation.status();
            }
        }
        if (!context.finishReading(reader, "standard input", status)) {
            return status;
        }
    } else if (!runOver(generation, std::move(lines), kind, options)) {
        return generation.status();
    }
    progress.finish(generation.count());
    return context.finish(output);
}

}  // namespace haoma::cli
