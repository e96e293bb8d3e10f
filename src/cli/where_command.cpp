// SPDX-License-Identifier: MIT
// haoma-cli where: the segment, province, city, carrier and area code of numbers, from the
// operands or from standard input, with the store loaded once. Every input line gives its
// rows (one per number in it, one empty row when there is none), so that the answer lies
// beside the input line for line.
// GCC 12 sees a possible null string in CLI11's split, inlined here; it cannot be null.
#pragma GCC diagnostic ignored "-Wnull-dereference"
#include <CLI/CLI.hpp>
#include <array>
#include <istream>

#include "cli/command.h"
#include "cli/context.h"
#include "cli/line_reader.h"
#include "lookup/segment_index.h"
#include "lookup/where_lines.h"

namespace haoma::cli {
namespace {

constexpr std::size_t kBlockBytes = 1 << 16;

using lookup::NumberVerdict;

// Why a row has no answer, said once for each kind, naming the first line of that kind.
struct VerdictNote {
    NumberVerdict verdict;
    const char* says;
    bool notANumber;  // counted among the malformed in the summary
};

constexpr VerdictNote kNotes[] = {
    {NumberVerdict::Malformed, "not a number of 7 to 11 digits", true},
    {NumberVerdict::NotMobile, "not a mobile number (13x to 19x)", false},
    {NumberVerdict::Unknown, "its segment is not in the segment store", false},
    {NumberVerdict::Empty, "an empty line", true},
    {NumberVerdict::CodeOnly, "a country code without a number", true},
    {NumberVerdict::Foreign, "a number outside the mainland (another country code than +86)",
     false},
    {NumberVerdict::TooLong, "a line longer than 1 MiB, which holds no number", true},
};

class WhereCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "where", "segment, province, city, carrier and area code of numbers");
        command
            ->add_option("NUMBER", numbers_,
                         "7 to 11 digits, +86 138 0013 8000 and the like (else the lines of "
                         "stdin)")
            ->type_name("NUMBER");
        return command;
    }

    int execute(Context& context, const std::vector<std::string>& extraOperands) override {
        std::string error;
        const auto store = context.openStore(error);
        if (!store) {
            return context.fail(error);
        }
        const lookup::SegmentIndex index(*store);
        if (!index.error().empty()) {
            return context.fail(index.error());
        }
        numbers_.insert(numbers_.end(), extraOperands.begin(), extraOperands.end());
        const bool fromInput = numbers_.empty() || numbers_ == std::vector<std::string>{"-"};
        if (fromInput) {
            context.readsInput("standard input");
        }
        int status = kOk;
        const auto opened = context.openOutput(status);
        if (!opened) {
            return status;
        }
        const lookup::WhereLines lines(index, context.lineEnd());
        Lookups lookups{context, lines, *opened};
        bool going = true;
        if (!fromInput) {
            for (const auto& number : numbers_) {
                if (!(going = lookups.line(number, false))) {
                    break;
                }
            }
        } else {
            going = lookups.stream(context.in);
        }
        if (!going || !lookups.flush()) {
            return lookups.status;
        }
        const int finished = context.finish(*opened);
        if (finished != kOk) {
            return finished;
        }
        return lookups.summary();
    }

  private:
    struct Lookups {
        const Context& context;
        const lookup::WhereLines& lines;
        Output& output;
        std::string block{};
        std::vector<lookup::WhereRow> rows{};
        std::size_t line_ = 0;
        std::uint64_t count = 0;
        std::uint64_t notFound = 0;
        std::uint64_t notNumbers = 0;
        std::array<bool, std::size(kNotes)> noted{};
        bool replacedNoted = false;
        int status = kOk;

        // Looks up one input line and writes its rows; false when the run must stop.
        bool line(std::string_view given, bool truncated) {
            ++line_;
            rows.clear();
            if (truncated) {
                lines.appendTooLong(given, block, rows);
            } else {
                lines.appendLine(given, block, rows);
            }
            for (const auto& row : rows) {
                ++count;
                note(row);
            }
            return block.size() < kBlockBytes || flush();
        }

        void note(const lookup::WhereRow& row) {
            if (row.replaced && !replacedNoted) {
                replacedNoted = true;
                context.err << "haoma-cli: line " << line_
                            << ": control characters and bytes that are not UTF-8 are shown as "
                               "U+FFFD (\xEF\xBF\xBD)\n";
            }
            if (row.verdict == NumberVerdict::Found) {
                return;
            }
            ++notFound;
            for (std::size_t kind = 0; kind < std::size(kNotes); ++kind) {
                if (kNotes[kind].verdict != row.verdict) {
                    continue;
                }
                notNumbers += kNotes[kind].notANumber ? 1 : 0;
                if (!noted[kind]) {
                    noted[kind] = true;
                    context.err << "haoma-cli: line " << line_ << " ('" << row.number
                                << "'): " << kNotes[kind].says << "\n";
                }
            }
        }

        bool flush() { return context.write(output, block, status); }

        // Every line of a stream, as it comes: CR LF, LF and a lone CR end a line.
        bool stream(std::istream& in) {
            LineReader reader(in, LineRules{false, true, true},
                              [this] { return context.interrupted(); });
            std::string text;
            while (reader.next(text)) {
                if (context.interrupted()) {
                    break;
                }
                if (!line(text, reader.truncated())) {
                    return false;
                }
            }
            if (context.interrupted()) {
                status = context.interruptedStatus();
                return false;
            }
            return context.finishReading(reader, "standard input", status);
        }

        // The exit status: a failure when not every row was found.
        int summary() const {
            if (notFound == 0) {
                return kOk;
            }
            return context.fail(
                std::to_string(notFound) + " of " + std::to_string(count) + " numbers not found" +
                (notNumbers > 0 ? " (" + std::to_string(notNumbers) + " of them malformed)" : ""));
        }
    };

    std::vector<std::string> numbers_;
};

}  // namespace

std::unique_ptr<Command> makeWhereCommand() {
    return std::make_unique<WhereCommand>();
}

}  // namespace haoma::cli
