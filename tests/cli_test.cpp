// SPDX-License-Identifier: MIT
// haoma-cli's subcommands in process through run().
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"
#include "lookup/contact_number.h"
#include "lookup/segment_index.h"

namespace haoma::cli {
namespace {

using test::TempDir;

TEST_F(CliTest, PrettyAndAllGiveTheWindowsNumbers) {
    struct Case {
        std::vector<std::string> args;
        std::string input;
        std::string out;
    };
    const Case cases[] = {
        {{"pretty", "--kinds", "AAAA", "--limit", "5", "1380013"},
         "",
         "13800130000\n13800131111\n13800132222\n13800133333\n13800134444\n"},
        {{"pretty", "--kinds", "abba,aaaa", "--limit", "12", "1380013"},
         "",
         "13800130000\n13800131111\n13800132222\n13800133333\n13800134444\n13800135555\n"
         "13800136666\n13800137777\n13800138888\n13800139999\n13800130110\n13800130220\n"},
        {{"pretty", "--kinds=CBA", "13800138"},
         "",
         "13800138210\n13800138321\n13800138432\n13800138543\n13800138654\n13800138765\n"
         "13800138876\n13800138987\n"},
        {{"all", "--limit", "3", "--crlf", "1380013"},
         "",
         "13800130000\r\n13800130001\r\n13800130002\r\n"},
        {{"all", "12345678901", "123456789012", "1380013", "--limit", "2"},
         "",
         "12345678901\n13800130000\n"},
        {{"all", "--limit", "4"},
         "1380013\r\n\r\n1390000\r\n",
         "13800130000\n13800130001\n13800130002\n13800130003\n"},
        {{"all", "--limit", "10002"}, "\n", ""},  // one empty line
        {{"all", "--limit", "2"}, "北京\n", "北京0000000\n北京0000001\n"},
        {{"pretty", "--kinds", "aaa", "--limit", "3"},
         "\n",
         "00000000111\n00000000222\n00000000333\n"},
        {{"all", "--city", "广州", "--limit", "2"}, "", "13800130000\n13800130001\n"},
        {{"all", "--city", "北京", "--carrier", "联通", "--limit", "1"}, "", "13001010000\n"},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args, c.input);
        EXPECT_EQ(r.status, 0) << c.args[0] << " " << r.err;
        if (c.out.empty()) {
            // The empty line: 10002 of its 10^11 numbers, the first and the last checked.
            EXPECT_TRUE(r.out.starts_with("00000000000\n00000000001\n"));
            EXPECT_TRUE(r.out.ends_with("00000010001\n"));
        } else {
            EXPECT_EQ(r.out, c.out) << c.args[0];
        }
    }
    EXPECT_EQ(cli({"pretty", "1380013"}).out.size(), 529U * 12);
    EXPECT_EQ(cli({"all", "13800138"}).out.size(), 1000U * 12);
}

// A tag character is a character GBK lacks: the segment line is 8 bytes, too long for the
// four-digit kinds and without filler for the three-digit ones.
TEST_F(CliTest, ATagCharacterCountsOneByteInASegmentLine) {
    const std::string line = "1380013\xF3\xA0\x80\x81\n";
    EXPECT_EQ(cli({"pretty", "--kinds", "AAAA"}, line).out, "");
    const std::string three = cli({"pretty", "--kinds", "AAA"}, line).out;
    EXPECT_EQ(std::count(three.begin(), three.end(), '\n'), 10);
}

// Lines a user most likely did not mean still run as the window runs them, with one note
// per kind of line, naming its first line; plain segments get none.
TEST_F(CliTest, OddSegmentLinesRunAsTheWindowRunsThemWithOneNotePerKind) {
    const auto count = [](const std::string& text, const std::string& part) {
        std::size_t found = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++found;
        }
        return found;
    };
    struct Case {
        std::string input;
        std::vector<std::string> notes;  // each once
        std::string firstNumber;
    };
    const Case cases[] = {
        {"1380013\n\n139\n", {}, "13800130000"},
        {"y\ny\ny\n", {"segment line 1 ('y') is not a number segment"}, "y0000000000"},
        {"1380013\n深圳\n广州\n",
         {"segment line 2 ('深圳') is not a number segment; its numbers begin with that text, as "
          "the window makes them; for a city use --city 深圳\n"},
         "13800130000"},
        {"1380013\n\xEF\xBB\xBF"
         "1390000\n",
         {"line 2 ('<U+FEFF>1390000') holds a byte-order mark"},
         "13800130000"},
        {"138\r139\r", {"line 1 ('138\\r139') holds a carriage return"}, "138\r1390000"},
        {"123456789012\n1380013\n",
         {"line 1 ('123456789012') is longer than a number"},
         "13800130000"},
        {"y\n1234567890123\n\xEF\xBB\xBF"
         "1\nx\n",
         {"line 1 ('y')", "line 2 ('1234567890123')", "line 3 ('<U+FEFF>1')"},
         "y0000000000"},
    };
    for (const auto& c : cases) {
        // all --count reads every line; a stream of all numbers reads up to its limit only.
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"all", "--count"},
              std::vector<std::string>{"match", "****", "--limit", "1"}}) {
            const auto r = cli(args, c.input);
            EXPECT_EQ(r.status, 0) << r.err;
            if (args[0] == "match") {
                EXPECT_EQ(r.out, c.firstNumber + "\n");
            }
            EXPECT_EQ(count(r.err, "note: "), c.notes.size()) << r.err;
            for (const auto& note : c.notes) {
                EXPECT_EQ(count(r.err, note), 1U) << note << "\n" << r.err;
            }
        }
    }
}

