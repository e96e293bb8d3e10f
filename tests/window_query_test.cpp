// SPDX-License-Identifier: MIT
// Opening the segment store at start-up and the segment query through the window.
#include <sqlite3.h>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/messages.h"
#include "app/region_dialog.h"
#include "app/where_dialog.h"
#include "cli/cli.h"
#include "lookup/store_writer.h"
#include "temp_dir.h"
#include "text/text.h"
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

// 按省份或区号查号段 from the segment box's context menu fills the box with the lines that
// haoma-cli query --province / --area-code prints, with the main window's carrier choice.
TEST_F(WindowTest, TheRegionDialogFillsTheSegmentBoxAsTheCommandLineQueries) {
    const std::string store = QCoreApplication::applicationDirPath().toStdString() + "/mobile.db";
    const auto cliLines = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--db", store, "--crlf"});
        std::istringstream in;
        std::ostringstream out, err;
        cli::Environment environment;
        EXPECT_EQ(cli::run(args, in, out, err, environment), 0) << err.str();
        return out.str();
    };
    auto* action = window->findChild<QAction*>("动作按地区查号段");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(window->findChild<app::RegionDialog*>(), nullptr);  // made when first opened
    action->trigger();
    auto* dialog = window->findChild<app::RegionDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "按省份或区号查号段");
    auto* provinces = dialog->findChild<QComboBox*>("省份");
    auto* areaCode = dialog->findChild<QLineEdit*>("区号");
    ASSERT_NE(provinces, nullptr);
    ASSERT_NE(areaCode, nullptr);
    EXPECT_EQ(provinces->accessibleName(), "省份");
    // In the order of the division codes, starting on none.
    ASSERT_EQ(provinces->count(), 32);
    EXPECT_EQ(provinces->currentText(), "");
    QStringList listed;
    for (int at = 1; at < provinces->count(); ++at) {
        listed << provinces->itemText(at);
    }
    EXPECT_EQ(listed.mid(0, 5), QStringList({"北京", "天津", "河北", "山西", "内蒙古"}));
    EXPECT_EQ(listed.last(), "新疆");
    QTest::mouseClick(dialog->findChild<QPushButton*>("查询"), Qt::LeftButton);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages.takeFirst(), QString::fromUtf8(app::messages::kNoRegionChosen));
    struct Case {
        const char* province;
        const char* code;
        const char* carrier;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"广东", "", "单选框不限", {"query", "--province", "广东"}},
        {"西藏", "", "单选框移动", {"query", "--province", "西藏", "--carrier", "移动"}},
        {"广东", "0755", "单选框电信", {"query", "--area-code", "0755", "--carrier", "电信"}},
        {"北京", "755", "单选框不限", {"query", "--area-code", "755"}},
    };
    for (const auto& c : cases) {
        click(c.carrier);
        provinces->setCurrentText(QString::fromUtf8(c.province));
        areaCode->setText(QString::fromUtf8(c.code));
        QTest::mouseClick(dialog->findChild<QPushButton*>("查询"), Qt::LeftButton);
        const std::string expected = cliLines(c.args);
        // Compared whole, bytes as the box holds them (a diff of 10,000 lines would be slow).
        EXPECT_TRUE(std::string(box("编辑框1")->utf8View()) == expected) << c.province << c.code;
        EXPECT_EQ(caption("标签号段数").toLongLong(),
                  std::count(expected.begin(), expected.end(), '\n'));
        // The city box shows what was queried.
        EXPECT_EQ(find<QLineEdit>("编辑框_出发地")->text(),
                  *c.code != '\0' ? QString::fromUtf8(c.code) : QString::fromUtf8(c.province));
    }
    EXPECT_TRUE(services.messages.isEmpty());
    // An area code with no segments says so; so does a province with none of the carrier.
    click("单选框不限");
    areaCode->setText("9999");
    QTest::mouseClick(dialog->findChild<QPushButton*>("查询"), Qt::LeftButton);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages.takeFirst(),
              QString::fromUtf8(app::messages::kNoAreaCode).arg("9999"));
    EXPECT_EQ(caption("标签号段数"), "0");
    // Esc closes the dialog only.
    QTest::keyClick(areaCode, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(services.exitCodes.size(), 0U);
}

