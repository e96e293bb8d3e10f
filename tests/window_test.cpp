// SPDX-License-Identifier: MIT
// The main window: start-up state, layout, the small commands and closing.
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include "app/control_table.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

const char* const kIndicators[] = {"按钮1四同号", "按钮正四顺", "按钮反四顺",
                                   "按钮1三同号", "按钮正三顺", "按钮反三顺",
                                   "按钮aabb",    "按钮abab",   "按钮abba"};
const char* const kPatternBoxes[] = {"选择框四同", "选择框正四顺", "选择框反四顺",
                                     "选择框三同", "选择框正三顺", "选择框反三顺",
                                     "选择框aabb", "选择框abab",   "选择框abba"};

using WindowStartUp = WindowTest;

TEST_F(WindowStartUp, HasTheTitleFrameAndPlacement) {
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("全国手机号码生成器 ")));
    EXPECT_GT(window->windowTitle().size(), QStringLiteral("全国手机号码生成器 ").size());
    EXPECT_EQ(window->frameGeometry().size(), QSize(605, 483));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->frameGeometry().topLeft(),
              QPoint((screen.width() - 605) / 2, (screen.height() - 483) / 2));
}

TEST_F(WindowStartUp, ButtonStatesMatchPrettyMode) {
    for (const char* name : kIndicators) {
        EXPECT_FALSE(enabled(name)) << name;
    }
    EXPECT_FALSE(enabled("按钮全顺序数"));
    for (const char* name :
         {"按钮1查询", "按钮靓号", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6", "按钮7"}) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    EXPECT_TRUE(checked("单选框仅靓号"));
    EXPECT_FALSE(checked("单选框全部号"));
    EXPECT_TRUE(checked("单选框不限"));
    for (const char* name : {"单选框电信", "单选框联通", "单选框移动", "选择框1"}) {
        EXPECT_FALSE(checked(name)) << name;
    }
    for (const char* name : kPatternBoxes) {
        EXPECT_FALSE(checked(name)) << name;
    }
}

TEST_F(WindowStartUp, BoxesCountersAndSuggestionList) {
    EXPECT_TRUE(box("编辑框1")->toPlainText().isEmpty());
    EXPECT_TRUE(box("编辑框2")->toPlainText().isEmpty());
    EXPECT_TRUE(find<QLineEdit>("编辑框_出发地")->text().isEmpty());
    EXPECT_EQ(find<QLineEdit>("编辑框生成总数")->text(), "1000000");
    EXPECT_EQ(caption("标签号段数"), "0");
    EXPECT_EQ(caption("标签总数"), "0");
    auto* list = find<QListWidget>("列表框_出发地");
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    for (const char* name : {"编辑框1", "编辑框2"}) {
        EXPECT_FALSE(box(name)->wrapsLines());
        EXPECT_EQ(box(name)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(box(name)->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
}

TEST_F(WindowStartUp, EveryControlStandsInItsContainer) {
    struct Placement {
        const char* name;
        const char* container;
        QRect geometry;
    };
    const Placement placements[] = {
        {"分组框1", "主窗口", {8, 8, 582, 418}},
        {"分组框2", "分组框1", {6, 186, 88, 150}},
        {"单选框移动", "分组框2", {8, 116, 56, 16}},
        {"编辑框1", "分组框1", {101, 39, 145, 265}},
        {"编辑框2", "分组框1", {385, 39, 184, 265}},
        {"列表框_出发地", "分组框1", {6, 134, 91, 24}},
        {"按钮全顺序数", "分组框1", {315, 377, 60, 30}},
        {"超级链接框4", "主窗口", {526, 427, 56, 24}},
    };
    for (const auto& p : placements) {
        const QWidget* widget = find<QWidget>(p.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromUtf8(p.container)) << p.name;
        EXPECT_EQ(widget->geometry(), p.geometry) << p.name;
    }
    int count = 0;
    for (const auto& spec : app::controlTable()) {
        EXPECT_NE(find<QWidget>(spec.name), nullptr);
        ++count;
    }
    EXPECT_EQ(count, 56);
    EXPECT_EQ(find<QGroupBox>("分组框2")->title(), "运营商");
}

TEST_F(WindowStartUp, CaptionsFontsAndColours) {
    struct Look {
        const char* name;
        const char* caption;
        int boldPixels;  // 0: the default font, not bold
        QColor color;
    };
    const Look looks[] = {
        {"标签3", "手机号码段:", 14, QColor(0, 0, 255)},
        {"标签总数", "0", 16, QColor(255, 0, 0)},
        {"标签6", "城市名：", 16, QColor(0, 0x88, 255)},
        {"标签1", "手机号段,1行1条,1条不超过7-8位数", 12, QColor(0x80, 0, 0)},
        {"标签4", "城市名有首先字母或拼音联想功能", 12, QColor(0x90, 0, 255)},
        {"标签5", "完美生成中国大陆所有地区靓号/所有号！", 12, QColor(0, 0x80, 0)},
        {"超级链接框1", "作者QQ 5208801467", 14, QColor(0, 0, 0x80)},
        {"超级链接框2", "雁鸣代理官网》》》", 14, QColor(0, 0, 255)},
    };
    for (const auto& look : looks) {
        const auto* label = find<QLabel>(look.name);
        EXPECT_EQ(label->text(), QString::fromUtf8(look.caption)) << look.name;
        EXPECT_TRUE(label->font().bold()) << look.name;
        EXPECT_EQ(label->font().pixelSize(), look.boldPixels) << look.name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), look.color) << look.name;
        EXPECT_FALSE(label->autoFillBackground()) << look.name;
    }
    const auto* pretty = find<QPushButton>("按钮靓号");
    EXPECT_EQ(pretty->text(), "靓 号");
    EXPECT_TRUE(pretty->font().bold());
    EXPECT_EQ(pretty->font().pixelSize(), 16);
    EXPECT_FALSE(find<QPushButton>("按钮2")->font().bold());
    EXPECT_EQ(find<QRadioButton>("单选框全部号")->palette().color(QPalette::WindowText),
              QColor(255, 0, 0));
    EXPECT_EQ(find<QCheckBox>("选择框三同")->text(), "AAA 型");
}

using WindowCommands = WindowTest;

TEST_F(WindowCommands, PasteReplacesTheWholeBoxAndLeavesTheCounters) {
    struct Case {
        const char* button;
        const char* box;
        const char* counter;
    };
    for (const Case c :
         {Case{"按钮4", "编辑框1", "标签号段数"}, Case{"按钮7", "编辑框2", "标签总数"}}) {
        find<QLabel>(c.counter)->setText("7");
        box(c.box)->setPlainText("old text");
        QGuiApplication::clipboard()->setText("1380013\r\n\r\n1390000\r\n");
        click(c.button);
        EXPECT_EQ(box(c.box)->toPlainText(), "1380013\n\n1390000\n") << c.box;
        EXPECT_EQ(caption(c.counter), "7");

        // A clipboard holding only a picture reads as empty text.
        auto* picture = new QMimeData;
        picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
        QGuiApplication::clipboard()->setMimeData(picture);
        click(c.button);
        EXPECT_TRUE(box(c.box)->toPlainText().isEmpty()) << c.box;
        EXPECT_EQ(caption(c.counter), "7");
    }
}

TEST_F(WindowCommands, CopyPutsPlainTextWithCrLfLineEnds) {
    box("编辑框2")->setPlainText("13800130000\n13800131111\n");
    click("按钮5");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "13800130000\r\n13800131111\r\n");

    box("编辑框1")->setPlainText("1380013\n1390000");
    click("按钮2");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1380013\r\n1390000");

    QGuiApplication::clipboard()->setText("something else");
    box("编辑框2")->clear();
    click("按钮5");
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasText());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
}

TEST_F(WindowCommands, ClearEmptiesTheBoxAndZeroesItsCounter) {
    struct Case {
        const char* button;
        const char* box;
        const char* counter;
        const char* before;
    };
    const Case cases[] = {{"按钮3", "编辑框1", "标签号段数", "12"},
                          {"按钮3", "编辑框1", "标签号段数", "0"},
                          {"按钮6", "编辑框2", "标签总数", "529"},
                          {"按钮6", "编辑框2", "标签总数", "0"}};
    for (const auto& c : cases) {
        box(c.box)->setPlainText("1380013");
        find<QLabel>(c.counter)->setText(c.before);
        click(c.button);
        EXPECT_TRUE(box(c.box)->toPlainText().isEmpty());
        EXPECT_EQ(caption(c.counter), "0");
    }
    EXPECT_EQ(caption("标签号段数"), "0");
}

TEST_F(WindowCommands, DoubleClickClearsThePlannedTotal) {
    auto* total = find<QLineEdit>("编辑框生成总数");
    QTest::mouseDClick(total, Qt::LeftButton);
    EXPECT_TRUE(total->text().isEmpty());
    // Double-clicking the city box changes nothing.
    auto* city = find<QLineEdit>("编辑框_出发地");
    city->setText("bj");
    QTest::mouseDClick(city, Qt::LeftButton);
    EXPECT_EQ(city->text(), "bj");
}

TEST_F(WindowCommands, ModeRadiosSwitchTheRunButtons) {
    find<QPushButton>("按钮1四同号")->setEnabled(true);
    click("单选框全部号");
    EXPECT_FALSE(enabled("按钮靓号"));
    EXPECT_TRUE(enabled("按钮全顺序数"));
    EXPECT_FALSE(enabled("按钮1四同号"));
    EXPECT_TRUE(enabled("按钮1查询"));
    find<QPushButton>("按钮abba")->setEnabled(true);
    click("单选框仅靓号");
    EXPECT_TRUE(enabled("按钮靓号"));
    EXPECT_FALSE(enabled("按钮全顺序数"));
    EXPECT_FALSE(enabled("按钮abba"));
    // Clicking the selected radio again runs its command again.
    find<QPushButton>("按钮全顺序数")->setEnabled(true);
    click("单选框仅靓号");
    EXPECT_FALSE(enabled("按钮全顺序数"));
}

TEST_F(WindowCommands, CarrierAndModeRadiosAreSeparateGroups) {
    for (const char* carrier : {"单选框电信", "单选框联通", "单选框移动", "单选框不限"}) {
        click(carrier);
        EXPECT_TRUE(checked(carrier));
        EXPECT_TRUE(checked("单选框仅靓号")) << carrier;
        EXPECT_FALSE(checked("单选框全部号")) << carrier;
    }
    click("单选框移动");
    click("单选框全部号");
    EXPECT_TRUE(checked("单选框移动"));
    EXPECT_FALSE(checked("单选框不限"));
    EXPECT_FALSE(checked("单选框仅靓号"));
    EXPECT_TRUE(enabled("按钮全顺序数"));
}

TEST_F(WindowCommands, SelectAllFollowsTheButtonGoingDown) {
    auto* all = find<QCheckBox>("选择框1");
    find<QCheckBox>("选择框三同")->setChecked(true);
    find<QPushButton>("按钮正三顺")->setEnabled(true);
    click("选择框1");
    for (const char* name : kPatternBoxes) {
        EXPECT_TRUE(checked(name)) << name;
    }
    EXPECT_TRUE(all->isChecked());
    EXPECT_FALSE(enabled("按钮正三顺"));
    EXPECT_TRUE(enabled("按钮1查询"));
    click("选择框1");
    for (const char* name : kPatternBoxes) {
        EXPECT_FALSE(checked(name)) << name;
    }
    // Pressed, then released outside: the nine follow, the box itself does not toggle.
    QTest::mousePress(all, Qt::LeftButton);
    QTest::mouseRelease(all, Qt::LeftButton, {}, QPoint(500, 500));
    EXPECT_FALSE(all->isChecked());
    for (const char* name : kPatternBoxes) {
        EXPECT_TRUE(checked(name)) << name;
    }
    // The keyboard toggles the box alone.
    all->setFocus();
    QTest::keyClick(all, Qt::Key_Space);
    EXPECT_TRUE(all->isChecked());
    for (const char* name : kPatternBoxes) {
        EXPECT_TRUE(checked(name)) << name;
    }
}

TEST_F(WindowCommands, IndicatorButtonsDoNothing) {
    find<QPushButton>("按钮aabb")->setEnabled(true);
    box("编辑框2")->setPlainText("x");
    click("按钮aabb");
    EXPECT_EQ(box("编辑框2")->toPlainText(), "x");
    EXPECT_TRUE(services.messages.isEmpty());
}

// The links and banners open the help page (数据说明 at its data section); 关于 shows the
// version, the data in use and the licences; each says what it is to a screen reader.
TEST_F(WindowCommands, LinksAndBannersOpenTheHelpPageAndAboutTellsTheVersion) {
    for (const char* name : {"超级链接框1", "超级链接框2", "超级链接框3"}) {
        const int before = services.helpPagesOpened;
        click(name);
        EXPECT_EQ(services.helpPagesOpened, before + 1) << name;
        EXPECT_EQ(services.helpSections.last(), "") << name;
    }
    const struct {
        const char* name;
        const char* section;
        const char* accessible;
    } banners[] = {{"图片框2", "", "帮助"}, {"图片框3", "data", "数据说明"}};
    for (const auto& banner : banners) {
        const int before = services.helpPagesOpened;
        QTest::mousePress(find<QWidget>(banner.name), Qt::LeftButton);
        EXPECT_EQ(services.helpPagesOpened, before + 1) << banner.name;
        QTest::mouseRelease(find<QWidget>(banner.name), Qt::LeftButton);
        EXPECT_EQ(services.helpPagesOpened, before + 1) << banner.name;
        EXPECT_EQ(services.helpSections.last(), banner.section);
        EXPECT_EQ(find<QWidget>(banner.name)->accessibleName(), banner.accessible);
        EXPECT_FALSE(find<QLabel>(banner.name)->pixmap().isNull());
    }
    const int opened = services.helpPagesOpened;
    click("超级链接框4");
    EXPECT_EQ(services.helpPagesOpened, opened);
    ASSERT_EQ(services.abouts.size(), 1);
    const QString about = services.abouts[0];
    EXPECT_TRUE(about.contains(QStringLiteral("haoma 1."))) << about.toStdString();
    EXPECT_TRUE(about.contains(QStringLiteral("2025-02"))) << about.toStdString();
    EXPECT_TRUE(about.contains(QStringLiteral("517,258"))) << about.toStdString();
    EXPECT_TRUE(about.contains(QStringLiteral("MIT")) && about.contains(QStringLiteral("GPL-3.0")));
    // The boxes' buttons keep their captions and tell a screen reader which box they serve.
    const std::pair<const char*, const char*> buttons[] = {
        {"按钮2", "复制号段"}, {"按钮3", "清空号段"}, {"按钮4", "粘贴号段"},
        {"按钮5", "复制结果"}, {"按钮6", "清空结果"}, {"按钮7", "粘贴结果"}};
    for (const auto& [name, accessible] : buttons) {
        EXPECT_EQ(find<QWidget>(name)->accessibleName(), accessible);
        EXPECT_TRUE(find<QPushButton>(name)->text() == "复制" ||
                    find<QPushButton>(name)->text() == "清空" ||
                    find<QPushButton>(name)->text() == "粘贴");
    }
}

using WindowClosing = WindowTest;

TEST_F(WindowClosing, EscapeFromAnyControlEndsTheProcessWithZero) {
    for (const char* name : {"编辑框_出发地", "编辑框2", "编辑框1", "编辑框生成总数", "按钮靓号"}) {
        services.exitCodes.clear();
        window->show();  // the recorder lets the closed window live on
        auto* widget = find<QWidget>(name);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Escape);
        EXPECT_EQ(services.exitCodes, std::vector<int>{0}) << name;
    }
}

