// SPDX-License-Identifier: MIT
// Builds the segment store mobile.db from a segment data file (CSV or phone.dat):
//   build_segment_store OUTPUT DATA_FILE [--dataset NAME] [--edition EDITION]
// The build date comes from SOURCE_DATE_EPOCH when set, so that builds can be reproduced.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "lookup/import_formats.h"
#include "lookup/store_writer.h"

namespace {

std::string buildDate() {
    std::time_t now = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        now = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
    }
    using namespace std::chrono;
    const year_month_day day{floor<days>(system_clock::from_time_t(now))};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return buffer;
}

int usage() {
    std::cerr
        << "usage: build_segment_store OUTPUT DATA_FILE [--dataset NAME] [--edition EDITION]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        return usage();
    }
    haoma::lookup::MetaEntries described;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option != "--dataset" && option != "--edition") {
            return usage();
        }
        described.emplace_back(option.substr(2), argv[i + 1]);
    }
    const std::string output = argv[1];
    const std::string source = argv[2];
    std::ifstream file(source, std::ios::binary);
    if (!file) {
        std::cerr << "build_segment_store: cannot read " << source << "\n";
        return 1;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    auto result = haoma::lookup::readSegmentFile(bytes.str());
    for (const auto& [reason, count] : result.rejected) {
        std::cerr << "rejected " << count << ": " << reason << "\n";
    }
    if (!result.error.empty()) {
        std::cerr << "build_segment_store: " << source << ": " << result.error << "\n";
        return 1;
    }
    haoma::lookup::MetaEntries meta = {
        {"source", std::filesystem::path(source).filename().string()},
        {"build_date", buildDate()},
        {"rows", std::to_string(result.rows.size())},
    };
    meta.insert(meta.end(), described.begin(), described.end());
    const std::string error = haoma::lookup::writeStore(output, result.rows, meta);
    if (!error.empty()) {
        std::cerr << "build_segment_store: " << error << "\n";
        return 1;
    }
    std::cout << "wrote " << result.rows.size() << " segments to " << output << "\n";
    return 0;
}
