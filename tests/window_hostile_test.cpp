// SPDX-License-Identifier: MIT
// Hostile input through the window: huge pastes, odd lines, odd planned totals, odd city
// texts. The window answers within its bounds, shows only its own messages, never crashes.
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "app/messages.h"
#include "app/run_driver.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

class HostileTest : public WindowTest {
  protected:
    qsizetype resultLines() const {
        return box("编辑框2")->lineCount() - (box("编辑框2")->toPlainText().endsWith('\n') ? 1 : 0);
    }
    QString results() const { return box("编辑框2")->toPlainText(); }
    void total(const QString& text) { find<QLineEdit>("编辑框生成总数")->setText(text); }
    void expectOnlyOwnMessages() {
        const QStringList own = {QString::fromUtf8(app::messages::kPrettyModeNotSelected),
                                 QString::fromUtf8(app::messages::kAllModeNotSelected),
                                 QString::fromUtf8(app::messages::kNoPatternTicked),
                                 QString::fromUtf8(app::messages::kNoSegments),
                                 QString::fromUtf8(app::messages::kNoCity)};
        // The reasons of an empty query, which quote the text (its start when long).
        const QString noSuchPlace = QString::fromUtf8(app::messages::kNoSuchPlace);
        const QString before = noSuchPlace.left(noSuchPlace.indexOf(QStringLiteral("%1")));
        for (const auto& message : services.messages) {
            EXPECT_TRUE(own.contains(message) ||
                        (message.startsWith(before) && message.size() < 80))
                << message.toStdString();
        }
    }
};

TEST_F(HostileTest, AFiftyMegabytePasteIntoEitherBox) {
    QString lines;
    lines.reserve(50 * 1024 * 1024);
    while (lines.size() < 50 * 1024 * 1024 / 2) {  // 50 MB of UTF-16
        lines += QStringLiteral("1380013\r\n13800138\r\n");
    }
    QGuiApplication::clipboard()->setText(lines);
    click("按钮4");
    EXPECT_EQ(box("编辑框1")->lineCount(), lines.count('\n') + 1);
    click("按钮7");
    EXPECT_EQ(box("编辑框2")->lineCount(), lines.count('\n') + 1);
    // A run over the pasted segments answers between slices and stops at its total.
    total("20000");
    click("选择框1");
    window->runs().resetSliceStatistics();
    click("按钮靓号");
    EXPECT_EQ(caption("标签总数"), "20000");
    EXPECT_LT(window->runs().longestSliceMs(), 250.0);  // generous: sanitizer builds are slow
    click("按钮6");
    expectOnlyOwnMessages();
}

TEST_F(HostileTest, OneHundredThousandSegmentLines) {
    QString lines;
    for (int i = 0; i < 100'000; ++i) {
        lines += QString::number(1300000 + i) + QStringLiteral("\n");
    }
    box("编辑框1")->setPlainText(lines);
    total("30000");
    click("选择框1");
    click("按钮靓号");
    EXPECT_EQ(resultLines(), 30000);
    click("单选框全部号");
    click("按钮全顺序数");
    EXPECT_EQ(resultLines(), 30000);
    EXPECT_TRUE(results().endsWith("13000029999\n"));
    expectOnlyOwnMessages();
}

TEST_F(HostileTest, OddLinesAreUsedUnchanged) {
    const QString odd = QStringLiteral("😀😀😀\n１３８００１３\n\x01\x02\x7f abc\n北京\n\t\n") +
                        QString(5000, QChar(u'9')) + QStringLiteral("\n\uFFFD\uFFFE");
    box("编辑框1")->setPlainText(odd);
    total("50");
    click("选择框1");
    click("按钮靓号");
    EXPECT_EQ(caption("标签总数"), "50");
    for (const auto& line : results().split('\n', Qt::SkipEmptyParts)) {
        EXPECT_FALSE(line.isEmpty());
    }
    click("单选框全部号");
    click("按钮全顺序数");
    EXPECT_EQ(caption("标签总数"), "50");
    EXPECT_TRUE(results().startsWith(QStringLiteral("😀😀😀00000000\n")));  // an emoji counts one byte
    expectOnlyOwnMessages();
}

TEST_F(HostileTest, OddPlannedTotals) {
    struct Case {
        QString text;
        qsizetype pretty;     // numbers of the pretty run (a non-positive total means 1000000)
        QString prettyAfter;  // the box after the pretty run
        qsizetype all;        // numbers of the all-numbers run
    };
    const Case cases[] = {
        {"2147483648", 529, "1000000", 1},  // wraps to the smallest integer
        {"-0", 529, "1000000", 1},
        {"９９", 99, "９９", 99},
        {QString(200, QChar(u'7')), 0, "", 0},  // the wrapped value decides; checked below
        {"  12abc", 12, "  12abc", 12},
    };
    box("编辑框1")->setPlainText("1380013");
    click("选择框1");
    for (const auto& c : cases) {
        total(c.text);
        click("单选框仅靓号");
        click("按钮靓号");
        const qsizetype pretty = resultLines();
        click("单选框全部号");
        total(c.text);
        click("按钮全顺序数");
        const qsizetype all = resultLines();
        if (c.text.size() == 200) {
            EXPECT_LE(pretty, 529);
            EXPECT_GE(all, 1);
            continue;
        }
        EXPECT_EQ(pretty, c.pretty) << c.text.toStdString();
        EXPECT_EQ(all, c.all) << c.text.toStdString();
    }
    expectOnlyOwnMessages();
}

TEST_F(HostileTest, AllKindsOnBlankLinesWithASmallTotal) {
    box("编辑框1")->setPlainText("\n\n\n");
    total("7");
    click("选择框1");
    // Seven numbers, found without walking the blank lines' whole space first (a run that
    // did would outlast the test's time limit).
    click("按钮靓号");
    EXPECT_EQ(resultLines(), 7);
}

TEST_F(HostileTest, OddCityTexts) {
    const QString cases[] = {QString(10'000, QChar(u'北')), "'", "\"", "%", "_", "%'--", "'%'",
                             QString(10'000, QChar(u'%'))};
    for (const auto& city : cases) {
        find<QLineEdit>("编辑框_出发地")->setText(city);
        click("按钮1查询");
        EXPECT_TRUE(enabled("按钮1查询"));
        const int count = caption("标签号段数").toInt();
        EXPECT_EQ(box("编辑框1")->lineCount() - 1, count);
    }
    expectOnlyOwnMessages();
}

}  // namespace
}  // namespace haoma::test
