// SPDX-License-Identifier: MIT
// Opening the segment store at start-up and the segment query through the window.
#include <sqlite3.h>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QTest>
#include <fstream>

#include "app/messages.h"
#include "lookup/store_writer.h"
#include "temp_dir.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

const char* const kIndicators[] = {"按钮1四同号", "按钮正四顺", "按钮反四顺",
                                   "按钮1三同号", "按钮正三顺", "按钮反三顺",
                                   "按钮aabb",    "按钮abab",   "按钮abba"};

void writeSmallStore(const TempDir& dir) {
    const std::vector<lookup::SegmentRow> rows = {
        {"1390101", "北京市", "北京市", "中国移动", "", ""},
        {"1300101", "北京市", "北京市", "中国联通", "", ""},
        {"1330101", "北京市", "北京市", "中国电信", "", ""},
        {"1380013", "广东省", "广州市", "中国移动", "", ""},
        {"1700000", "湖北省", "江北100%区", "中国电信(虚拟运营商)", "", ""},
    };
    ASSERT_EQ(lookup::writeStore(dir.file("mobile.db"), rows, {}), "");
}

class QueryTest : public WindowTest {
  protected:
    void SetUp() override {
        writeSmallStore(dir);
        services.programDirectoryOverride = QString::fromStdString(dir.path().string());
        WindowTest::SetUp();
    }
    void query(const QString& city, const char* carrier = "单选框不限") {
        find<QLineEdit>("编辑框_出发地")->setText(city);
        click(carrier);
        click("按钮1查询");
    }
    TempDir dir;
};

TEST_F(QueryTest, FillsTheSegmentBoxAndTheCount) {
    struct Case {
        QString city;
        const char* carrier;
        QString lines;
    };
    const Case cases[] = {
        {"北京", "单选框不限", "1300101\n1330101\n1390101\n"},
        {"北京", "单选框移动", "1390101\n"},
        {"北京", "单选框联通", "1300101\n"},
        {"北京", "单选框电信", "1330101\n"},
        {"北", "单选框不限", "1300101\n1330101\n1390101\n1700000\n"},
        {"   ", "单选框电信", "1330101\n1700000\n"},
        {" 广州\u3000", "单选框不限", "1380013\n"},
        {"0%", "单选框不限", "1700000\n"},
        {"广_", "单选框不限", "1380013\n"},
        {"O'Brien", "单选框不限", ""},
        {"上海", "单选框不限", ""},
        {"广州", "单选框电信", ""},
    };
    for (const auto& c : cases) {
        box("编辑框1")->setPlainText("old");
        services.messages.clear();
        query(c.city, c.carrier);
        EXPECT_EQ(box("编辑框1")->toPlainText(), c.lines) << c.city.toStdString();
        EXPECT_EQ(caption("标签号段数"), QString::number(c.lines.count('\n')));
        EXPECT_EQ(find<QLineEdit>("编辑框_出发地")->text(), c.city);
        EXPECT_TRUE(enabled("按钮1查询"));
        // An empty answer is said, with its reason: no such place, or not for that carrier.
        if (c.lines.isEmpty()) {
            ASSERT_EQ(services.messages.size(), 1) << c.city.toStdString();
            const QString reason =
                c.city == "广州" ? QString::fromUtf8(app::messages::kNoCarrierSegments).arg(c.city)
                                 : QString::fromUtf8(app::messages::kNoSuchPlace).arg(c.city);
            EXPECT_EQ(services.messages[0], reason);
        } else {
            EXPECT_TRUE(services.messages.isEmpty()) << c.city.toStdString();
        }
    }
}

TEST_F(QueryTest, CopiedSegmentsEndEachLineWithCrLf) {
    query("北京");
    click("按钮2");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1300101\r\n1330101\r\n1390101\r\n");
}

TEST_F(QueryTest, LeavesTheIndicatorsDisabled) {
    find<QLineEdit>("编辑框生成总数")->setText("5");
    box("编辑框1")->setPlainText("1380013");
    click("选择框1");
    click("按钮靓号");
    EXPECT_TRUE(enabled("按钮aabb"));
    query("广州");
    for (const char* name : kIndicators) {
        EXPECT_FALSE(enabled(name)) << name;
    }
}

TEST_F(QueryTest, AnEmptyCityStillClearsThePreviousResult) {
    query("北京");
    find<QPushButton>("按钮1查询")->setEnabled(true);
    query("");
    EXPECT_TRUE(box("编辑框1")->toPlainText().isEmpty());
    EXPECT_EQ(caption("标签号段数"), "0");
    EXPECT_EQ(services.messages, QStringList{QString::fromUtf8(app::messages::kNoCity)});
    EXPECT_TRUE(enabled("按钮1查询"));
}

struct BadStore {
    const char* name;
    std::string bytes;  // empty: no file at all
};

// Test names must not carry the bytes (or their addresses) of a case.
void PrintTo(const BadStore& store, std::ostream* out) {
    *out << store.name;
}

class FailedOpenTest : public ::testing::TestWithParam<BadStore> {};

