// SPDX-License-Identifier: MIT
// 按规则选号 against haoma-cli match and all: the same bytes, the same counts, the same
// error positions.
#include <QComboBox>
#include <QLocale>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <sstream>

#include "app/messages.h"
#include "app/rule_dialog.h"
#include "app/run_driver.h"
#include "cli/cli.h"
#include "generate/pattern_presets.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

struct CliAnswer {
    int status;
    std::string out;
    std::string err;
};

CliAnswer commandLine(const std::vector<std::string>& args, const QString& segments) {
    std::istringstream in(segments.toStdString());
    std::ostringstream out, err;
    const int status = cli::run(args, in, out, err, cli::Environment{});
    return {status, out.str(), err.str()};
}

class RuleTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        QTest::keyClick(find<QWidget>("编辑框_出发地"), Qt::Key_G, Qt::ControlModifier);
        dialog = find<app::RuleDialog>("按规则选号");
    }
    template <class T>
    T* field(const char* name) const {
        return dialog->findChild<T*>(QString::fromUtf8(name));
    }
    // The count label once the changes so far have been counted.
    QString count() {
        QCoreApplication::processEvents();
        return field<QLabel>("共计")->text();
    }
    app::RuleDialog* dialog = nullptr;
};

struct Row {
    const char* rule;      // "preset:NAME" picks the preset from the list
    const char* contains;  // as typed: strings separated by commas or blanks
    const char* without;
    bool noFour;
    int sample;  // 0: no sample
    const char* seed;
    bool shuffle;
    const char* planned;
    bool whole = false;  // 全号
};

TEST_F(RuleTest, GivesWhatTheCommandLineGivesAndCountsIt) {
    const QString boxes[] = {"1380013\r\n\r\n123456789012\r\n北京1\r\n13900",
                             "13800138\r\n1390013\r\n1380013\r\n"};
    const Row rows[] = {
        {"preset:aaaaa", "", "", false, 0, "", false, "5000"},
        {"preset:love", "", "", false, 0, "", false, "5000"},
        {"*520,1314,A+++", "", "", false, 0, "", false, "5000"},
        {"AA", "", "", true, 0, "", false, "5000"},
        {"", "88", "", false, 0, "", false, "3000"},
        {"", "", "", false, 0, "", false, "2500"},
        {"[0-5]*", "", "", false, 50, "42", false, "5000"},
        {"", "", "4", false, 40, "7", true, "5000"},
        {"AB", "1", "", false, 10000, "9", false, "300"},
        {"preset:birthday", "", "09", false, 0, "", false, "1000"},
        {"", "88,66", "", false, 0, "", false, "5000"},
        {"*", "0 1，2", "", false, 0, "", false, "5000"},
        {"", "", "", true, 0, "", false, "5000", true},
        {"AB", "38", "", true, 30, "5", false, "5000", true},
    };
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    for (const QString& segments : boxes) {
        box("编辑框1")->setPlainText(segments);
        for (const Row& row : rows) {
            const std::string rule = row.rule;
            const std::string name = rule.starts_with("preset:") ? rule.substr(7) : "";
            std::vector<std::string> args = {name.empty() ? "all" : "match"};
            if (!name.empty()) {
                args = {"match", "--preset", name};
                auto* presets = field<QComboBox>("预设");
                const auto at = presets->findData(QString::fromStdString(
                    std::string(generate::patternPresetByName(name)->patterns)));
                presets->setCurrentIndex(at);
                emit presets->activated(at);
            } else {
                field<QLineEdit>("规则")->setText(row.rule);
                if (!rule.empty()) {
                    args = {"match", rule};
                }
            }
            field<QCheckBox>("无4")->setChecked(row.noFour);
            field<QCheckBox>("全号")->setChecked(row.whole);
            field<QLineEdit>("含数字")->setText(row.contains);
            field<QLineEdit>("不含数字")->setText(row.noFour ? "4" : row.without);
            field<QCheckBox>("随机抽取")->setChecked(row.sample > 0);
            field<QCheckBox>("打乱顺序")->setChecked(row.shuffle);
            if (row.sample > 0) {
                field<QSpinBox>("抽取个数")->setValue(row.sample);
                field<QLineEdit>("随机种子")->setText(row.seed);
            }
            find<QLineEdit>("编辑框生成总数")->setText(row.planned);
            for (const QString& digits :
                 QString::fromUtf8(row.contains)
                     .split(QRegularExpression(QStringLiteral("[ ,，]+")), Qt::SkipEmptyParts)) {
                args.insert(args.end(), {"--contains", digits.toStdString()});
            }
            if (*row.without != '\0') {
                args.insert(args.end(), {"--without", row.without});
            }
            if (row.noFour) {
                args.insert(args.end(), {"--without", "4"});
            }
            if (row.whole) {
                args.push_back("--whole-number");
            }
            const std::string label = (row.rule + std::string(" over ") + segments.toStdString());
            auto counted = args;
            counted.push_back("--count");
            const auto all = commandLine(counted, segments);
            ASSERT_EQ(all.status, 0) << label << all.err;
            args.insert(args.end(), {"--limit", row.planned, "--crlf"});
            if (row.sample > 0) {
                args.insert(args.end(),
                            {"--sample", std::to_string(row.sample), "--seed", row.seed});
                if (row.shuffle) {
                    args.push_back("--shuffle");
                }
            }
            const std::string shown = count().toStdString();
            field<QPushButton>("生成")->click();
            const auto run = commandLine(args, segments);
            ASSERT_EQ(run.status, 0) << label << run.err;
            EXPECT_EQ(box("编辑框2")->utf8View(), run.out) << label;

            // The count, and what a run then gives: the lines it gave.
            const auto total = std::stoull(all.out);
            const auto given = static_cast<qulonglong>(box("编辑框2")->filledLineCount());
            QString expected = QStringLiteral("共 %1 个号码").arg(chinese.toString(total));
            if (row.sample > 0 && static_cast<qulonglong>(row.sample) > total) {
                expected += QStringLiteral("，比抽取个数少，全部生成");
            } else if (given < total) {
                expected += QStringLiteral("，本次生成 %1 个").arg(chinese.toString(given));
            }
            EXPECT_EQ(shown, expected.toStdString()) << label;
            EXPECT_EQ(caption("标签总数").toULongLong(), given) << label;
        }
    }
    EXPECT_TRUE(services.messages.isEmpty()) << services.messages.join('\n').toStdString();
}

