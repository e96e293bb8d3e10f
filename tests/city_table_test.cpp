// SPDX-License-Identifier: MIT
// The embedded city table's data and the name association on it.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "lookup/city_table.h"
#include "text/text.h"

namespace haoma::lookup {
namespace {

using Names = std::vector<std::string>;

struct Record {
    std::string code, name, upperCode, pinyin, initials, number;
    std::size_t fields;
};

std::vector<Record> parsedRecords(std::string_view table = baseCityTable()) {
    std::vector<Record> out;
    const CityRecords records(table);
    for (std::size_t i = 1; i < records.size(); ++i) {
        auto f = text::split(records[i], "|");
        const std::size_t n = f.size();
        f.resize(6);
        out.push_back({f[0], f[1], f[2], f[3], f[4], f[5], n});
    }
    return out;
}

int characters(const std::string& utf8) {
    int n = 0;
    for (const char c : utf8) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return n;
}

TEST(CityTableData, RecordsAndRuns) {
    const CityRecords records(baseCityTable());
    ASSERT_EQ(records.size(), 880U);
    EXPECT_EQ(records[0], "");
    EXPECT_TRUE(baseCityTable().starts_with("@bji|北京|BJP|beijing|bj|2@"));
    EXPECT_TRUE(embeddedCityTable().starts_with(baseCityTable()));
    EXPECT_EQ(text::gbkLength(baseCityTable()), 25816);
    const auto rows = parsedRecords();
    ASSERT_EQ(rows.size(), 879U);
    EXPECT_EQ(rows.back().fields, 5U);
    EXPECT_EQ(records[879], "hxt|换新天|VTB|huanxintian|h");

    std::set<std::string> names, upperCodes, codes;
    int previousNumber = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        if (i + 1 < rows.size()) {
            ASSERT_EQ(r.fields, 6U) << r.name;
        }
        EXPECT_TRUE(names.insert(r.name).second) << r.name;
        EXPECT_TRUE(upperCodes.insert(r.upperCode).second) << r.upperCode;
        codes.insert(r.code);
        EXPECT_EQ(r.code.size(), 3U) << r.name;
        EXPECT_EQ(r.code[0], r.pinyin[0]) << r.name;
        EXPECT_EQ(r.upperCode.size(), 3U) << r.name;
        for (const char c : r.code + r.pinyin + r.initials) {
            EXPECT_TRUE(c >= 'a' && c <= 'z') << r.name;
        }
        for (const char c : r.upperCode) {
            EXPECT_TRUE(c >= 'A' && c <= 'Z') << r.name;
        }
        EXPECT_GE(characters(r.name), 2) << r.name;
        EXPECT_LE(characters(r.name), 5) << r.name;
        EXPECT_EQ(extractCityName(records[i + 1]), r.name);
        if (r.fields == 6) {
            const int number = std::stoi(r.number);
            EXPECT_GT(number, previousNumber) << r.name;
            const int low = i < 29 ? 2 : i < 441 ? 72 : 523;
            const int high = i < 29 ? 71 : i < 441 ? 521 : 1000;
            EXPECT_GE(number, low) << r.name;
            EXPECT_LE(number, high) << r.name;
            previousNumber = number;
        }
        // Runs 2 and 3 are in ascending order of code.
        if (i != 0 && i != 29 && i != 441) {
            if (i > 29) {
                EXPECT_LE(rows[i - 1].code, r.code) << rows[i - 1].name << " " << r.name;
            }
        }
    }
    EXPECT_EQ(codes.size(), 610U);
    EXPECT_EQ(rows[29].code, "aes");
    EXPECT_EQ(rows[440].code, "zzh");
    EXPECT_EQ(rows[441].code, "aax");
}

TEST(CityTableData, InitialsFollowTheSyllablesExceptTheTellingRows) {
    const std::set<std::string> telling = {"汝箕沟", "北滘", "换新天"};
    for (const auto& r : parsedRecords()) {
        if (telling.contains(r.name)) {
            continue;  // stored as given: rqg, b and h
        }
        EXPECT_EQ(static_cast<int>(r.initials.size()), characters(r.name)) << r.name;
        EXPECT_EQ(r.initials[0], r.pinyin[0]) << r.name;
    }
}

TEST(CityTableData, TellingRowsAndReadingsOfPolyphonicNames) {
    std::map<std::string, std::string> rows;
    for (const auto& r : parsedRecords()) {
        rows[r.name] = r.pinyin;
    }
    const std::map<std::string, std::string> readings = {
        {"重庆", "chongqing"}, {"长春", "changchun"}, {"厦门", "xiamen"},   {"蚌埠", "bengbu"},
        {"六安", "luan"},      {"洪洞", "hongtong"},  {"朝阳", "chaoyang"}, {"都匀", "duyun"},
        {"会同", "huitong"},   {"繁峙", "fanshi"},    {"藁城", "gaocheng"}, {"涡阳", "guoyang"},
        {"喀什", "kashi"},     {"长治", "changzhi"},  {"绿化", "lvhua"},    {"哈尔滨", "haerbin"},
    };
    for (const auto& [name, reading] : readings) {
        EXPECT_EQ(rows[name], reading) << name;
    }
    const CityRecords records(baseCityTable());
    std::set<std::string_view> all;
    for (std::size_t i = 1; i < records.size(); ++i) {
        all.insert(records[i]);
    }
    for (const char* row :
         {"bji|北京|BJP|beijing|bj|2", "heb|哈尔滨|HBB|haerbin|heb|31",
          "hht|呼和浩特|HHC|huhehaote|hhht|36", "ash|安顺|ASW|anshun|as|79",
          "ash|鞍山|AST|anshan|as|80", "hsg|和什托洛盖|VSR|heshituoluogai|hstlg|979",
          "rjg|汝箕沟|RQJ|rujigou|rqg|345", "bji|北滘|IBQ|beijiao|b|569"}) {
        EXPECT_TRUE(all.contains(row)) << row;
    }
}

TEST(FindCityNames, EdgeCasesOfTheAssociation) {
    const CityRecords records(baseCityTable());
    struct Case {
        const char* typed;
        Names expected;  // the whole list
    };
    const Case cases[] = {
        {"bei",
         {"北京", "北安", "北海", "北台", "北屯市", "北碚", "北戴河", "北滘", "北流", "北马圈子",
          "北屯", "背荫河", "北营", "北宅"}},
        {"北",
         {"北京", "北安", "北海", "北台", "北屯市", "北碚", "北戴河", "北滘", "北流", "北马圈子",
          "北屯", "北营", "北宅"}},
        {"京", {}},
        {"BJ",
         {"北京", "白涧", "宝鸡", "滨江", "白芨沟", "碧鸡关", "碧江", "白鸡坡", "笔架山",
          "八角台"}},
        {"hhht", {"呼和浩特"}},
        {"zz", {"郑州", "枣庄", "资中", "株洲"}},
        {" bei", {}},
        {"bei ", {}},
        {"huanxin", {"换新天"}},
        {"北京", {"北京"}},
        {"bj|2", {"北京"}},
        {"xyz", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(suggestionNames(records.findCityNames(c.typed)), c.expected) << c.typed;
    }
    EXPECT_EQ(records.findCityNames("hhht"), "呼和浩特@");
}

TEST(FindCityNames, StopsAtTwenty) {
    const CityRecords records(baseCityTable());
    struct Case {
        const char* typed;
        Names first;
    };
    const Case cases[] = {
        {"b", {"北京", "北安", "蚌埠", "白城", "北海"}},
        {"h", {}},
        {"sh", {}},
        {"2", {"北京", "成都", "长沙", "福州", "贵阳", "广州"}},
    };
    for (const auto& c : cases) {
        const auto names = suggestionNames(records.findCityNames(c.typed));
        ASSERT_EQ(names.size(), 20U) << c.typed;
        for (std::size_t i = 0; i < c.first.size(); ++i) {
            EXPECT_EQ(names[i], c.first[i]) << c.typed;
        }
    }
}

// Oracle: a record matches when one of its fields after the first begins with the typed
// text in lower case (the text may run on across a "|").
TEST(FindCityNames, AgreesWithAFieldPrefixOracle) {
    const CityRecords records;
    const auto rows = parsedRecords(embeddedCityTable());
    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
        const auto& r = rows[rng() % rows.size()];
        const std::string fields[] = {r.name, r.pinyin, r.initials, r.number};
        const std::string& field = fields[rng() % 4];
        std::string typed = field.substr(0, 1 + rng() % std::max<std::size_t>(field.size(), 1));
        if (rng() % 3 == 0) {  // typed in capitals
            for (char& ch : typed) {
                ch = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 32) : ch;
            }
        }
        Names expected;
        const std::string lower = text::toLowerAscii(typed);
        for (std::size_t i = 1; i < records.size() && expected.size() < 20; ++i) {
            const std::string_view record = records[i];
            bool match = false;
            for (std::size_t at = record.find('|'); at != std::string_view::npos && !match;
                 at = record.find('|', at + 1)) {
                match = record.substr(at + 1).starts_with(lower);
            }
            if (match) {
                expected.push_back(extractCityName(record));
            }
        }
        EXPECT_EQ(suggestionNames(records.findCityNames(typed)), expected) << typed;
    }
}