TEST_P(FailedOpenTest, ShowsTheMessageOnceBeforeTheWindowAndQueriesFindNothing) {
    TempDir dir;
    if (!GetParam().bytes.empty()) {
        dir.write("mobile.db", GetParam().bytes);
    }
    RecordingServices services;
    services.programDirectoryOverride = QString::fromStdString(dir.path().string());
    app::MainWindow window(services);
    bool visibleAtMessage = true;
    window.StartUp();
    visibleAtMessage = window.isVisible();
    window.show();
    const QString store = QString::fromStdString(dir.file("mobile.db"));
    ASSERT_EQ(services.messages.size(), 1);
    // The message names the file and the remedy.
    EXPECT_TRUE(services.messages[0].startsWith(QString::fromUtf8(app::messages::kDatabaseFailed)));
    EXPECT_TRUE(services.messages[0].contains(store)) << services.messages[0].toStdString();
    EXPECT_TRUE(services.messages[0].contains("haoma-cli import"));
    EXPECT_FALSE(visibleAtMessage);
    window.control<app::TextBox>("编辑框1")->setPlainText("1380013\r\n");
    window.control<QLineEdit>("编辑框_出发地")->setText("北京");
    QTest::mouseClick(window.control<QPushButton>("按钮1查询"), Qt::LeftButton);
    EXPECT_TRUE(window.control<app::TextBox>("编辑框1")->toPlainText().isEmpty());
    EXPECT_EQ(window.control<QLabel>("标签号段数")->text(), "0");
    // Each query says again that the store cannot be read: never an empty answer alone.
    ASSERT_EQ(services.messages.size(), 2);
    EXPECT_TRUE(services.messages[1].startsWith("号段库 " + store + " 无法打开（"))
        << services.messages[1].toStdString();
    EXPECT_TRUE(window.control<QPushButton>("按钮1查询")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Stores, FailedOpenTest,
    ::testing::Values(BadStore{"Missing", ""}, BadStore{"Binary", std::string("\0", 1) + "zero"},
                      BadStore{"DamagedHeader", std::string("SQLite format 3\0garbage", 24)},
                      BadStore{"RandomPage", std::string(4096, '\x5A')}),
    [](const ::testing::TestParamInfo<BadStore>& store) { return std::string(store.param.name); });

TEST(FailedOpen, AnotherSqliteFileOrATruncatedStore) {
    TempDir source;
    writeSmallStore(source);
    std::ifstream in(source.file("mobile.db"), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string good = bytes.str();
    TempDir foreign;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.file("mobile.db").c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE contacts (name, phone); INSERT INTO contacts VALUES ('a', 1);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    TempDir truncated;
    truncated.write("mobile.db", good.substr(0, good.size() / 3));
    for (const TempDir* dir : {&foreign, &truncated}) {
        RecordingServices services;
        services.programDirectoryOverride = QString::fromStdString(dir->path().string());
        app::MainWindow window(services);
        window.StartUp();
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_TRUE(
            services.messages[0].startsWith(QString::fromUtf8(app::messages::kDatabaseFailed)));
        EXPECT_TRUE(services.messages[0].contains(QString::fromStdString(dir->file("mobile.db"))));
    }
}

TEST(DamagedStore, AQueryThatFailsSaysSoInsteadOfShowingNoRows) {
    TempDir dir;
    std::vector<lookup::SegmentRow> rows;
    for (int i = 0; i < 20000; ++i) {
        rows.push_back({std::to_string(1300000 + i), "北京", "北京", "中国联通", "010", ""});
    }
    ASSERT_EQ(lookup::writeStore(dir.file("mobile.db"), rows, {}), "");
    RecordingServices services;
    services.programDirectoryOverride = QString::fromStdString(dir.path().string());
    app::MainWindow window(services);
    window.StartUp();
    ASSERT_TRUE(services.messages.isEmpty());
    // Damaged after the start: 4 KB of garbage over pages of the file.
    {
        std::fstream file(dir.file("mobile.db"), std::ios::in | std::ios::out | std::ios::binary);
        for (long page = 2; page < 40; ++page) {
            file.seekp(page * 4096);
            file.write(std::string(4096, '\x5A').data(), 4096);
        }
    }
    window.control<app::TextBox>("编辑框1")->setPlainText("old");
    window.control<QLineEdit>("编辑框_出发地")->setText("北京");
    QTest::mouseClick(window.control<QPushButton>("按钮1查询"), Qt::LeftButton);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0], QString::fromUtf8(app::messages::kStoreDamaged)
                                        .arg(QString::fromStdString(dir.file("mobile.db"))));
    EXPECT_TRUE(window.control<app::TextBox>("编辑框1")->toPlainText().isEmpty());
    EXPECT_EQ(window.control<QLabel>("标签号段数")->text(), "0");
    EXPECT_TRUE(window.control<QPushButton>("按钮1查询")->isEnabled());
}

TEST(StoreLocation, TheUsersImportedStoreComesFirst) {
    TempDir installed;
    TempDir user;
    writeSmallStore(installed);
    ASSERT_EQ(lookup::writeStore(user.file("mobile.db"),
                                 {{"1990000", "上海", "上海", "中国电信", "021", ""}}, {}),
              "");
    RecordingServices services;
    services.programDirectoryOverride = QString::fromStdString(installed.path().string());
    services.userDataDirectoryOverride = QString::fromStdString(user.path().string());
    app::MainWindow window(services);
    window.StartUp();
    window.control<QLineEdit>("编辑框_出发地")->setText("上海");
    QTest::mouseClick(window.control<QPushButton>("按钮1查询"), Qt::LeftButton);
    EXPECT_EQ(window.control<app::TextBox>("编辑框1")->toPlainText(), "1990000\n");
}

TEST(StoreLocation, FoundBesideTheProgramFromAnotherWorkingDirectory) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QDir::tempPath()));
    RecordingServices services;
    app::MainWindow window(services);
    window.StartUp();
    EXPECT_TRUE(services.messages.isEmpty());
    window.control<QLineEdit>("编辑框_出发地")->setText("北京");
    QTest::mouseClick(window.control<QPushButton>("按钮1查询"), Qt::LeftButton);
    EXPECT_GT(window.control<QLabel>("标签号段数")->text().toInt(), 10000);
    QDir::setCurrent(before);
}

}  // namespace
}  // namespace haoma::test