TEST_F(RuleTest, ABadRuleIsShownInChineseWhereTheCommandLinePointsAndBlocksTheRun) {
    box("编辑框1")->setPlainText("1380013");
    for (const char* rule :
         {"AA[", "A,,B", "aaaa", "*5x0", "[9-1]", "+A", "[^0-9]", "123456789012", "12,北京"}) {
        field<QLineEdit>("规则")->setText(rule);
        count();
        const auto answer = commandLine({"match", rule, "1380013"}, "");
        ASSERT_EQ(answer.status, 2) << rule;
        // The caret of the command line, two spaces in, under the byte of the fault.
        const auto caret = answer.err.find("^\n");
        const auto column = caret - answer.err.rfind('\n', caret) - 3;
        const QString error = field<QLabel>("规则错误")->text();
        const auto prefix = QString::fromUtf8(app::messages::kPatternFaultAt);
        const qsizetype characters =
            QString::fromUtf8(std::string(rule).substr(0, column).c_str()).size();
        EXPECT_TRUE(error.startsWith(prefix.arg(characters + 1)))
            << rule << " " << error.toStdString();
        EXPECT_GT(error.size(), prefix.size() + 2) << rule;
        EXPECT_FALSE(field<QPushButton>("生成")->isEnabled()) << rule;
    }
    field<QLineEdit>("规则")->setText("AAAA");
    EXPECT_EQ(count(), QStringLiteral("共 10 个号码"));
    EXPECT_TRUE(field<QLabel>("规则错误")->text().isEmpty());
    EXPECT_TRUE(field<QPushButton>("生成")->isEnabled());
}

