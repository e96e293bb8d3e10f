// SPDX-License-Identifier: MIT
// The built store beside libphonenumber's geocoder, an independent source of where each
// prefix lies.
#include <phonenumbers/geocoding/phonenumber_offline_geocoder.h>
#include <phonenumbers/phonenumber.pb.h>

#include <iostream>

#include "built_store.h"
#include "lookup/region_names.h"

namespace haoma::lookup {
namespace {

// The geocoder writes full names (山东省济南市, 巴音郭楞蒙古自治州); the store keeps the
// short ones. A full name is matched to the store name it begins with.
std::string shortName(const std::string& full, const std::set<std::string>& names) {
    static const std::map<std::string, std::string> irregular = {{"巴音郭楞蒙古自治州", "巴州"},
                                                                 {"博尔塔拉蒙古自治州", "博州"},
                                                                 {"克孜勒苏柯尔克孜自治州", "克州"},
                                                                 {"莱芜市", "济南"}};
    if (const auto found = irregular.find(full); found != irregular.end()) {
        return found->second;
    }
    std::string best;
    for (const auto& name : names) {
        if (full.starts_with(name) && name.size() > best.size()) {
            best = name;
        }
    }
    return best.empty() ? full : best;
}

TEST_F(BuiltStore, AgreesWithTheGeocoderOnTheCitiesOfSharedPrefixes) {
    const i18n::phonenumbers::PhoneNumberOfflineGeocoder geocoder;
    const auto cities = storeCities();
    std::set<std::string> provinces;
    for (const auto& [mobile, row] : *storeRows) {
        provinces.insert(row.province);
    }
    int both = 0, sameCity = 0, sameProvince = 0, onlyGeocoder = 0;
    for (long prefix = 1300000; prefix <= 1999999; ++prefix) {
        i18n::phonenumbers::PhoneNumber number;
        number.set_country_code(86);
        number.set_national_number(static_cast<std::uint64_t>(prefix) * 10000);
        const auto region =
            splitDescription(geocoder.GetDescriptionForValidNumber(number, icu::Locale("zh")));
        if (!region) {
            continue;
        }
        const auto row = storeRows->find(std::to_string(prefix));
        if (row == storeRows->end()) {
            ++onlyGeocoder;
            continue;
        }
        ++both;
        sameCity += shortName(region->city, cities) == row->second.city;
        sameProvince += shortName(region->province, provinces) == row->second.province;
    }
    const double cityShare = 100.0 * sameCity / both;
    const double provinceShare = 100.0 * sameProvince / both;
    std::cout << "geocoder cross-check: " << both << " prefixes placed by both, city agrees on "
              << cityShare << " %, province on " << provinceShare << " %; " << onlyGeocoder
              << " placed only by the geocoder\n";
    EXPECT_GT(both, 300000);
    EXPECT_GE(cityShare, 97.0);
    EXPECT_GE(provinceShare, 99.0);
    EXPECT_LT(onlyGeocoder, 1000);
}

}  // namespace
}  // namespace haoma::lookup