// The program speaks UTF-8 whatever the locale, and says so once when the locale's
// character set would show its bytes as something else.
TEST_F(CliTest, ALocaleThatIsNotUtf8GetsOneNote) {
    const std::pair<const char*, bool> charsets[] = {
        {"UTF-8", false}, {"utf8", false},   {"ANSI_X3.4-1968", false},
        {"", false},      {"GB18030", true}, {"GBK", true},
        {"BIG5", true},
    };
    for (const auto& [charset, noted] : charsets) {
        environment.localeCharset = charset;
        const auto r = cli({"query", "广州"});
        EXPECT_EQ(r.out, "1380013\n1700020\n") << charset;
        EXPECT_EQ(r.err.find("reads and writes UTF-8 only") != std::string::npos, noted)
            << charset << ": " << r.err;
    }
}

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
TEST_F(CliTest, HelpOfEachCommandAndMistypedCommands) {
    for (const char* command :
         {"suggest", "query", "cities", "where", "pretty", "all", "match", "import"}) {
        const auto r = cli({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_NE(r.out.find(std::string("Usage: haoma-cli ") + command), std::string::npos);
        EXPECT_NE(r.out.find("Options of every command"), std::string::npos) << command;
        EXPECT_NE(r.out.find("  --progress"), std::string::npos) << command;
        EXPECT_EQ(r.out.find("REQUIRED"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("TEXT TEXT"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("haoma-cli suggest TEXT\n  haoma-cli query"), std::string::npos)
            << command << ": the program's own footer";
        for (const char* doubled : {"N:N", "S:S", "DIGITS:DIGITS", "FILE:FILE"}) {
            EXPECT_EQ(r.out.find(doubled), std::string::npos) << command << ": " << doubled;
        }
    }
    const std::pair<const char*, const char*> typos[] = {
        {"qurey", "query"}, {"wher", "where"}, {"matc", "match"}, {"improt", "import"}};
    for (const auto& [typed, meant] : typos) {
        const auto r = cli({typed, "北京"});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(
            r.err.find(std::string("unknown command '") + typed + "'; did you mean " + meant + "?"),
            std::string::npos)
            << r.err;
    }
    EXPECT_EQ(cli({"xyzzy"}).err.find("did you mean"), std::string::npos);
    EXPECT_EQ(cli({"suggest"}).status, 2);
}

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

TEST_F(CliTest, OptionSpellingsAndTheEndOfOptions) {
    const std::string expected = "13800130000\n13800130001\n";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"all", "--limit", "2", "-o" + dir.file("a.txt"), "1380013"},
             {"all", "--limit=2", "--output=" + dir.file("a.txt"), "1380013"},
             {"-o", dir.file("a.txt"), "all", "--limit", "2", "1380013"},
             {"all", "1380013", "--limit", "2", "--output", dir.file("a.txt")}}) {
        std::filesystem::remove(dir.file("a.txt"));
        const auto r = cli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(slurp(dir.file("a.txt")), expected);
    }
    // After --, a text that looks like an option is a segment line.
    EXPECT_EQ(cli({"all", "--limit", "2", "--", "-138001"}).out, "-1380010000\n-1380010001\n");
    // "--crlf" after -- is a segment line of 6 bytes: 10 fillers of one digit, 10 AAAA each.
    const auto segmentLike = cli({"pretty", "--kinds", "aaaa", "--", "1380013", "--crlf"});
    EXPECT_EQ(segmentLike.out.size(), (10U + 100U) * 12);
    EXPECT_NE(segmentLike.out.find("--crlf00000\n"), std::string::npos);
    EXPECT_TRUE(cli({"-V"}).out.starts_with("haoma-cli "));
}

TEST_F(CliTest, UsageErrorsExitTwoAndWriteNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {"frob"},
        {},
        {"all", "--frob"},
        {"pretty", "--kinds", "AAAB", "1380013"},
        {"all", "--limit", "0", "1380013"},
        {"all", "--limit", "-3", "1380013"},
        {"all", "--limit", "ten", "1380013"},
        {"all", "--limit"},
        {"query"},
        {"query", "北京", "--carrier", "小灵通"},
        {"suggest", "a", "b"},
        {"query", "北京", "--kinds", "AAAA"},
        {"all", "--segments", "x", "--city", "y"},
        {"all", "--crlf=yes", "1380013"},
        {"pretty", "--kinds", "", "1380013"},
        {"all", "--sample", "2", "--seed", "18446744073709551616", "1380013"},
        {"all", "--sample", "2", "--seed", "-1", "1380013"},
        {"all", "--seed", "5", "1380013"},
        {"match", "AAAA", "--shuffle", "1380013"},
        {"all", "-o", "", "1380013"},
    };
    for (const auto& args : cases) {
        const auto r = cli(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("haoma-cli: ")) << r.err;
        EXPECT_NE(r.err.find("--help"), std::string::npos);
    }
    const auto help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("haoma-cli pretty"), std::string::npos);
}

