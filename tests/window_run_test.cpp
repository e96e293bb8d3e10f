// SPDX-License-Identifier: MIT
// The two generation runs driven through the window.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <sstream>

#include "app/messages.h"
#include "app/run_driver.h"
#include "cli/cli.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

const char* const kIndicators[] = {"按钮1四同号", "按钮正四顺", "按钮反四顺",
                                   "按钮1三同号", "按钮正三顺", "按钮反三顺",
                                   "按钮aabb",    "按钮abab",   "按钮abba"};

class RunTest : public WindowTest {
  protected:
    QStringList results() const {
        QString text = box("编辑框2")->toPlainText();
        if (text.endsWith('\n')) {
            text.chop(1);
        }
        return text.isEmpty() ? QStringList() : text.split('\n');
    }
    void segments(const QString& lines) { box("编辑框1")->setPlainText(lines); }
    void total(const QString& text) { find<QLineEdit>("编辑框生成总数")->setText(text); }
    void tick(const char* name, bool on = true) { find<QCheckBox>(name)->setChecked(on); }
    void allNumbersMode() { click("单选框全部号"); }
    QString msg(const char* text) const { return QString::fromUtf8(text); }
};

TEST_F(RunTest, PrettyReplacesANonPositiveTotalFirst) {
    for (const char* text : {"", "abc", "0", "-5", "－3"}) {
        total(text);
        click("按钮靓号");  // nothing ticked: the run reports and ends
        EXPECT_EQ(find<QLineEdit>("编辑框生成总数")->text(), "1000000") << text;
    }
    total("１２");
    click("按钮靓号");
    EXPECT_EQ(find<QLineEdit>("编辑框生成总数")->text(), "１２");
}

TEST_F(RunTest, PrettyWithoutATickedKindReportsAfterClearingResults) {
    box("编辑框2")->setPlainText("old");
    find<QLabel>("标签总数")->setText("9");
    segments("1380013");
    int prettyDisabled = 0;
    services.onEvents = [&] { prettyDisabled += enabled("按钮靓号") ? 0 : 1; };
    click("按钮靓号");
    EXPECT_EQ(services.messages, QStringList{msg(app::messages::kNoPatternTicked)});
    EXPECT_TRUE(box("编辑框2")->toPlainText().isEmpty());
    EXPECT_EQ(caption("标签总数"), "0");
    EXPECT_TRUE(enabled("按钮1查询"));
    EXPECT_TRUE(enabled("按钮靓号"));
    EXPECT_EQ(prettyDisabled, 0);
    for (const char* name : kIndicators) {
        EXPECT_FALSE(enabled(name));
    }
}

