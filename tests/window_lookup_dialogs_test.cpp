// SPDX-License-Identifier: MIT
// The lookup dialogs and city texts that are no city, each against what haoma-cli answers.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
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
#include "temp_dir.h"
#include "text/text.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

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
