// SPDX-License-Identifier: MIT
// Builds the segment store mobile.db from the offline geocoder of libphonenumber, or from a
// phone.dat / CSV file that a user brings.
//   build_segment_store OUTPUT --source-version VERSION
//   build_segment_store OUTPUT --import FILE
#include <phonenumbers/geocoding/phonenumber_offline_geocoder.h>
#include <phonenumbers/phonenumber.pb.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "lookup/import_formats.h"
#include "lookup/numbering_plan.h"
#include "lookup/region_names.h"
#include "lookup/store_writer.h"

namespace {

using haoma::lookup::SegmentRow;

// The build date, from SOURCE_DATE_EPOCH when set so that builds can be reproduced.
std::string buildDate() {
    std::time_t now = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        now = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
    }
    char buffer[16];
    std::tm utc{};
    gmtime_r(&now, &utc);
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &utc);
    return buffer;
}

std::vector<SegmentRow> geocoderRows() {
    const i18n::phonenumbers::PhoneNumberOfflineGeocoder geocoder;
    const icu::Locale chinese("zh");
    std::vector<SegmentRow> rows;
    for (long prefix = 1300000; prefix <= 1999999; ++prefix) {
        const std::string segment = std::to_string(prefix);
        const auto carrier = haoma::lookup::carrierOfSegment(segment);
        if (!carrier) {
            continue;
        }
        i18n::phonenumbers::PhoneNumber number;
        number.set_country_code(86);
        number.set_national_number(static_cast<std::uint64_t>(prefix) * 10000);
        const auto region =
            haoma::lookup::splitDescription(geocoder.GetDescriptionForValidNumber(number, chinese));
        if (region) {
            rows.push_back({segment, region->province, region->city, std::string(*carrier)});
        }
    }
    return rows;
}

int usage() {
    std::cerr << "usage: build_segment_store OUTPUT --source-version VERSION\n"
                 "       build_segment_store OUTPUT --import FILE\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        return usage();
    }
    const std::string output = argv[1];
    const std::string option = argv[2];
    const std::string value = argv[3];
    std::vector<SegmentRow> rows;
    haoma::lookup::MetaEntries meta;
    if (option == "--source-version") {
        rows = geocoderRows();
        meta = {{"source", "libphonenumber offline geocoder (zh), numbering plan by prefix"},
                {"source_version", value}};
    } else if (option == "--import") {
        std::ifstream file(value, std::ios::binary);
        if (!file) {
            std::cerr << "build_segment_store: cannot read " << value << "\n";
            return 1;
        }
        std::ostringstream bytes;
        bytes << file.rdbuf();
        auto result = haoma::lookup::readSegmentFile(bytes.str());
        for (const auto& [reason, count] : result.rejected) {
            std::cerr << "rejected " << count << ": " << reason << "\n";
        }
        if (!result.error.empty()) {
            std::cerr << "build_segment_store: " << value << ": " << result.error << "\n";
            return 1;
        }
        rows = std::move(result.rows);
        meta = {{"source", "imported " + result.format + " file"}, {"source_version", value}};
    } else {
        return usage();
    }
    meta.emplace_back("build_date", buildDate());
    meta.emplace_back("rows", std::to_string(rows.size()));
    const std::string error = haoma::lookup::writeStore(output, rows, meta);
    if (!error.empty()) {
        std::cerr << "build_segment_store: " << error << "\n";
        return 1;
    }
    std::cout << "wrote " << rows.size() << " segments to " << output << "\n";
    return 0;
}