TEST_F(RunTest, PrettyStopsAtThePlannedTotalAndLaterKindsStopAtOnce) {
    total("5");
    segments("1380013\r\n");
    tick("选择框四同");
    tick("选择框三同");
    click("按钮靓号");
    EXPECT_EQ(results(), QStringList({"13800130000", "13800131111", "13800132222", "13800133333",
                                      "13800134444"}));
    EXPECT_EQ(caption("标签总数"), "5");
    EXPECT_TRUE(enabled("按钮1四同号"));
    EXPECT_TRUE(enabled("按钮1三同号"));
    EXPECT_FALSE(enabled("按钮正四顺"));
    EXPECT_TRUE(enabled("按钮1查询"));
    EXPECT_TRUE(enabled("按钮靓号"));
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(RunTest, PrettyAllKindsOnOneSegmentGive529) {
    segments("1380013");
    click("选择框1");
    click("按钮靓号");
    EXPECT_EQ(results().size(), 529);
    EXPECT_EQ(results().removeDuplicates(), 0);
    EXPECT_EQ(caption("标签总数"), "529");
    for (const char* name : kIndicators) {
        EXPECT_TRUE(enabled(name)) << name;
    }
}

TEST_F(RunTest, PrettyOutsideItsModeWarnsAndGoesOn) {
    segments("1380013");
    tick("选择框四同");
    allNumbersMode();  // enables the other button; the run may still be started
    window->RunPrettyNumbers();
    EXPECT_EQ(services.messages, QStringList{msg(app::messages::kPrettyModeNotSelected)});
    EXPECT_EQ(results().size(), 10);
}

TEST_F(RunTest, PrettyWithAnEmptySegmentBox) {
    tick("选择框abab");
    click("按钮靓号");
    EXPECT_EQ(services.messages, QStringList{msg(app::messages::kNoSegments)});
    EXPECT_TRUE(enabled("按钮1查询"));
    EXPECT_TRUE(enabled("按钮靓号"));
    EXPECT_FALSE(enabled("按钮abab"));
}

TEST_F(RunTest, SegmentBoxEmptiedDuringARunReportsForEachLaterKind) {
    segments("1380013");
    tick("选择框四同");
    tick("选择框正四顺");
    tick("选择框三同");
    services.onEvents = [&] { box("编辑框1")->clear(); };
    click("按钮靓号");
    EXPECT_EQ(results().size(), 10);  // AAAA had its turn before the box was emptied
    EXPECT_EQ(services.messages,
              QStringList({msg(app::messages::kNoSegments), msg(app::messages::kNoSegments)}));
    EXPECT_TRUE(enabled("按钮1四同号"));
    EXPECT_FALSE(enabled("按钮正四顺"));
    EXPECT_FALSE(enabled("按钮1三同号"));
}

TEST_F(RunTest, ACheckBoxCountsWhenItsKindsTurnComes) {
    segments("1380013");
    tick("选择框四同");
    tick("选择框三同");
    services.onEvents = [&] {
        tick("选择框三同", false);
        tick("选择框abba");
    };
    click("按钮靓号");
    const auto lines = results();
    ASSERT_EQ(lines.size(), 10 + 90);
    EXPECT_EQ(lines[10], "13800130110");  // ABBA's first
}

TEST_F(RunTest, IndicatorsAreGreyOnlyInsideASegment) {
    segments("1380013\r\n1390000\r\n139000012345");
    tick("选择框三同");
    window->runs().setSliceLimit(45);
    QList<bool> states;
    services.onEvents = [&] { states << enabled("按钮1三同号"); };
    click("按钮靓号");
    // 90 numbers per segment in slices of 45: inside, between, inside, between, and once
    // more after passing the line that is too long.
    EXPECT_EQ(states, QList<bool>({false, true, false, true, true}));
    EXPECT_TRUE(enabled("按钮1三同号"));
}

TEST_F(RunTest, AllNumbersStopAfterThePlannedTotal) {
    struct Case {
        QString total;
        QString segments;
        qsizetype count;
        QString first, last;
    };
    const Case cases[] = {
        {"3", "1380013", 3, "13800130000", "13800130002"},
        {"", "1380013", 1, "13800130000", "13800130000"},
        {"0", "1380013", 1, "13800130000", "13800130000"},
        {"15000", "1380013\r\n1390000", 15000, "13800130000", "13900004999"},
        {"100", "12345678901\r\n123456789012\r\n13800138", 100, "12345678901", "13800138098"},
    };
    allNumbersMode();
    for (const auto& c : cases) {
        total(c.total);
        segments(c.segments);
        click("按钮全顺序数");
        const auto lines = results();
        ASSERT_EQ(lines.size(), c.count) << c.total.toStdString();
        EXPECT_EQ(lines.front(), c.first);
        EXPECT_EQ(lines.back(), c.last);
        EXPECT_EQ(caption("标签总数"), QString::number(c.count));
        EXPECT_EQ(find<QLineEdit>("编辑框生成总数")->text(), c.total);
    }
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_TRUE(enabled("按钮1查询"));
    EXPECT_TRUE(enabled("按钮全顺序数"));
    EXPECT_FALSE(enabled("按钮靓号"));
    for (const char* name : kIndicators) {
        EXPECT_FALSE(enabled(name));
    }
}

TEST_F(RunTest, AllNumbersMessages) {
    segments("1380013");
    total("2");
    window->RunAllNumbers();  // pretty mode is selected
    EXPECT_EQ(services.messages, QStringList{msg(app::messages::kAllModeNotSelected)});
    EXPECT_EQ(results().size(), 2);

    services.messages.clear();
    allNumbersMode();
    segments("");
    box("编辑框2")->setPlainText("old");
    click("按钮全顺序数");
    EXPECT_EQ(services.messages, QStringList{msg(app::messages::kNoSegments)});
    EXPECT_TRUE(results().isEmpty());
    EXPECT_EQ(caption("标签总数"), "0");
    EXPECT_TRUE(enabled("按钮1查询"));
}

TEST_F(RunTest, ClearingResultsDuringARunCountsOnFromZero) {
    allNumbersMode();
    segments("1380013\r\n1380014\r\n1380015");
    total("25000");
    window->runs().setSliceLimit(1000);
    int rounds = 0;
    services.onEvents = [&] {
        if (++rounds == 3) {
            click("按钮6");
        }
    };
    click("按钮全顺序数");
    const auto lines = results();
    EXPECT_EQ(lines.size(), 22000);
    EXPECT_EQ(caption("标签总数"), "22000");
    EXPECT_EQ(lines.back(), "13800154999");  // the run still stops at its own count
}

TEST_F(RunTest, ASecondRunIsRefusedWhileOneIsActive) {
    allNumbersMode();
    segments("1380013\r\n1380014");
    total("20000");
    window->runs().setSliceLimit(500);
    int attempts = 0;
    services.onEvents = [&] {
        if (enabled("按钮全顺序数")) {
            ++attempts;
            click("按钮全顺序数");
        }
        window->RunPrettyNumbers();
    };
    click("按钮全顺序数");
    EXPECT_GT(attempts, 0);
    EXPECT_EQ(results().size(), 20000);
    EXPECT_EQ(results().back(), "13800149999");
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(RunTest, AFullResultBoxStopsTheRunWithAMessage) {
    window->runs().setResultCapacity(25);
    allNumbersMode();
    segments("1380013");
    click("按钮全顺序数");
    EXPECT_EQ(results().size(), 25);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_TRUE(services.messages[0].contains("25"));
    EXPECT_TRUE(enabled("按钮全顺序数"));
    EXPECT_TRUE(enabled("按钮1查询"));

    services.messages.clear();
    click("单选框仅靓号");
    click("选择框1");
    click("按钮靓号");
    EXPECT_EQ(results().size(), 25);
    EXPECT_EQ(services.messages.size(), 1);
    EXPECT_TRUE(enabled("按钮靓号"));
}

// The message says that numbers were left out: none when the box filled up exactly with
// the last number the run had, or when the planned total or over-long lines ended it.
TEST_F(RunTest, AFullBoxSaysSoOnlyWhenANumberWasStillToCome) {
    struct Case {
        const char* segments;
        const char* total;
        bool allNumbers;
        int capacity;
        int results;
        bool message;
    };
    const Case cases[] = {
        {"13800138", "1000000", true, 1000, 1000, false},  // exactly the run's numbers
        {"13800138", "1000000", true, 999, 999, true},     // one more was to come
        {"1380013", "25", true, 25, 25, false},            // the planned total ends it
        {"13800138\r\n123456789012", "1000000", true, 1000, 1000, false},  // the rest too long
        {"1380013", "1000000", false, 529, 529, false},  // every pretty number, exactly
        {"1380013", "1000000", false, 528, 528, true},
        {"1380013", "10", false, 10, 10, false},
    };
    for (const auto& c : cases) {
        services.messages.clear();
        window->runs().setResultCapacity(c.capacity);
        segments(c.segments);
        total(c.total);
        if (c.allNumbers) {
            allNumbersMode();
            click("按钮全顺序数");
        } else {
            click("单选框仅靓号");
            if (!find<QCheckBox>("选择框1")->isChecked()) {
                click("选择框1");
            }
            click("按钮靓号");
        }
        EXPECT_EQ(results().size(), c.results) << c.segments << " " << c.capacity;
        EXPECT_EQ(services.messages.size(), c.message ? 1 : 0) << c.segments << " " << c.capacity;
    }
}

TEST_F(RunTest, ABlankLineWithASmallTotalFinishesAtOnce) {
    segments("\r\n");  // one empty entry: 10^11 fillers
    total("4");
    allNumbersMode();
    click("按钮全顺序数");
    EXPECT_EQ(results(), QStringList({"00000000000", "00000000001", "00000000002", "00000000003"}));
    click("单选框仅靓号");
    click("选择框1");
    click("按钮靓号");
    EXPECT_EQ(results(), QStringList({"00000000000", "00000001111", "00000002222", "00000003333"}));
}

TEST_F(RunTest, TheCommandLineGivesTheSameNumbers) {
    const QString lines = "1380013\r\n13800138\r\n\r\n138001\r\n123456789012\r\n北京1\r\n1380013";
    const auto commandLine = [&](std::vector<std::string> args) {
        std::istringstream in(lines.toStdString());
        std::ostringstream out, err;
        EXPECT_EQ(cli::run(args, in, out, err, {}), 0) << err.str();
        QString text = QString::fromStdString(out.str());
        text.chop(1);
        return text.split('\n');
    };
    segments(lines);
    total("3000");
    click("选择框1");
    click("按钮靓号");
    EXPECT_EQ(results(), commandLine({"pretty", "--limit", "3000"}));

    find<QCheckBox>("选择框三同")->setChecked(false);
    find<QCheckBox>("选择框aabb")->setChecked(false);
    click("按钮靓号");
    EXPECT_EQ(results(), commandLine({"pretty", "--limit", "3000", "--kinds",
                                      "AAAA,ABCD,DCBA,ABC,CBA,ABAB,ABBA"}));

    allNumbersMode();
    total("25000");
    click("按钮全顺序数");
    EXPECT_EQ(results(), commandLine({"all", "--limit", "25000"}));
}

TEST(RunProcess, CloseDuringARunEndsTheProcessAtOnce) {
    // As the program runs: the close request stops the run at its next slice, the event
    // loop ends with status 0, and the application is torn down normally.
    EXPECT_EXIT(
        {
            app::Services services;
            app::MainWindow window(services);
            window.StartUp();
            window.show();
            QString lines;
            for (int i = 0; i < 1000; ++i) {
                lines += QString::number(1380000 + i) + "\r\n";
            }
            window.control<app::TextBox>("编辑框1")->setPlainText(lines);
            window.control<QLineEdit>("编辑框生成总数")->setText("10000000");
            QTest::mouseClick(window.control<QRadioButton>("单选框全部号"), Qt::LeftButton);
            QTimer::singleShot(0, &window, [&] {
                QTest::mouseClick(window.control<QPushButton>("按钮全顺序数"), Qt::LeftButton);
            });
            QTimer::singleShot(30, &window, &QWidget::close);
            const int status = QApplication::exec();
            const bool stoppedEarly = window.control<QLabel>("标签总数")->text() != "10000000";
            std::exit(status == 0 && stoppedEarly && window.isHidden() ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace haoma::test
