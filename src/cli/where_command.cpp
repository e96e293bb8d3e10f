// SPDX-License-Identifier: MIT
// haoma-cli where: the segment, province, city, carrier and area code of numbers, from the
// operands or one per line on standard input, with the store loaded once.
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
#include "text/text.h"

namespace haoma::cli {
namespace {

constexpr std::size_t kBlockBytes = 1 << 16;

class WhereCommand : public Command {
  public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "where", "segment, province, city, carrier and area code of numbers");
        command
            ->add_option("NUMBER", numbers_,
                         "7 to 11 digits, +86 138 0013 8000 and the like (else one per line on "
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
        Output output(context.out, context.common.output.value_or(""));
        if (!output.ready()) {
            return context.fail(output.error());
        }
        const lookup::WhereLines lines(index, context.lineEnd());
        Lookups lookups{context, lines, output};
        numbers_.insert(numbers_.end(), extraOperands.begin(), extraOperands.end());
        bool going = true;
        if (!numbers_.empty() && numbers_ != std::vector<std::string>{"-"}) {
            for (const auto& number : numbers_) {
                if (!(going = lookups.line(number))) {
                    break;
                }
            }
        } else {
            going = lookups.stream(context.in);
        }
        if (!going) {
            return lookups.status;
        }
        if (!lookups.flush()) {
            return lookups.status;
        }
        const int finished = context.finish(output);
        if (finished != kOk) {
            return finished;
        }
        if (lookups.notFound > 0) {
            return context.fail(std::to_string(lookups.notFound) + " of " +
                                std::to_string(lookups.count) + " numbers not found" +
                                (lookups.malformed > 0 ? " (" + std::to_string(lookups.malformed) +
                                                             " of them malformed)"
                                                       : ""));
        }
        return kOk;
    }

  private:
    struct Lookups {
        const Context& context;
        const lookup::WhereLines& lines;
        Output& output;
        std::string block{};
        std::string shown{};  // the number as the last line shows it
        std::uint64_t count = 0;
        std::uint64_t notFound = 0;
        std::uint64_t malformed = 0;  // of notFound: lines that are no number at all
        std::array<bool, 4> noted{};  // by verdict; 0 (Found) stands for an empty line
        int status = kOk;

        // Looks up one line and writes its answer, six fields as every line has them (empty
        // after the number when it is not found); false when the run must stop.
        bool line(std::string_view given) {
            if (given.ends_with('\r')) {
                given.remove_suffix(1);
            }
            ++count;
            const auto verdict = lines.append(given, block, shown);
            if (verdict != lookup::NumberVerdict::Found) {
                ++notFound;
                malformed += verdict == lookup::NumberVerdict::Malformed;
                note(verdict, shown);
            }
            return block.size() < kBlockBytes || flush();
        }

        // Why a line was not found, said once for each kind of line, naming the first.
        void note(lookup::NumberVerdict verdict, std::string_view number) {
            const bool empty = number.empty();
            const auto kind = empty ? 0U : static_cast<std::size_t>(verdict);
            if (noted[kind]) {
                return;
            }
            noted[kind] = true;
            context.err << "haoma-cli: line " << count << " ('" << number << "'): "
                        << (empty ? "an empty line"
                            : verdict == lookup::NumberVerdict::Unknown
                                ? "its segment is not in the segment store"
                            : verdict == lookup::NumberVerdict::NotMobile
                                ? "not a mobile number (13x to 19x)"
                                : "not a number of 7 to 11 digits")
                        << "\n";
        }

        bool flush() { return context.write(output, block, status); }

        // Every line of a stream, as it comes.
        bool stream(std::istream& in) {
            LineReader reader(in, false, [this] { return context.interrupted(); });
            std::string number;
            while (reader.next(number)) {
                if (context.interrupted()) {
                    status = context.interruptedStatus();
                    return false;
                }
                if (!line(number)) {
                    return false;
                }
            }
            return context.finishReading(reader, "standard input", status);
        }
    };

    std::vector<std::string> numbers_;
};

}  // namespace

std::unique_ptr<Command> makeWhereCommand() {
    return std::make_unique<WhereCommand>();
}

}  // namespace haoma::cli