TEST_F(RuleTest, FollowsTheSegmentBoxAndStopsAtTheResultBoxCapacity) {
    box("编辑框1")->setPlainText("1380013");
    field<QLineEdit>("规则")->setText("**");
    EXPECT_EQ(count(), QStringLiteral("共 10,000 个号码"));
    box("编辑框1")->appendUtf8("\r\n1390013\r\n");
    EXPECT_EQ(count(), QStringLiteral("共 20,000 个号码"));
    find<QLineEdit>("编辑框生成总数")->setText("-5");  // a run then plans 1,000,000
    EXPECT_EQ(count(), QStringLiteral("共 20,000 个号码"));

    for (const bool sampled : {false, true}) {
        services.messages.clear();
        window->runs().setResultCapacity(700);
        field<QCheckBox>("随机抽取")->setChecked(sampled);
        field<QSpinBox>("抽取个数")->setValue(5000);
        field<QPushButton>("生成")->click();
        EXPECT_EQ(box("编辑框2")->filledLineCount(), 700);
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_EQ(services.messages[0], QString::fromUtf8(app::messages::kResultBoxFull).arg(700));
        EXPECT_EQ(find<QLineEdit>("编辑框生成总数")->text(), "1000000");
    }
}

TEST_F(RuleTest, EscClosesTheDialogOnlyAndCtrlGOpensItAgainWithAFreshSeed) {
    field<QCheckBox>("随机抽取")->setChecked(true);
    const QString seed = field<QLineEdit>("随机种子")->text();
    QTest::keyClick(field<QLineEdit>("规则"), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(services.exitCodes.empty());
    QTest::keyClick(box("编辑框2"), Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(field<QLineEdit>("随机种子")->text(), seed);
    field<QLineEdit>("随机种子")->setText("18446744073709551616");  // one past the largest
    count();
    EXPECT_FALSE(field<QPushButton>("生成")->isEnabled());
    EXPECT_EQ(field<QLabel>("种子错误")->text(), QString::fromUtf8(app::messages::kBadSeed));
    EXPECT_TRUE(field<QLabel>("规则错误")->text().isEmpty());
}

TEST_F(RuleTest, TheWindowAnswersWhileABigSampleIsDrawn) {
    box("编辑框1")->setPlainText("\r\n");  // a blank line: 10^11 numbers to draw from
    find<QLineEdit>("编辑框生成总数")->setText("500000");
    field<QCheckBox>("随机抽取")->setChecked(true);
    field<QSpinBox>("抽取个数")->setValue(500000);
    // The lines in the result box when the window first answers: the sample comes in slices
    // as its ranks are drawn, so the window answers long before it is whole.
    std::optional<qsizetype> linesAtFirstAnswer;
    services.onEvents = [&] {
        if (!linesAtFirstAnswer) {
            linesAtFirstAnswer = box("编辑框2")->filledLineCount();
        }
    };
    field<QPushButton>("生成")->click();
    services.onEvents = nullptr;
    ASSERT_TRUE(linesAtFirstAnswer.has_value());
    EXPECT_LT(*linesAtFirstAnswer, 500000);
    EXPECT_EQ(box("编辑框2")->filledLineCount(), 500000);
}

// 生成 reads 停止 while its run or draw goes on; 停止 ends it between two slices, keeping
// what was written; the count and caption come back. Each kind of run: a walk, a sample in
// order, a shuffled sample (drawn whole first).
TEST_F(RuleTest, StopEndsARunOrADrawKeepingWhatItWrote) {
    box("编辑框1")->setPlainText("\r\n");  // a blank line: 10^11 numbers
    find<QLineEdit>("编辑框生成总数")->setText("20000000");
    for (const int kind : {0, 1, 2}) {
        field<QCheckBox>("随机抽取")->setChecked(kind > 0);
        field<QCheckBox>("打乱顺序")->setChecked(kind == 2);
        field<QSpinBox>("抽取个数")->setValue(20000000);
        auto* run = field<QPushButton>("生成");
        QString captionDuring;
        int answers = 0;
        services.onEvents = [&] {
            if (++answers == 3) {
                captionDuring = run->text();
                run->click();  // 停止
            }
        };
        run->click();
        services.onEvents = nullptr;
        EXPECT_EQ(captionDuring, QStringLiteral("停止(&S)")) << kind;
        EXPECT_EQ(run->text(), QStringLiteral("生成(&G)")) << kind;
        const qsizetype lines = box("编辑框2")->filledLineCount();
        EXPECT_LT(lines, 20000000) << kind;
        EXPECT_EQ(caption("标签总数").toLongLong(), lines) << kind;
        EXPECT_TRUE(services.exitCodes.empty());
    }
}

// 换一批: a new seed, and its sample at once; an empty seed is drawn at the run, and shown.
TEST_F(RuleTest, ANewBatchRunsAtOnceAndAnEmptySeedIsDrawn) {
    box("编辑框1")->setPlainText("1380013");
    field<QCheckBox>("随机抽取")->setChecked(true);
    field<QSpinBox>("抽取个数")->setValue(5);
    field<QPushButton>("生成")->click();
    const std::string first(box("编辑框2")->utf8View());
    const QString seed = field<QLineEdit>("随机种子")->text();
    field<QPushButton>("换一批")->click();
    EXPECT_NE(field<QLineEdit>("随机种子")->text(), seed);
    EXPECT_NE(std::string(box("编辑框2")->utf8View()), first);
    EXPECT_EQ(box("编辑框2")->filledLineCount(), 5);
    field<QLineEdit>("随机种子")->clear();
    count();
    EXPECT_TRUE(field<QPushButton>("生成")->isEnabled());
    field<QPushButton>("生成")->click();
    const QString drawn = field<QLineEdit>("随机种子")->text();
    ASSERT_FALSE(drawn.isEmpty());
    const auto again = commandLine({"all", "--sample", "5", "--seed", drawn.toStdString(),
                                    "--limit", "1000000", "--crlf", "1380013"},
                                   "");
    EXPECT_EQ(box("编辑框2")->utf8View(), again.out);
    // A sample that asks for more than the run has says so in the count line.
    field<QSpinBox>("抽取个数")->setValue(20000);
    EXPECT_EQ(count(), QStringLiteral("共 10,000 个号码，比抽取个数少，全部生成"));
}

// The dialog opens beside the main window, not over its boxes, and keeps its place; an
// error shown moves no control.
TEST_F(RuleTest, OpensBesideTheWindowAndErrorsMoveNothing) {
    EXPECT_FALSE(dialog->frameGeometry().intersects(window->frameGeometry()))
        << "dialog over the window";
    const QPoint shuffle = field<QCheckBox>("打乱顺序")->mapTo(dialog, QPoint());
    const QPoint run = field<QPushButton>("生成")->mapTo(dialog, QPoint());
    field<QLineEdit>("规则")->setText("aa[1-");
    field<QCheckBox>("随机抽取")->setChecked(true);
    field<QLineEdit>("随机种子")->setText("99999999999999999999");
    count();
    EXPECT_FALSE(field<QLabel>("规则错误")->text().isEmpty());
    EXPECT_FALSE(field<QLabel>("种子错误")->text().isEmpty());
    EXPECT_EQ(field<QCheckBox>("打乱顺序")->mapTo(dialog, QPoint()), shuffle);
    EXPECT_EQ(field<QPushButton>("生成")->mapTo(dialog, QPoint()), run);
    dialog->move(dialog->pos() + QPoint(-30, 40));
    const QPoint moved = dialog->pos();
    dialog->close();
    QTest::keyClick(box("编辑框2"), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(dialog->pos(), moved);
}

TEST_F(RuleTest, TabVisitsEveryControlInReadingOrder) {
    field<QCheckBox>("随机抽取")->setChecked(true);
    field<QLineEdit>("规则")->setFocus();
    QStringList visited;
    for (int i = 0; i < 13; ++i) {
        QWidget* focused = dialog->focusWidget();
        ASSERT_NE(focused, nullptr) << visited.join(' ').toStdString();
        visited << focused->objectName();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(visited, QStringList({"规则", "预设", "含数字", "不含数字", "无4", "全号", "随机抽取",
                                    "抽取个数", "打乱顺序", "随机种子", "换一批", "生成", "关闭"}));
}

}  // namespace
}  // namespace haoma::test
