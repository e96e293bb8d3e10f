// SPDX-License-Identifier: MIT
// Reading segment data files: CSV by header names in any order, the shapes other programs
// export, and the store's one form of carrier and place names.
#include <gtest/gtest.h>

#include "lookup/carrier_names.h"
#include "lookup/import_formats.h"
#include "lookup/place_names.h"

namespace haoma::lookup {
namespace {

struct Expected {
    std::string mobile, province, city, corp, areaCode, zip;
};

void expectRows(const ImportResult& result, const std::vector<Expected>& expected,
                const std::string& label) {
    EXPECT_EQ(result.error, "") << label;
    ASSERT_EQ(result.rows.size(), expected.size()) << label;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& row = result.rows[i];
        const auto& want = expected[i];
        EXPECT_EQ(row.mobile, want.mobile) << label;
        EXPECT_EQ(row.province, want.province) << label;
        EXPECT_EQ(row.city, want.city) << label;
        EXPECT_EQ(row.corp, want.corp) << label;
        EXPECT_EQ(row.areaCode, want.areaCode) << label;
        EXPECT_EQ(row.zip, want.zip) << label;
    }
}

TEST(Import, CsvColumnsAreFoundByTheirHeaderNames) {
    const std::vector<Expected> full = {
        {"1300000", "山东", "济南", "中国联通", "0531", "250000"},
        {"1700001", "广东", "广州", "中国移动(虚拟运营商)", "020", "510000"},
    };
    struct Case {
        const char* label;
        const char* text;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"the shipped data",
         "prefix,province,city,zip,areacode,isp\n"
         "1700001,广东,广州,510000,020,移动虚拟\n"
         "1300000,山东,济南,250000,0531,联通\n",
         full},
        {"store names, any order, any case",
         "ZIP,corp,AreaCode,City,MOBILE,Province\r\n"
         "250000,中国联通,0531,济南,1300000,山东\r\n"
         "510000,中国移动(虚拟运营商),020,广州,1700001,广东\r\n",
         full},
        {"mdb-export of an Access table",
         "ID,Mobile,Province,City,Corp,AreaCode,PostCode\n"
         "1,\"1300000\",\"山东\",\"济南\",\"联通\",\"0531\",\"250000\"\n"
         "2,\"1700001\",\"广东\",\"广州\",\"移动虚拟\",\"020\",\"510000\"\n",
         full},
        {"required columns only, byte-order mark",
         "\xEF\xBB\xBF"
         "City,Corp,Mobile\n"
         "济南,联通,1300000\n",
         {{"1300000", "", "济南", "中国联通", "", ""}}},
        {"no header: the classic four columns",
         "1300000,山东,济南,中国联通\n",
         {{"1300000", "山东", "济南", "中国联通", "", ""}}},
    };
    for (const auto& c : cases) {
        expectRows(readSegmentFile(c.text), c.expected, c.label);
    }
}

TEST(Import, AHeaderWithoutARequiredColumnRejectsTheFile) {
    for (const auto& [header, missing] :
         {std::pair{"Mobile,Province,City\n", "Corp"}, std::pair{"Mobile,Corp\n", "City"},
          std::pair{"prefix,province,isp\n", "City"}, std::pair{"mobile,city,corp,mobile\n", ""}}) {
        const auto result = readSegmentCsv(std::string(header) + "1300000,a,b,c\n");
        if (*missing == '\0') {
            EXPECT_EQ(result.error, "") << header;  // a repeated column: the first one counts
        } else {
            EXPECT_EQ(result.error, std::string("the header has no column ") + missing) << header;
            EXPECT_TRUE(result.rows.empty());
        }
    }
}

TEST(Import, CarrierWordsPlacesAndZipsTakeTheStoresForm) {
    const auto result = readSegmentCsv(
        "prefix,province,city,zip,areacode,isp\n"
        "1670000,北京,北京,100000,010,未知\n"     // unknown: the numbering plan's carrier
        "1920000,山东,莱芜,271100,0634,广电\n"    // merged into Jinan
        "1300000,新疆,库尔勒,841000,0996,联通\n"  // county seat of its prefecture
        "1310000,河北,雄安,71000,0312,联通\n");   // zip that lost its leading zero
    expectRows(result,
               {{"1300000", "新疆", "巴州", "中国联通", "0996", "841000"},
                {"1310000", "河北", "雄安", "中国联通", "0312", "071000"},
                {"1670000", "北京", "北京", "中国联通(虚拟运营商)", "010", "100000"},
                {"1920000", "山东", "济南", "中国广电", "0634", "271100"}},
               "normalised");
}

