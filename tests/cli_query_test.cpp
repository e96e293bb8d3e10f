// SPDX-License-Identifier: MIT
// haoma-cli's lookups in process through run(): suggestions, cities, provinces, area codes
// and the numbers `where` places.
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "lookup/contact_number.h"

namespace haoma::cli {
namespace {

TEST_F(CliTest, SuggestAndQuery) {
    EXPECT_EQ(cli({"suggest", "hhht"}).out, "呼和浩特\n");
    // The carried table: the 879 railway records, then the store's cities they lack (漳州).
    EXPECT_EQ(cli({"suggest", "zz", "--crlf"}).out, "郑州\r\n枣庄\r\n资中\r\n株洲\r\n漳州\r\n");
    const auto none = cli({"suggest", "xyz"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
    const std::string twenty = cli({"suggest", "b"}).out;
    EXPECT_EQ(std::count(twenty.begin(), twenty.end(), '\n'), 20);
    EXPECT_EQ(cli({"query", "北京"}).out, "1300101\n1330101\n1390101\n");
    EXPECT_EQ(cli({"query", " 北京\u3000", "--carrier", "移动"}).out, "1390101\n");
    EXPECT_EQ(cli({"query", "北京", "--carrier", "电信"}).out, "1330101\n");
    // Every segment only when asked: a blank or wildcard city is a usage error without --all.
    const std::string everything = "1300101\n1330101\n1380013\n1390101\n1700020\n1920755\n";
    for (const char* city : {"   ", "", "%", "_", "%_%"}) {
        const auto r = cli({"query", city});
        EXPECT_EQ(r.status, 2) << city;
        EXPECT_NE(r.err.find("--all"), std::string::npos) << r.err;
        EXPECT_EQ(cli({"query", city, "--all"}).out, everything) << city;
    }
    EXPECT_EQ(cli({"query", "--all"}).out, everything);
    EXPECT_EQ(cli({"query", "--all", "--carrier", "电信"}).out, "1330101\n");
    // No matching row says so: an empty answer is never mistaken for a broken store.
    const auto noRow = cli({"query", "'; DROP TABLE mobile; --"});
    EXPECT_EQ(noRow.status, 1);
    EXPECT_EQ(noRow.out, "");
    EXPECT_EQ(noRow.err,
              "haoma-cli: no segment matches ''; DROP TABLE mobile; --': it is no city of the "
              "store and no place this program knows\n");
    EXPECT_EQ(cli({"query", "北京"}).out, "1300101\n1330101\n1390101\n");
}

// Pinyin and places inside a city lead to it, and the command line says so; --city that
// matches nothing fails as query does.
TEST_F(CliTest, CityTextsLeadToTheirCityAndSayWhichWasQueried) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    };
    const std::string beijing = "1300101\n1330101\n1390101\n";
    const Case cases[] = {
        {{"query", "昌平"}, 0, beijing, "haoma-cli: 昌平 → 北京\n"},
        {{"query", "海淀区"}, 0, beijing, "haoma-cli: 海淀区 → 北京\n"},
        {{"query", "bj"}, 0, beijing, "haoma-cli: bj → 北京\n"},
        {{"query", "北京"}, 0, beijing, ""},
        {{"all", "--city", "sz", "--limit", "1"}, 0, "19207550000\n", "haoma-cli: sz → 深圳\n"},
        {{"match", "8888", "--city", "shenzhen"},
         0,
         "19207558888\n",
         "haoma-cli: shenzhen → 深圳\n"},
        {{"match", "8888", "--city", "不存在"},
         1,
         "",
         "haoma-cli: no segment matches '不存在': it is no city of the store and no place this "
         "program knows\n"},
        // A province, a place of two cities, a place the data files under another city.
        {{"query", "广东"},
         1,
         "",
         "haoma-cli: 广东 is a province, not a city: its segments come by province (haoma-cli "
         "query --province 广东)\n"},
        {{"all", "--city", "朝阳区", "--count"},
         1,
         "",
         "haoma-cli: 朝阳区 is in more than one city: 北京, 长春; give the city\n"},
        {{"query", "琼海"},
         1,
         "",
         "haoma-cli: 琼海 → 海口 (the segment data files 琼海 under 海口)\nhaoma-cli: no segment "
         "matches '琼海'\n"},
        {{"all", "--city", "北京", "--carrier", "电信", "--count"}, 0, "10000\n", ""},
        {{"pretty", "--city", "深圳", "--carrier", "电信"},
         1,
         "",
         "haoma-cli: no segment matches '深圳' with that carrier\n"},
        {{"query", "汉口"},
         1,
         "",
         "haoma-cli: 汉口 → 武汉\nhaoma-cli: no segment matches '汉口'\n"},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1] << " " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1];
        EXPECT_EQ(r.err, c.err) << c.args[1];
    }
}

