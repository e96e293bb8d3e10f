// SPDX-License-Identifier: MIT
#include "cli/segment_source.h"

#include <CLI/CLI.hpp>

#include "cli/context.h"

namespace haoma::cli {

void SegmentSource::declare(CLI::App& command) {
    command.add_option("SEGMENT", operands, "segment lines (else --segments, --city or stdin)");
    auto* file = command.add_option("--segments", segmentsFile, "read the segment lines from FILE")
                     ->type_name("FILE");
    auto* cityOption =
        command.add_option("--city", city, "the segments of CITY from the segment store")
            ->type_name("CITY");
    file->excludes(cityOption);
    command.add_option("--carrier", carrier, "with --city: any, 电信, 联通 or 移动")
        ->type_name("C")
        ->needs(cityOption);
}

bool SegmentSource::read(const Context& context, std::vector<std::string>& lines,
                         int& status) const {
    if (!operands.empty()) {
        lines = operands;
    } else if (segmentsFile) {
        std::string bytes;
        if (!readFile(*segmentsFile, bytes)) {
            status = context.fail("cannot read " + *segmentsFile);
            return false;
        }
        lines = context.textLines(bytes);
    } else if (city) {
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
        lines = lookup::querySegments(store.get(), *city, *chosen);
    } else {
        std::string input;
        readAll(context.in, input);
        lines = context.textLines(input);
    }
    return true;
}

}  // namespace haoma::cli
