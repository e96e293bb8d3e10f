// SPDX-License-Identifier: MIT
// What a user at the keyboard meets: where typing starts and goes on, Esc on an open list,
// Tab in the boxes, a fast double-click on 全, names for assistive technology, a pasted
// byte-order mark, and Qt's own texts in Chinese.
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

#include "app/control_table.h"
#include "app/help_window.h"
#include "generate/pattern_kind.h"
#include "lookup/city_table.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

class UsabilityTest : public WindowTest {
  protected:
    void SetUp() override {
        services.cityTableOverride = lookup::baseCityTable();
        WindowTest::SetUp();
    }
    QLineEdit* city() const { return find<QLineEdit>("编辑框_出发地"); }
    QListWidget* list() const { return find<QListWidget>("列表框_出发地"); }
};

TEST_F(UsabilityTest, TypingStartsInTheCityBoxAndGoesOnThereAfterAPick) {
    EXPECT_EQ(window->focusWidget(), city());
    QTest::keyClicks(city(), "bj");
    EXPECT_EQ(city()->text(), "bj");  // not "1000000bj" in the planned total
    ASSERT_TRUE(list()->isVisible());
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(0)).center());
    EXPECT_EQ(window->focusWidget(), city());
    EXPECT_EQ(city()->cursorPosition(), city()->text().size());
    EXPECT_EQ(find<QLineEdit>("编辑框生成总数")->text(), "1000000");
}

TEST_F(UsabilityTest, EscapeClosesAnOpenListBeforeTheProgram) {
    city()->setFocus();
    QTest::keyClicks(city(), "bei");
    ASSERT_TRUE(list()->isVisible());
    QTest::keyClick(city(), Qt::Key_Escape);
    EXPECT_FALSE(list()->isVisible());
    EXPECT_TRUE(services.exitCodes.empty());
    EXPECT_EQ(city()->text(), "bei");
    QTest::keyClick(city(), Qt::Key_Escape);
    EXPECT_EQ(services.exitCodes, std::vector<int>{0});
}

TEST_F(UsabilityTest, TabInTheBoxesMovesOnInsteadOfWritingATab) {
    for (const char* name : {"编辑框1", "编辑框2"}) {
        box(name)->setPlainText("1380013");
        box(name)->setFocus();
        QTest::keyClick(box(name), Qt::Key_Tab);
        EXPECT_EQ(box(name)->toPlainText(), "1380013") << name;
        EXPECT_NE(window->focusWidget(), box(name)) << name;
    }
}

TEST_F(UsabilityTest, ADoubleClickOnAllKeepsTheNineKindsInStep) {
    auto* all = find<QCheckBox>("选择框1");
    const auto nineAgree = [&] {
        for (const auto& row : generate::patternTable()) {
            if (find<QCheckBox>(row.checkBox.data())->isChecked() != all->isChecked()) {
                return false;
            }
        }
        return true;
    };
    // A fast double-click as the window system delivers it: press, release, then a press
    // that comes as a double-click, and its release.
    const auto doubleClick = [&] {
        QTest::mouseClick(all, Qt::LeftButton);
        QTest::mouseDClick(all, Qt::LeftButton);
        QTest::mouseRelease(all, Qt::LeftButton);
    };
    for (int round = 0; round < 3; ++round) {
        doubleClick();
        EXPECT_TRUE(nineAgree()) << round;
        QTest::mouseClick(all, Qt::LeftButton);
        EXPECT_TRUE(nineAgree()) << round;
    }
}

TEST_F(UsabilityTest, BoxesAndTheListCarryNamesForAssistiveTechnology) {
    ASSERT_EQ(app::accessibleNames().size(), 14U);
    for (const auto& accessible : app::accessibleNames()) {
        EXPECT_EQ(find<QWidget>(accessible.control)->accessibleName(),
                  QString::fromUtf8(accessible.name))
            << accessible.control;
    }
    EXPECT_EQ(city()->accessibleName(), "城市名");
    EXPECT_EQ(box("编辑框2")->accessibleName(), "生成的手机号码");
}

TEST_F(UsabilityTest, APastedByteOrderMarkIsNotPartOfTheFirstSegment) {
    QGuiApplication::clipboard()->setText(QStringLiteral("\uFEFF1380013\r\n1390000\r\n"));
    click("按钮4");
    EXPECT_EQ(box("编辑框1")->toPlainText(), "1380013\n1390000\n");
}