// The command line never takes one of two meanings silently: segments given two ways are a
// usage error, and a sample larger than its run says how many it printed.
TEST_F(CliTest, NothingIsGuessedSilently) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;  // a part of standard error
    };
    const Case cases[] = {
        {{"match", "8888", "--preset", "love", "--city", "北京"},
         2,
         "",
         "segments given twice: as operands (8888) and with --city 北京"},
        {{"all", "1380013", "--segments", "-"}, 2, "", "and with --segments -"},
        {{"match", "--preset", "love,year", "1380013", "--count"}, 0, "241\n", ""},
        {{"match", "--preset", "love", "--preset", "year", "1380013", "--count"}, 0, "241\n", ""},
        {{"all", "1380013", "--sample", "20000", "--count"}, 0, "10000\n", ""},
        {{"all", "1380013", "--sample", "5", "--count", "--seed", "1"}, 0, "5\n", ""},
        {{"match", "AAAA", "1380013", "--sample", "11", "--seed", "3"},
         0,
         "13800130000\n13800131111\n13800132222\n13800133333\n13800134444\n13800135555\n"
         "13800136666\n13800137777\n13800138888\n13800139999\n",
         "the run has only 10 numbers; all 10 are printed"},
        {{"query", "深圳", "--carrier", "广电"}, 0, "1920755\n", ""},
        {{"query", "广州", "--carrier", "中国移动(虚拟运营商)"}, 0, "1380013\n1700020\n", ""},
        {{"query", "广州", "--carrier", "中国联通"}, 1, "", "no segment matches '广州' with"},
        {{"query", "广州", "--carrier", "中国"}, 2, "", "unknown carrier '中国'"},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1] << " " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1];
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args[1] << ": " << r.err;
    }
}

// Each command's help shows its own usage, its options and the common ones, without the
// parser's placeholders; a mistyped command is named with the one it most likely meant.
TEST_F(CliTest, QueryByProvinceAndAreaCodeAndTheCityList) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"query", "--province", "广东省"}, "1380013\n1700020\n1920755\n"},
        {{"query", "--province", "广东"}, "1380013\n1700020\n1920755\n"},
        {{"query", "--province", "广东省", "--carrier", "移动"}, "1380013\n1700020\n"},
        {{"query", "--province", "广%"}, ""},  // a name, not a pattern: no rows
        {{"query", "--province", "北京"}, "1300101\n1330101\n1390101\n"},
        {{"query", "--area-code", "0755"}, "1920755\n"},
        {{"query", "--area-code", "755"}, "1920755\n"},
        {{"query", "--area-code", "020", "--carrier", "联通"}, ""},
        {{"query", "--area-code=010", "--carrier=电信"}, "1330101\n"},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.status, c.out.empty() ? 1 : 0) << c.args[1] << " " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1] << " " << c.args[2];
    }
    EXPECT_EQ(cli({"cities"}).out,
              "省份\t城市\t区号\t号段\t移动\t联通\t电信\n"
              "北京市\t北京市\t010\t3\t1\t1\t1\n"
              "广东省\t广州市\t020\t2\t2\t0\t0\n"
              "广东省\t深圳市\t0755\t1\t0\t0\t0\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"query", "北京", "--province", "北京"},
             {"query", "--province", "北京", "--area-code", "010"},
             {"query", "北京", "--", "上海"},
             {"cities", "北京"}}) {
        EXPECT_EQ(cli(args).status, 2) << args[1];
    }
}

TEST_F(CliTest, WhereAnswersEveryNumberAndMarksTheUnknown) {
    const auto r = cli({"where", "13800138000", "1921234", "1920755", "13001010000"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "13800138000\t1380013\t广东省\t广州市\t中国移动\t020\n"
              "1921234\t\t\t\t\t\n"
              "1920755\t1920755\t广东省\t深圳市\t中国广电\t0755\n"
              "13001010000\t1300101\t北京市\t北京市\t中国联通\t010\n");
    EXPECT_EQ(r.err,
              "haoma-cli: line 2 ('1921234'): its segment is not in the segment store\n"
              "haoma-cli: 1 of 4 numbers not found\n");
    // Standard input, CR LF, blanks, and every kind of bad line; none stops the others, each
    // keeps the six fields, and each kind is said once.
    const auto bad = cli({"where", "--crlf"},
                         "abc\r\n12345678901234567890\n\n1200000\n 1390101 \n123456\n1390101x\n"
                         "1390101");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out,
              "abc\t\t\t\t\t\r\n"
              "12345678901234567890\t\t\t\t\t\r\n"
              "\t\t\t\t\t\r\n"
              "1200000\t\t\t\t\t\r\n"
              "1390101\t1390101\t北京市\t北京市\t中国移动\t010\r\n"
              "123456\t\t\t\t\t\r\n"
              "1390101x\t\t\t\t\t\r\n"
              "1390101\t1390101\t北京市\t北京市\t中国移动\t010\r\n");
    EXPECT_EQ(bad.err,
              "haoma-cli: line 1 ('abc'): not a number of 7 to 11 digits\n"
              "haoma-cli: line 3 (''): an empty line\n"
              "haoma-cli: line 4 ('1200000'): not a mobile number (13x to 19x)\n"
              "haoma-cli: 6 of 8 numbers not found (5 of them malformed)\n");
    const auto good = cli({"where"}, "13901010000\n");
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");
    // Numbers as contact lists hold them.
    const std::pair<const char*, const char*> written[] = {
        {"+86 139 0101 0000", "13901010000"},
        {"139-0101-0000", "13901010000"},
        {"8613901010000", "13901010000"},
        {"0086 13901010000", "13901010000"},
        {"+8613901010000", "13901010000"},
        {"86 1390101", "861390101"},
        {"-13901010000", "-13901010000"},
        {"+1 555 0100", "+1 555 0100"},
        {"139--0101", "1390101"},
    };
    for (const auto& [given, number] : written) {
        EXPECT_EQ(lookup::contactNumber(given), number) << given;
        const auto one = cli({"where", given});
        EXPECT_TRUE(one.out.starts_with(std::string(number) + "\t")) << given << one.out;
    }
    EXPECT_EQ(cli({"where", "+86 139 0101 0000"}).out,
              "13901010000\t1390101\t北京市\t北京市\t中国移动\t010\n");
}

}  // namespace
}  // namespace haoma::cli