// A city text that is a province, a place of several cities, or a place the data files under
// another city: each says so, and a province opens its dialog with the province chosen.
TEST_F(WindowTest, CityTextsThatAreNoCitySaySo) {
    const auto query = [&](const char* typed) {
        services.messages.clear();
        find<QLineEdit>("编辑框_出发地")->setText(QString::fromUtf8(typed));
        click("按钮1查询");
    };
    query("海南");
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0],
              QString::fromUtf8(app::messages::kProvinceAsCity).arg("海南", "海南"));
    auto* dialog = window->findChild<app::RegionDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->province(), "海南");
    EXPECT_EQ(caption("标签号段数"), "0");
    dialog->close();
    query("朝阳区");
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0],
              QString::fromUtf8(app::messages::kSharedPlace).arg("朝阳区", "北京、长春"));
    query("西咸新区");
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0],
              QString::fromUtf8(app::messages::kSpanningPlace).arg("西咸新区", "西安、咸阳"));
    query("琼海");
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0],
              QString::fromUtf8(app::messages::kFiledPlace).arg("琼海", "海口"));
    EXPECT_EQ(find<QLineEdit>("编辑框_出发地")->text(), "海口");
    EXPECT_GT(caption("标签号段数").toInt(), 1000);
    query("浦东");
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(find<QLineEdit>("编辑框_出发地")->text(), "上海");
}

// 号码归属地 (Ctrl+L): pasted numbers in any layout give, line for line, what haoma-cli where
// --crlf gives for the same text (a blank line an empty row); the count of found and not
// found; the copy and the save write those same bytes.
TEST_F(WindowTest, TheWhereDialogAnswersAsTheCommandLine) {
    find<app::TextBox>("编辑框1")->setFocus();
    QTest::keyClick(find<app::TextBox>("编辑框1"), Qt::Key_L, Qt::ControlModifier);
    auto* dialog = window->findChild<app::WhereDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "号码归属地");
    const std::string pasted =
        "13800138000\n+86 139 0101 0000, 1921234;abc\t138-0013-8000  0086 18912345678\n"
        "\n19912345678 12000000000";
    dialog->input()->setPlainText(QString::fromStdString(pasted));
    QTest::mouseClick(dialog->findChild<QPushButton*>("查询"), Qt::LeftButton);
    std::istringstream in(pasted);
    std::ostringstream out, err;
    const std::string store = QCoreApplication::applicationDirPath().toStdString() + "/mobile.db";
    EXPECT_EQ(cli::run({"where", "--crlf", "--db", store}, in, out, err, cli::Environment{}), 1);
    EXPECT_EQ(dialog->answerText(), out.str());
    EXPECT_EQ(dialog->findChild<QLabel*>("统计")->text(),
              "找到 6 个，未找到 3 个：空行 1 个，不是 7 到 11 位数字 1 个，不是手机号（13 到 19 "
              "开头） 1 个");
    EXPECT_EQ(dialog->output()->accessibleName(), "查询结果");
    // The table: the six fields of each row as the text has them, the reason beside them,
    // each heading over its column.
    const auto* table = dialog->output()->model();
    const std::string answer = out.str();
    const auto rows = text::lines(answer);
    ASSERT_EQ(table->rowCount(), static_cast<int>(rows.size()));
    ASSERT_EQ(table->columnCount(), 7);
    for (int row = 0; row < table->rowCount(); ++row) {
        const auto fields = text::split(rows[static_cast<std::size_t>(row)], "\t");
        for (int column = 0; column < 6; ++column) {
            const std::string expected = static_cast<std::size_t>(column) < fields.size()
                                             ? fields[static_cast<std::size_t>(column)]
                                             : "";
            EXPECT_EQ(table->index(row, column).data().toString().toStdString(), expected)
                << row << " " << column;
        }
        const QString reason = table->index(row, 6).data().toString();
        EXPECT_EQ(reason.isEmpty(), !fields[1].empty()) << row << " " << reason.toStdString();
    }
    EXPECT_EQ(table->index(3, 6).data().toString(), "不是 7 到 11 位数字");
    EXPECT_EQ(table->index(6, 6).data().toString(), "空行");
    const auto* header = dialog->output()->horizontalHeader();
    const QStringList headings = {"号码", "号段", "省份", "城市", "运营商", "区号", "原因"};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(table->headerData(column, Qt::Horizontal).toString(), headings[column]);
        EXPECT_EQ(header->sectionViewportPosition(column),
                  dialog->output()->columnViewportPosition(column));
    }
    EXPECT_EQ(dialog->input()->accessibleName(), "待查号码");

    QTest::mouseClick(dialog->findChild<QPushButton*>("复制"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), out.str());
    TempDir folder;
    services.savePath = QString::fromStdString(folder.file("places.tsv"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("保存到文件"), Qt::LeftButton);
    std::ifstream saved(folder.file("places.tsv"), std::ios::binary);
    std::ostringstream bytes;
    bytes << saved.rdbuf();
    EXPECT_EQ(bytes.str(), out.str());
    EXPECT_TRUE(services.messages.isEmpty());
    QTest::keyClick(dialog->input(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace haoma::test