TEST(CarrierNames, ShortWordsAndStoreNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"移动", "中国移动"},
        {" 电信 ", "中国电信"},
        {"广电虚拟", "中国广电(虚拟运营商)"},
        {"中国联通", "中国联通"},
        {"中国电信(卫星通信)", "中国电信(卫星通信)"},
        {"未知", nullptr},
        {"", nullptr},
        {"中国", nullptr},
    };
    for (const auto& [word, corp] : cases) {
        const auto name = storeCarrierName(word);
        if (corp == nullptr) {
            EXPECT_FALSE(name.has_value()) << word;
        } else {
            EXPECT_EQ(name.value_or("-"), corp) << word;
        }
    }
}

TEST(PlaceNames, OldNamesAndCountySeatsGoToTheirCity) {
    const std::array<std::array<const char*, 3>, 6> cases = {{
        {"山东", "莱芜", "济南"},
        {"重庆", "万州", "重庆"},
        {"内蒙古", "兴安盟", "兴安"},
        {"山东", "济南", "济南"},
        {"广东", "莱芜", "莱芜"},  // the rename holds in its province only
        {" 湖北 ", " 襄樊 ", "襄阳"},
    }};
    for (const auto& [province, city, expected] : cases) {
        EXPECT_EQ(storePlace(province, city).city, expected) << city;
    }
}

TEST(Import, CsvWithHeaderAndQuotes) {
    const auto result = readSegmentFile(
        "\xEF\xBB\xBFMobile,Province,City,Corp\r\n"
        "1380013,广东省,广州市,中国移动\r\n"
        "\"1390000\",\"北京市\",\"北京\"\"市\",中国移动\n"
        "\n"
        "1380013,广东省,广州市,移动\n");  // the same place again: skipped, counted
    EXPECT_EQ(result.format, "csv");
    EXPECT_EQ(result.error, "");
    ASSERT_EQ(result.rows.size(), 2U);
    EXPECT_EQ(result.rows[1].city, "北京\"市");
    EXPECT_EQ(result.rejected.at("repeated segment with the same place"), 1);
}

// Every bad line rejects the whole CSV, naming the first one: a partly read file would
// replace the store with fewer rows.
TEST(Import, AnyBadCsvLineRejectsTheFileNamingTheFirst) {
    struct Case {
        std::string line;
        const char* says;
    };
    const Case cases[] = {
        {"1380016,\"广东省,广州市,中国移动", "a quote that is never closed"},
        {"1380015,广东省,广州市", "3 fields where the file has 4"},
        {std::string("1380017,广东") + '\0' + ",广州市,中国移动", "a NUL byte"},
        {"1380017,\xFF\xFE,广州市,中国移动", "not UTF-8"},
        {"138001,广东省,广州市,中国移动", "segment '138001' is not seven digits"},
        {"1290000,广东省,广州市,中国移动", "segment '1290000' is not seven digits"},
        {"2380000,广东省,广州市,中国移动", "is not seven digits from 1300000"},
        {"1380014,广东省,,中国移动", "has no city"},
        {"1400000,北京,北京,未知", "has no carrier"},
        {"1380013,广东,深圳,中国移动", "line 4: segment 1380013 is also at line 2"},
    };
    for (const auto& c : cases) {
        const auto result = readSegmentFile(
            "Mobile,Province,City,Corp\n"
            "1380013,广东,广州,中国移动\n"
            "\n" +
            c.line + "\n1390000,北京,北京,中国移动\n");
        EXPECT_TRUE(result.rows.empty()) << c.says;
        EXPECT_TRUE(result.error.starts_with("line 4: ")) << result.error;
        EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
    }
    EXPECT_NE(readSegmentCsv("just,some,words\n").error, "");
}

}  // namespace
}  // namespace haoma::lookup
