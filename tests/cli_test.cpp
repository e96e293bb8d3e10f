// SPDX-License-Identifier: MIT
// haoma-cli in process through run(), and the real executable where the process matters.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "cli/cli.h"
#include "lookup/segment_store.h"
#include "lookup/store_writer.h"
#include "temp_dir.h"

#ifndef HAOMA_CLI_PATH
#error "HAOMA_CLI_PATH names the built haoma-cli"
#endif

namespace haoma::cli {
namespace {

using test::TempDir;

struct Result {
    int status;
    std::string out, err;
};

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::vector<lookup::SegmentRow> rows = {
            {"1390101", "北京市", "北京市", "中国移动", "010", "100000"},
            {"1300101", "北京市", "北京市", "中国联通", "010", "100000"},
            {"1330101", "北京市", "北京市", "中国电信", "010", "100000"},
            {"1380013", "广东省", "广州市", "中国移动", "020", "510000"},
            {"1700020", "广东省", "广州市", "中国移动(虚拟运营商)", "020", "510000"},
            {"1920755", "广东省", "深圳市", "中国广电", "0755", "518000"},
        };
        ASSERT_EQ(lookup::writeStore(dir.file("mobile.db"), rows, {{"source", "test store"}}), "");
        environment.programDirectory = dir.path().string();
    }

    Result cli(const std::vector<std::string>& args, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = run(args, in, out, err, environment);
        return {status, out.str(), err.str()};
    }

    static std::string slurp(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

    TempDir dir;
    Environment environment;
};

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
    EXPECT_EQ(noRow.err, "haoma-cli: no segment matches ''; DROP TABLE mobile; --'\n");
    EXPECT_EQ(cli({"query", "北京"}).out, "1300101\n1330101\n1390101\n");
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
              "1921234\tsegment not in the segment store\n"
              "1920755\t1920755\t广东省\t深圳市\t中国广电\t0755\n"
              "13001010000\t1300101\t北京市\t北京市\t中国联通\t010\n");
    EXPECT_EQ(r.err, "haoma-cli: 1 of 4 numbers not found\n");
    // Standard input, CR LF, blanks, and every kind of bad line; none stops the others.
    const auto bad = cli({"where", "--crlf"},
                         "abc\r\n12345678901234567890\n\n1200000\n 1390101 \n123456\n1390101x\n"
                         "1390101");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out,
              "abc\tnot a number of 7 to 11 digits\r\n"
              "12345678901234567890\tnot a number of 7 to 11 digits\r\n"
              "\tempty line, not a number\r\n"
              "1200000\tnot a mobile number (13x to 19x)\r\n"
              "1390101\t1390101\t北京市\t北京市\t中国移动\t010\r\n"
              "123456\tnot a number of 7 to 11 digits\r\n"
              "1390101x\tnot a number of 7 to 11 digits\r\n"
              "1390101\t1390101\t北京市\t北京市\t中国移动\t010\r\n");
    EXPECT_EQ(bad.err, "haoma-cli: 6 of 8 numbers not found\n");
    const auto good = cli({"where"}, "13901010000\n");
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");
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

TEST_F(CliTest, OutputFileIsRenamedIntoPlaceWhenComplete) {
    const std::string target = dir.write("numbers.txt", "old\n");
    const auto r = cli({"all", "1380013", "--limit", "3", "-o", target});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(slurp(target), "13800130000\n13800130001\n13800130002\n");
    // An interrupted run leaves the old file and no temporary beside it.
    volatile int stop = SIGINT;
    environment.interrupted = &stop;
    EXPECT_EQ(cli({"all", "1380013", "-o", target}).status, 130);
    stop = SIGTERM;
    EXPECT_EQ(cli({"all", "1380013", "-o", target}).status, 143);
    EXPECT_EQ(slurp(target), "13800130000\n13800130001\n13800130002\n");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 2U);  // mobile.db and numbers.txt
}

