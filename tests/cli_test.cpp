// SPDX-License-Identifier: MIT
// haoma-cli's subcommands in process through run().
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"

namespace haoma::cli {
namespace {

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

}  // namespace
}  // namespace haoma::cli
