// SPDX-License-Identifier: MIT
#include "cli/segment_source.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "cli/context.h"
#include "lookup/segment_store.h"
#include "platform/paths.h"

namespace haoma::cli {

void SegmentSource::declare(CLI::App& command) {
    command.add_option("SEGMENT", operands,
                       "segment lines, - for stdin (else --segments, --city or stdin)");
    auto* file = command
                     .add_option("--segments", segmentsFile,
                                 "read the segment lines from FILE (- for stdin)")
                     ->type_name("FILE");
    auto* cityOption =
        command.add_option("--city", city, "the segments of CITY from the segment store")
            ->type_name("CITY");
    file->excludes(cityOption);
    command
        .add_option("--carrier", carrier,
                    "with --city: any, 电信, 联通, 移动 or 广电 (or a name where prints)")
        ->type_name("C")
        ->needs(cityOption);
    command
        .add_flag("--all", everyCity,
                  "with --city: let an empty or wildcard CITY ('', %, _) stand for every city")
        ->disable_flag_override()
        ->needs(cityOption);
}

bool SegmentSource::standardInputOnly() const {
    return (operands.empty() && !segmentsFile && !city) ||
           (operands.size() == 1 && operands.front() == "-") ||
           (operands.empty() && segmentsFile == "-");
}

bool SegmentSource::read(const Context& context, std::vector<std::string>& lines,
                         int& status) const {
    if (standardInputOnly()) {
        return context.readLines(context.in, "standard input", lines, status);
    }
    if (!operands.empty()) {
        for (const auto& operand : operands) {
            if (operand != "-") {
                lines.push_back(operand);
            } else if (!context.readLines(context.in, "standard input", lines, status)) {
                return false;
            }
        }
        return true;
    }
    if (segmentsFile) {
        context.readsInput("the segments file", *segmentsFile);
        std::ifstream file(platform::toPath(*segmentsFile), std::ios::binary);
        if (!file) {
            status = context.fail("cannot read " + *segmentsFile + ": " + std::strerror(errno));
            return false;
        }
        return context.readLines(file, *segmentsFile, lines, status);
    }
    // A city text of nothing but blanks and wildcards is every city: only on request, as for
    // query, never a run over the whole country by a slip.
    if (!everyCity && lookup::matchesEverything(*city)) {
        status = context.usage("--city '" + *city +
                               "' stands for every city; add --all to use every segment");
        return false;
    }
    const auto chosen = context.carrier(carrier, status);
    if (!chosen) {
        return false;
    }
    std::string error;
    const auto store = context.openStore(error);
    if (!store) {
        status = context.fail(error);
        return false;
    }
    auto rows = context.citySegments(*store, *city, *chosen, true, status);
    if (!rows) {
        return false;
    }
    lines = std::move(*rows);
    return true;
}

}  // namespace haoma::cli
