// SPDX-License-Identifier: MIT
// Nothing lost, nothing silent: output files, streamed input, imports and damaged stores.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "cli_fixture.h"
#include "lookup/segment_store.h"
#include "platform/paths.h"

namespace haoma::cli {
namespace {

using test::TempDir;

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
                                      "1920000,辽宁省,大连市,中国广电\n");
    const std::string db = dir.file("imported.db");
    auto r = cli({"import", csv, "--db", db});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");  // the report goes to standard error
    EXPECT_NE(r.err.find("imported 1: 中国广电"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("skipped 1: repeated segment with the same place"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("wrote 2 segments to " + db + " (no store was in use)"), std::string::npos)
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
        {dir.write("bad.csv", "nothing useful here\n"), "line 1: 1 fields where the file has 4"},
        {dir.write("oops.csv", "Mobile,City,Corp\n1920000,大连,广电\noops\n"), "line 3: 1 fields"},
        {dir.write("header.csv", "Mobile,Province\n1300000,山东\n"), "has no column City"},
        {dir.write("empty.csv", ""), "empty file"},
        {dir.write("truncated.csv", "Mobile,City,Corp\n19200"), "line 2: 1 fields"},
        {dir.write("binary.dat", binary), "line 1: a NUL byte"},
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
    const std::string mine = platform::joinPath(environment.userDataDirectory, "mobile.db");
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

}  // namespace
}  // namespace haoma::cli
