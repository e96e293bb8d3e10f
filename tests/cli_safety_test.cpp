// SPDX-License-Identifier: MIT
// Nothing written where it should not be, nothing trusted that was not checked: an output
// that is one of the command's inputs, a foreign place array, the rows of where, a city text
// that stands for every city, lock files.
#include <sqlite3.h>

#include <filesystem>

#include "cli_fixture.h"
#include "lookup/segment_index.h"
#include "lookup/segment_store.h"
#include "text/text.h"

namespace haoma::cli {
namespace {

using test::TempDir;

void sql(const std::string& db, const std::string& statements) {
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(handle, statements.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error != nullptr ? error : "");
    sqlite3_free(error);
    sqlite3_close(handle);
}

// -o naming the store in use, the --segments file, or (through a link) the store: refused
// before anything is written, naming both, and the input stays whole.
TEST_F(CliTest, AnOutputThatIsOneOfTheInputsIsRefusedNamingBoth) {
    const std::string db = dir.file("mobile.db");
    const std::string segments = dir.write("segments.txt", "1380013\n");
    // Another name of the store: a symbolic link, or a hard link where the system makes none.
    std::error_code noSymlinks;
    std::filesystem::create_symlink(db, dir.file("link.db"), noSymlinks);
    if (noSymlinks) {
        std::filesystem::create_hard_link(db, dir.file("link.db"));
    }
    const struct {
        std::vector<std::string> args;
        std::string input;  // the file named in the message
    } cases[] = {
        {{"--db", db, "query", "北京", "-o", db}, "the segment store " + db},
        {{"--db", db, "where", "13901010000", "-o", db}, "the segment store " + db},
        {{"--db", db, "all", "--city", "北京", "--limit", "3", "-o", db},
         "the segment store " + db},
        {{"--db", db, "query", "北京", "-o", dir.file("link.db")}, "the segment store " + db},
        {{"all", "--segments", segments, "-o", segments}, "the segments file " + segments},
        {{"match", "AAA", "--segments", segments, "-o", segments}, "the segments file " + segments},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("cannot write " + c.args.back() + ": it is " + c.input),
                  std::string::npos)
            << r.err;
    }
    EXPECT_NE(lookup::SegmentStore::open(db), nullptr);
    EXPECT_EQ(slurp(segments), "1380013\n");
}

// A store of another writer gives no trust to its place array: the rows answer, whatever the
// array says; a store this program wrote keeps using its array.
TEST(StoreSafety, APlaceArrayIsTrustedOnlyWhereTheStoreProvesIt) {
    const std::vector<lookup::SegmentRow> rows = {
        {"1390101", "江苏", "常州", "中国移动", "0519", ""},
        {"1380013", "北京", "北京", "中国移动", "010", ""},
    };
    const struct {
        const char* damage;
        const char* city;  // what where says of 13901010000
    } cases[] = {
        {"UPDATE mobile SET City = '拉萨', Province = '西藏' WHERE Mobile LIKE '139%'", "拉萨"},
        {"UPDATE segment_place SET slots = zeroblob(2000000)", "常州"},
        {"DELETE FROM segment_place", "常州"},
        {"DELETE FROM place", "常州"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string db = dir.file("other.db");
        ASSERT_EQ(lookup::writeStore(db, rows, {}), "");
        // Another program's store: its own writer mark, no checksum of ours.
        sql(db, "UPDATE meta SET value = 'another program' WHERE key = 'writer';" +
                    std::string(c.damage) + ";PRAGMA user_version = 0;");
        const auto store = lookup::SegmentStore::open(db);
        ASSERT_NE(store, nullptr) << c.damage;
        const lookup::SegmentIndex index(*store);
        const auto found = index.find("13901010000");
        ASSERT_EQ(found.verdict, lookup::NumberVerdict::Found) << c.damage;
        EXPECT_EQ(index.facts()[found.facts].city, c.city) << c.damage;
        EXPECT_EQ(index.find("13800138000").verdict, lookup::NumberVerdict::Found) << c.damage;
    }
}

// Every entry of every input line gets a row of exactly six fields, and every line at least
// one: TABs separate, control characters and bytes that are not UTF-8 never enter a field,
// CR-only line ends end lines, an overlong line gets its row and its count.
TEST_F(CliTest, WhereGivesEveryLineItsRowsOfSixFields) {
    const std::string overlong(std::size_t{3} << 20, '7');
    const struct {
        std::string input;
        std::size_t rows;
        std::string note;  // a part of standard error
    } cases[] = {
        {"13800138000\t张三\n", 2, ""},
        {"138\t0013\t8000\n", 3, "not a number of 7 to 11 digits"},
        {std::string("1390101\0x\n\xFF\xFE\n", 13), 2, "shown as U+FFFD"},
        {"13901010000\r13901010001\r1390101", 3, ""},
        {"13901010000\r\n\r\n,,\n", 3, "an empty line"},
        {overlong + "\n13901010000\n", 2, "a line longer than 1 MiB"},
        {"0086\n+86\n", 2, "a country code without a number"},
        {"+852 9123 4567\n(139) 0101-0000 ext 12\n", 2, "outside the mainland"},
    };
    for (const auto& c : cases) {
        const auto r = cli({"where"}, c.input);
        const auto rows = text::lines(r.out);
        EXPECT_EQ(rows.size(), c.rows) << r.out;
        EXPECT_TRUE(text::isValidUtf8(r.out));
        for (const auto row : rows) {
            EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 5) << row;
            for (const auto& field : text::split(row, "\t")) {
                EXPECT_EQ(text::printable(field), field) << "a control character in " << row;
            }
        }
        EXPECT_NE(r.err.find(c.note), std::string::npos) << r.err;
    }
    const auto r = cli({"where"}, overlong + "\n13901010000\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.starts_with("7777777777")) << r.out.substr(0, 40);
    EXPECT_NE(r.err.find("1 of 2 numbers not found (1 of them malformed)"), std::string::npos)
        << r.err;
    EXPECT_EQ(cli({"where"}, "(139) 0101-0000 ext 12\n").out,
              "13901010000\t1390101\t北京市\t北京市\t中国移动\t010\n");
}

// A city text that stands for every city needs --all, on every command that takes --city;
// with it, the run is the whole store's.
TEST_F(CliTest, ACityTextForEveryCityNeedsAll) {
    const std::string everything = cli({"query", "--all"}).out;
    const std::string wholeCount = cli({"all", "--count"}, everything).out;
    ASSERT_EQ(wholeCount, std::to_string(6 * 10000) + "\n");
    for (const std::string city : {"", " ", "%", "_", "__"}) {
        for (const auto& command : std::vector<std::vector<std::string>>{
                 {"all", "--count"}, {"pretty", "--count"}, {"match", "AAAA", "--count"}}) {
            auto args = command;
            args.insert(args.end(), {"--city", city});
            const auto refused = cli(args);
            EXPECT_EQ(refused.status, 2) << city;
            EXPECT_EQ(refused.out, "");
            EXPECT_NE(refused.err.find("add --all"), std::string::npos) << refused.err;
        }
        EXPECT_EQ(cli({"all", "--count", "--city", city, "--all"}).out, wholeCount) << city;
    }
}

// Lock faults name the lock file, not the store; a store unreadable for its mode says so.
TEST_F(CliTest, LockFaultsNameTheLockFile) {
    const std::string db = dir.file("s.db");
    std::filesystem::create_directory(dir.file(".s.db.lock"));
    const auto r = cli({"import", HAOMA_SEGMENT_CSV, "--db", db});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("its lock file " + dir.file(".s.db.lock") + ": Is a directory"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(db));
}

// The details of the command line: -- before a pattern, repeated --without, the note of a
// long line that gives nothing.
TEST_F(CliTest, CommandLineDetails) {
    const auto direct = cli({"match", "A+++", "1380013"});
    ASSERT_EQ(direct.status, 0) << direct.err;
    EXPECT_EQ(cli({"match", "--", "A+++", "1380013"}).out, direct.out);
    EXPECT_FALSE(direct.out.empty());
    const auto merged = cli({"all", "--count", "--without", "47", "1380013"});
    const auto repeated = cli({"all", "--count", "--without", "4", "--without", "7", "1380013"});
    EXPECT_EQ(repeated.status, 0) << repeated.err;
    EXPECT_EQ(repeated.out, merged.out);
    EXPECT_EQ(merged.out, std::to_string(8 * 8 * 8 * 8) + "\n");
    const auto letter = cli({"all", "13800138000a"});
    EXPECT_EQ(letter.out, "");
    EXPECT_NE(letter.err.find("so it gives no numbers"), std::string::npos) << letter.err;
}

}  // namespace
}  // namespace haoma::cli