TEST_F(CliTest, HostileInputDoesNotCrash) {
    std::string input = "1380013\n";
    input += std::string(1 << 20, '7') + "\n";      // a very long line
    input += std::string("\x00\x01\xff\xfe\n", 5);  // binary
    input += "\xe5\x8c\n";                          // a cut character
    input += "1390000\n";
    const auto r = cli({"all", "--limit", "10001"}, input);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("rejected 2 lines"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.ends_with("13800139999\n13900000000\n"));
}

TEST_F(CliTest, ImportBuildsAStoreAndRejectsMalformedFiles) {
    const std::string csv = dir.write("segments.csv",
                                      "Mobile,Province,City,Corp\n"
                                      "1920000,辽宁省,大连市,中国广电\n"
                                      "1650000,辽宁省,大连市,中国移动(虚拟运营商)\n"
                                      "oops\n");
    const std::string db = dir.file("imported.db");
    auto r = cli({"import", csv, "--db", db});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");  // the report goes to standard error
    EXPECT_NE(r.err.find("imported 1: 中国广电"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("skipped 1: wrong number of fields"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("wrote 2 segments to " + db + " (the store in use had no store)"),
              std::string::npos)
        << r.err;
    // 大连 has a record; 大连市 (this file's spelling) has none.
    EXPECT_NE(r.err.find("1 cities of the store have no record in the city table"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(": 大连市\n"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"query", "大连", "--db", db}).out, "1650000\n1920000\n");
    EXPECT_EQ(cli({"query", "大连", "--db", db, "--carrier", "移动"}).out, "1650000\n");

    // Refused files name the reason, print no "imported", and leave the store as it was.
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>(i * 7919 % 251);
    }
    const std::pair<std::string, const char*> refused[] = {
        {dir.write("bad.csv", "nothing useful here\n"), "no valid segment rows"},
        {dir.write("header.csv", "Mobile,Province\n1300000,山东\n"), "has no column City"},
        {dir.write("empty.csv", ""), "empty file"},
        {dir.write("truncated.csv", "Mobile,City,Corp\n19200"), "no valid segment rows"},
        {dir.write("binary.dat", binary), "no valid segment rows"},
        {dir.file("absent.csv"), "No such file or directory"},
        {dir.path().string(), "is a directory"},
    };
    for (const auto& [file, says] : refused) {
        r = cli({"import", file, "--db", db});
        EXPECT_EQ(r.status, 1) << file;
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("imported"), std::string::npos) << r.err;
        EXPECT_EQ(cli({"query", "大连", "--db", db}).out, "1650000\n1920000\n");
    }
    // Standard input as the file.
    r = cli({"import", "-", "--db", db}, "Mobile,City,Corp\n1300000,济南,联通\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("(the store in use had 2 segments)"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"query", "济南", "--db", db}).out, "1300000\n");
}

TEST_F(CliTest, ImportsGoToTheUsersDataFolderAndResetReturnsToTheInstalledStore) {
    environment.userDataDirectory = dir.file("home/.local/share/haoma");
    const std::string csv = dir.write("mine.csv", "Mobile,City,Corp\n1300000,济南,联通\n");
    auto r = cli({"import", csv});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string mine = environment.userDataDirectory + "/mobile.db";
    EXPECT_TRUE(std::filesystem::exists(mine));
    EXPECT_NE(r.err.find("(the store in use had 6 segments)"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"query", "济南"}).out, "1300000\n");  // the imported store comes first
    EXPECT_NE(cli({"--version"}).out.find("segment data file: " + mine), std::string::npos);
    r = cli({"import", "--reset"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("removed " + mine), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(mine));
    EXPECT_EQ(cli({"query", "北京"}).out, "1300101\n1330101\n1390101\n");
    EXPECT_EQ(cli({"import", "--reset", "--db", mine}).status, 2);
    EXPECT_EQ(cli({"import", "--reset", csv}).status, 2);
    environment.userDataDirectory.clear();
    EXPECT_EQ(cli({"import", csv}).status, 1);  // no HOME: no place to put it
}

TEST_F(CliTest, ADamagedStoreIsAnErrorNamingTheFile) {
    const std::string db = dir.file("mobile.db");
    {
        std::fstream file(db, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(2 * 4096 + 100);
        file.write("garbage!garbage!", 16);
    }
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"query", "北京"}, {"cities"}, {"where", "1390101"}, {"all", "--city", "北京"}}) {
        const auto r = cli(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_NE(r.err.find(db), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("damaged"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("haoma-cli import"), std::string::npos) << r.err;
    }
}

TEST_F(CliTest, OutputRespectsWhatIsThere) {
    // A symbolic link: the target gets the numbers, the link stays a link.
    const std::string target = dir.write("target.txt", "old\n");
    std::filesystem::create_symlink(target, dir.file("link.txt"));
    EXPECT_EQ(cli({"all", "--limit", "1", "1380013", "-o", dir.file("link.txt")}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(slurp(target), "13800130000\n");
    // A private file keeps its mode.
    const std::string secret = dir.write("secret.txt", "old\n");
    std::filesystem::permissions(
        secret, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(cli({"all", "--limit", "1", "1380013", "-o", secret}).status, 0);
    EXPECT_EQ(std::filesystem::status(secret).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(slurp(secret), "13800130000\n");
    // A FIFO is written directly: a reader gets the numbers, and it stays a FIFO.
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = slurp(fifo); });
    EXPECT_EQ(cli({"all", "--limit", "2", "1380013", "-o", fifo}).status, 0);
    reader.join();
    EXPECT_EQ(received, "13800130000\n13800130001\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    // A folder is refused.
    const auto folder = cli({"all", "1380013", "-o", dir.path().string()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("is a directory"), std::string::npos) << folder.err;
}

// Endless lines, as `yes 1380013` gives, counting the bytes handed out.
class EndlessLines : public std::streambuf {
  public:
    explicit EndlessLines(std::string line) : line_(std::move(line)) {}
    std::size_t served = 0;

  protected:
    int_type underflow() override {
        chunk_.clear();
        while (chunk_.size() < 4096) {
            chunk_ += line_;
        }
        served += chunk_.size();
        setg(chunk_.data(), chunk_.data(), chunk_.data() + chunk_.size());
        return traits_type::to_int_type(chunk_[0]);
    }

  private:
    std::string line_;
    std::string chunk_;
};

TEST_F(CliTest, StandardInputIsReadAsAStream) {
    EndlessLines lines("1380013\n");
    std::istream endless(&lines);
    std::ostringstream out, err;
    EXPECT_EQ(run({"all", "--limit", "1"}, endless, out, err, environment), 0);
    EXPECT_EQ(out.str(), "13800130000\n");
    EXPECT_LT(lines.served, 1U << 20);  // the first lines, not the whole (endless) input
    // A line past 1 MiB is skipped with a note; the lines around it are used.
    const auto longLine = cli({"all", "--limit", "10002"},
                              "1380013\n" + std::string((1 << 20) + 1, '7') + "\n1390000\n");
    EXPECT_TRUE(longLine.out.ends_with("13800139999\n13900000000\n13900000001\n"));
    EXPECT_NE(longLine.err.find("rejected 1 line that is longer than 1 MiB"), std::string::npos);
    const auto afterLong =
        cli({"all", "--limit", "10001"}, std::string((1 << 21), '7') + "\n1390000\n");
    EXPECT_TRUE(afterLong.out.ends_with("13900009999\n")) << afterLong.err;
}

TEST_F(CliTest, ByteOrderMarkDashAndStandardInputNames) {
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(cli({"pretty", "--kinds", "AAAA"}, bom + "1380013\r\n").out.size(), 10U * 12);
    EXPECT_EQ(cli({"all", "--limit", "1"}, bom + "1380013\n").out, "13800130000\n");
    EXPECT_EQ(
        cli({"all", "--limit", "1", "--segments", dir.write("bom.txt", bom + "1390000\n")}).out,
        "13900000000\n");
    EXPECT_EQ(cli({"all", "--limit", "1", "-"}, "1380013\n").out, "13800130000\n");
    EXPECT_EQ(cli({"all", "--limit", "1", "--segments", "-"}, "1380013\n").out, "13800130000\n");
    EXPECT_EQ(cli({"pretty", "--kinds", "AAAA", "1390000", "-"}, "1380013\n").out.substr(0, 24),
              "13900000000\n13900001111\n");
    EXPECT_EQ(cli({"where", "-"}, "13800138000\n").out,
              "13800138000\t1380013\t广东省\t广州市\t中国移动\t020\n");
}

TEST_F(CliTest, ProgressGoesToStandardError) {
    const auto r = cli({"all", "--progress", "--limit", "5", "1380013"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 5);
    EXPECT_NE(r.err.find("5 numbers"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("100.0%"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"all", "--limit", "5", "1380013"}).err, "");  // not a terminal: silent
}

TEST_F(CliTest, VersionNamesTheDataSource) {
    const auto r = cli({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("haoma-cli "));
    EXPECT_NE(r.out.find("test store"), std::string::npos);
}

std::string shell(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> chunk{};
    while (const std::size_t n = fread(chunk.data(), 1, chunk.size(), pipe)) {
        output.append(chunk.data(), n);
    }
    pclose(pipe);
    return output;
}

TEST(CliProcess, AClosedPipeStopsQuietlyWithZero) {
    const std::string out = shell(std::string("bash -c '") + HAOMA_CLI_PATH +
                                  " all 1380013 1390000 2>/tmp/haoma-pipe-err | head -3; "
                                  "echo status=${PIPESTATUS[0]}; cat /tmp/haoma-pipe-err'");
    EXPECT_EQ(out, "13800130000\n13800130001\n13800130002\nstatus=0\n");
}

TEST(CliProcess, FindsTheStoreBesideTheProgramFromAnotherFolder) {
    const std::string out = shell(std::string("cd / && ") + HAOMA_CLI_PATH + " query 北京 | wc -l");
    EXPECT_GT(std::stoi(out), 10000);
}

TEST(CliProcess, AReadErrorOnStandardInputIsAFailure) {
    const std::string out =
        shell(std::string("bash -c '") + HAOMA_CLI_PATH + " all < / 2>&1; echo status=$?'");
    EXPECT_NE(out.find("cannot read standard input: Is a directory"), std::string::npos) << out;
    EXPECT_NE(out.find("status=1"), std::string::npos) << out;
}

// An import stopped by a signal while it writes: the old store stays, no temporary file is
// left, and the exit status is 128 and the signal's number.
TEST(CliProcess, AnInterruptedImportKeepsTheOldStore) {
    for (const int signal : {SIGINT, SIGTERM}) {
        TempDir dir;
        const std::string db = dir.file("mobile.db");
        ASSERT_EQ(lookup::writeStore(db, {{"1300000", "山东", "济南", "中国联通", "0531", ""}}, {}),
                  "");
        const pid_t child = fork();
        if (child == 0) {
            execl(HAOMA_CLI_PATH, HAOMA_CLI_PATH, "import", HAOMA_SEGMENT_CSV, "--db", db.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        const std::string temporary = dir.file(".mobile.db.part-" + std::to_string(child));
        // Reading and checking 517,258 rows comes first: seconds in a sanitizer build.
        for (int wait = 0; wait < 120000 && !std::filesystem::exists(temporary); ++wait) {
            usleep(1000);
        }
        const bool writing = std::filesystem::exists(temporary);
        kill(child, signal);
        if (!writing) {
            waitpid(child, nullptr, 0);
            FAIL() << "the import never began to write";
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_FALSE(std::filesystem::exists(temporary));
        std::string error;
        const auto store = lookup::SegmentStore::open(db, &error);
        ASSERT_NE(store, nullptr) << error;
        EXPECT_EQ(store->rowCount(), 1);
    }
}

}  // namespace
}  // namespace haoma::cli