TEST_F(UsabilityTest, QtsOwnTextsAreChinese) {
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), "确定");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "取消");
}

TEST_F(UsabilityTest, TheListIsWalkedWithTheArrowsAndPickedWithEnter) {
    city()->setFocus();
    QTest::keyClicks(city(), "bj");
    ASSERT_TRUE(list()->isVisible());
    ASSERT_GE(list()->count(), 3);
    QTest::keyClick(city(), Qt::Key_Down);
    EXPECT_EQ(window->focusWidget(), list());
    EXPECT_EQ(list()->currentRow(), 0);
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Up);
    // Moving picks nothing: the box still holds what was typed.
    EXPECT_EQ(city()->text(), "bj");
    EXPECT_TRUE(list()->isVisible());
    const QString second = list()->item(1)->text();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(city()->text(), second);
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(window->focusWidget(), city());
}

TEST_F(UsabilityTest, TabbingIntoTheListPicksNothing) {
    city()->setFocus();
    QTest::keyClicks(city(), "bj");
    ASSERT_TRUE(list()->isVisible());
    QTest::keyClick(city(), Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), list());
    QTest::keyClick(list(), Qt::Key_Backtab);
    EXPECT_EQ(window->focusWidget(), city());
    EXPECT_EQ(city()->text(), "bj");
    // Esc in the list closes it and typing goes on in the city box.
    QTest::keyClick(city(), Qt::Key_Tab);
    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(window->focusWidget(), city());
    EXPECT_TRUE(services.exitCodes.empty());
}

TEST_F(UsabilityTest, TabFollowsTheReadingOrder) {
    // Left column, middle column, right column; the indicator buttons and 全顺序数 are
    // disabled at start and skipped.
    const QStringList expected = {"按钮1查询",    "编辑框_出发地", "单选框不限",     "单选框电信",
                                  "单选框联通",   "单选框移动",    "编辑框1",        "按钮2",
                                  "按钮3",        "按钮4",         "编辑框生成总数", "单选框仅靓号",
                                  "按钮靓号",     "选择框1",       "选择框四同",     "选择框正四顺",
                                  "选择框反四顺", "选择框三同",    "选择框正三顺",   "选择框反三顺",
                                  "选择框aabb",   "选择框abab",    "选择框abba",     "单选框全部号",
                                  "编辑框2",      "按钮5",         "按钮6",          "按钮7"};
    find<QWidget>("按钮1查询")->setFocus();
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        visited << window->focusWidget()->objectName();
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, expected) << visited.join(' ').toStdString();
}

TEST_F(UsabilityTest, TheBorderIsFixedYetTheWindowMaximises) {
    const QSize outer(605, 483);
    ASSERT_EQ(window->frameGeometry().size(), outer);
    // Dragging an edge (a resize from outside) changes nothing.
    window->resize(700, 560);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->frameGeometry().size(), outer);
    auto* results = box("编辑框2");
    const QPoint place = results->mapTo(window.get(), QPoint(0, 0));
    window->showMaximized();
    QTRY_VERIFY(window->isMaximized());
    QTRY_VERIFY(window->width() > outer.width());
    EXPECT_EQ(window->frameGeometry().size(),
              QGuiApplication::primaryScreen()->availableGeometry().size());
    EXPECT_EQ(results->mapTo(window.get(), QPoint(0, 0)), place);  // controls keep their place
    window->showNormal();
    QTRY_COMPARE(window->frameGeometry().size(), outer);
}

// The help opens in a window of the program's own, once however often it is asked for; Esc
// closes that window only.
TEST(HelpWindow, TheHelpPageOpensInAWindowOfItsOwn) {
    app::Services services;  // the real one: the page lies beside the tests, as in a build
    const auto helpWindows = [] {
        QList<app::HelpWindow*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* help = dynamic_cast<app::HelpWindow*>(widget); help && help->isVisible()) {
                found << help;
            }
        }
        return found;
    };
    services.openHelpPage();
    services.openHelpPage();
    ASSERT_EQ(helpWindows().size(), 1);
    app::HelpWindow* help = helpWindows().front();
    EXPECT_TRUE(help->windowTitle().startsWith("使用帮助"));
    EXPECT_TRUE(help->browser()->toPlainText().contains("使用帮助"));
    QTest::keyClick(help->browser(), Qt::Key_Escape);
    EXPECT_TRUE(helpWindows().isEmpty());
}

}  // namespace
}  // namespace haoma::test