TEST(CityTableData, AppendedStoreCitiesFollowTheTableRules) {
    const auto base = parsedRecords();
    const auto all = parsedRecords(embeddedCityTable());
    ASSERT_GT(all.size(), base.size() + 100);
    std::set<std::string> names, upperCodes;
    for (const auto& r : all) {
        EXPECT_TRUE(names.insert(r.name).second) << r.name;
        EXPECT_TRUE(upperCodes.insert(r.upperCode).second) << r.upperCode;
    }
    int number = 1000;
    for (std::size_t i = base.size(); i < all.size(); ++i) {
        const auto& r = all[i];
        ASSERT_EQ(r.fields, 6U) << r.name;
        EXPECT_EQ(std::stoi(r.number), ++number) << r.name;
        EXPECT_EQ(r.code.size(), 3U) << r.name;
        EXPECT_EQ(r.code[0], r.pinyin[0]) << r.name;
        EXPECT_EQ(static_cast<int>(r.initials.size()), characters(r.name)) << r.name;
        for (const char c : r.code + r.pinyin + r.initials) {
            EXPECT_TRUE(c >= 'a' && c <= 'z') << r.name;
        }
    }
    std::map<std::string, std::string> readings;
    for (const auto& r : all) {
        readings[r.name] = r.pinyin;
    }
    for (const auto& [name, reading] :
         std::map<std::string, std::string>{{"丽水", "lishui"},
                                            {"乐山", "leshan"},
                                            {"昌都", "changdu"},
                                            {"宿迁", "suqian"},
                                            {"兴安", "xingan"},
                                            {"西双版纳", "xishuangbanna"},
                                            {"鄂尔多斯", "eerduosi"}}) {
        EXPECT_EQ(readings[name], reading) << name;
    }
}