TEST_F(WindowClosing, DestroyingTheWindowEndsTheProcess) {
    window.reset();
    EXPECT_EQ(services.exitCodes, std::vector<int>{0});
}

// The real services end the program: run in a child process with its event loop. Esc in the
// named control must end the loop with 0 and hide the window; a loop still running after
// five seconds ends with 3.
void escapeExitsFrom(const char* name, const char* typed, int escapes = 1) {
    app::Services services;
    app::MainWindow window(services);
    window.StartUp();
    window.show();
    auto* widget = window.control<QWidget>(name);
    QTimer::singleShot(0, widget, [&] {
        widget->setFocus();
        QTest::keyClicks(widget, typed);
        for (int i = 0; i < escapes; ++i) {
            QTest::keyClick(widget, Qt::Key_Escape);
        }
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(3); });
    const int status = QApplication::exec();
    std::exit(status == 0 && window.isHidden() ? 0 : 3);
}

// Typing bj shows the suggestion list: the first Esc closes the list, the second the program.
TEST(WindowProcess, EscapeInTheCityBoxExitsWithZero) {
    EXPECT_EXIT(escapeExitsFrom("编辑框_出发地", "bj", 2), ::testing::ExitedWithCode(0), "");
}

TEST(WindowProcess, EscapeInTheResultBoxExitsWithZero) {
    EXPECT_EXIT(escapeExitsFrom("编辑框2", "1380013"), ::testing::ExitedWithCode(0), "");
}

TEST(MessageBox, IsCaptionedModalWithOneOkButtonAndNoIcon) {
    app::Services services;
    QString title;
    QString text;
    int buttons = 0;
    bool noIcon = false;
    bool appModal = false;
    bool hadOwner = true;
    QString okText;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll.stop();
        title = box->windowTitle();
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
        okText = box->button(QMessageBox::Ok)->text();
        noIcon = box->icon() == QMessageBox::NoIcon;
        appModal = box->windowModality() == Qt::ApplicationModal;
        hadOwner = box->parentWidget() != nullptr;
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    poll.start(10);
    services.showMessage(QStringLiteral("连接数据库失败！"));
    EXPECT_EQ(title, "信息：");
    EXPECT_EQ(text, "连接数据库失败！");
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(okText, "确定");  // Qt's own texts in Chinese, whatever the locale
    EXPECT_TRUE(noIcon);
    EXPECT_TRUE(appModal);
    EXPECT_FALSE(hadOwner);
}

}  // namespace
}  // namespace haoma::test
