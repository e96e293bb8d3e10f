// SPDX-License-Identifier: MIT
// The phone.dat and CSV importers on arbitrary files: a file is rejected, or every row has
// a seven-digit segment, a city and a carrier, in ascending order without repeats.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "lookup/import_formats.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& result :
         {haoma::lookup::readSegmentFile(bytes), haoma::lookup::readPhoneDat(bytes),
          haoma::lookup::readSegmentCsv(bytes)}) {
        if (!result.error.empty()) {
            continue;
        }
        if (result.rows.empty()) {
            std::abort();
        }
        for (std::size_t i = 0; i < result.rows.size(); ++i) {
            const auto& row = result.rows[i];
            if (row.mobile.size() != 7 || row.mobile[0] != '1' || row.city.empty() ||
                row.corp.empty() || !haoma::text::isValidUtf8(row.city) ||
                (i > 0 && !(result.rows[i - 1].mobile < row.mobile))) {
                std::abort();
            }
            for (const char c : row.mobile) {
                if (c < '0' || c > '9') {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