// The appended records come after the 879: for any key, the full table lists the names the
// 879 records give, then (while fewer than 20) only appended names.
TEST(FindCityNames, TheFullTableAddsNamesOnlyAfterTheTables) {
    const CityRecords base(baseCityTable());
    const CityRecords full;
    std::set<std::string> appended;
    for (std::size_t i = base.size(); i < full.size(); ++i) {
        appended.insert(extractCityName(full[i]));
    }
    std::vector<std::string> keys = {"bei", "北", "BJ", "zz", "hhht", "b", "2", "huanxin", "1"};
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        const std::string_view record = full[1 + rng() % (full.size() - 1)];
        std::size_t field = record.find('|');
        for (auto skip = rng() % 4; skip > 0 && record.find('|', field + 1) != record.npos;
             --skip) {
            field = record.find('|', field + 1);
        }
        keys.emplace_back(record.substr(field + 1, 1 + rng() % 5));
    }
    for (const auto& key : keys) {
        const auto fromBase = suggestionNames(base.findCityNames(key));
        const auto fromFull = suggestionNames(full.findCityNames(key));
        ASSERT_GE(fromFull.size(), fromBase.size()) << key;
        EXPECT_TRUE(std::equal(fromBase.begin(), fromBase.end(), fromFull.begin())) << key;
        for (std::size_t i = fromBase.size(); i < fromFull.size(); ++i) {
            EXPECT_TRUE(appended.contains(fromFull[i])) << key << " " << fromFull[i];
        }
    }
    EXPECT_EQ(suggestionNames(full.findCityNames("zz")),
              (Names{"郑州", "枣庄", "资中", "株洲", "漳州"}));
    EXPECT_EQ(suggestionNames(full.findCityNames("lishui")), Names{"丽水"});
}

TEST(ExtractCityName, KeepsCharactersOutsidePrintableAscii) {
    EXPECT_EQ(extractCityName("bji|北京|BJP|beijing|bj|2"), "北京");
    EXPECT_EQ(extractCityName("a\tb北c"), "\t北");
    EXPECT_EQ(extractCityName("abc"), "");
}

TEST(SuggestionList, HeightByCount) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 30}, {4, 120}, {5, 70}, {20, 280}};
    for (const auto& [n, height] : cases) {
        EXPECT_EQ(suggestionListHeight(n), height) << n;
    }
}

}  // namespace
}  // namespace haoma::lookup
