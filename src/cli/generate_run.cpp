// SPDX-License-Identifier: MIT
#include "cli/generate_run.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>

#include "cli/context.h"
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

int generateNumbers(Context& context, const GenerateOptions& options,
                    const std::vector<std::string>& extraOperands,
                    const std::optional<WantedKinds>& wanted) {
    SegmentSource source = options.source;
    source.operands.insert(source.operands.end(), extraOperands.begin(), extraOperands.end());
    std::vector<std::string> lines;
    int status = kOk;
    if (!source.read(context, lines, status)) {
        return status;
    }
    Output output(context.out, context.common.output.value_or(""));
    if (!output.ready()) {
        return context.fail(output.error());
    }
    const auto limit = static_cast<std::int64_t>(std::min<std::uint64_t>(
        options.limit.value_or(UINT64_MAX), static_cast<std::uint64_t>(INT64_MAX)));
    const std::uint64_t total =
        std::min(countNumbers(lines, wanted), static_cast<std::uint64_t>(limit));
    const bool showProgress =
        context.common.progress || (context.env.errorIsTerminal && output.toFile());
    Progress progress(showProgress ? &context.err : nullptr, total);
    std::string block;
    block.reserve(kBlockNumbers * 16);
    std::uint64_t count = 0;
    const auto deliver = [&](std::size_t produced) {
        count += produced;
        progress.update(count);
        return context.write(output, block, status);
    };
    const std::string lineEnd = context.lineEnd();
    if (wanted) {
        generate::PrettyRun run(std::move(lines), lineEnd);
        while (const auto kind = run.kindAtTurn()) {
            if (!(*wanted)[static_cast<std::size_t>(*kind)]) {
                run.skipKind();
                continue;
            }
            run.beginKind();
            while (run.kindActive()) {
                if (context.interrupted()) {
                    return kInterrupted;
                }
                if (!deliver(run.next(limit, kBlockNumbers, block))) {
                    return status;
                }
            }
        }
    } else {
        generate::AllNumbersRun run(std::move(lines), lineEnd);
        while (!run.finished()) {
            if (context.interrupted()) {
                return kInterrupted;
            }
            if (!deliver(run.next(limit, kBlockNumbers, block))) {
                return status;
            }
        }
    }
    progress.finish(count);
    return context.finish(output);
}

}  // namespace haoma::cli