TEST_F(CliTest, FailuresExitOne) {
    dir.write("existing.txt", "precious\n");
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"all", "--segments", dir.file("absent.txt")}, "cannot read"},
        {{"all", "1380013", "-o", dir.file("no/such/dir/out.txt")}, "cannot write"},
        {{"query", "北京", "--db", dir.file("absent.db")}, "cannot open the segment store"},
        {{"all", "--city", "北京", "--db", dir.write("junk.db", "not a database")},
         "cannot open the segment store"},
        {{"all", "--segments", dir.file("absent.txt"), "-o", dir.file("existing.txt")},
         "cannot read"},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(slurp(dir.file("existing.txt")), "precious\n");
}

// Endless lines, as `yes 1380013` gives, counting the bytes handed out.
TEST_F(CliTest, ProgressGoesToStandardError) {
    const auto r = cli({"all", "--progress", "--limit", "5", "1380013"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 5);
    EXPECT_NE(r.err.find("5 numbers"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("100.0%"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"all", "--limit", "5", "1380013"}).err, "");  // not a terminal: silent
    // A run under a rule knows its total as exactly as any other.
    const auto filtered = cli({"pretty", "--contains", "9", "--progress", "1380013"});
    const auto counted = cli({"pretty", "--contains", "9", "--count", "1380013"});
    EXPECT_NE(filtered.err.find(counted.out.substr(0, counted.out.size() - 1) + " numbers"),
              std::string::npos)
        << filtered.err;
    EXPECT_NE(filtered.err.find("100.0%"), std::string::npos) << filtered.err;
}

TEST_F(CliTest, VersionNamesTheDataSource) {
    const auto r = cli({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("haoma-cli "));
    EXPECT_NE(r.out.find("test store"), std::string::npos);
}

// An import stopped by a signal while it writes: the old store stays, no temporary file is
// left, and the exit status is 128 and the signal's number.

}  // namespace
}  // namespace haoma::cli
