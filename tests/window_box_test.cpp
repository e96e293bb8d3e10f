// SPDX-License-Identifier: MIT
// The two multi-line boxes: what runs write into them, what pastes and typing leave in
// them, and what the context menu and assistive technology see of them.
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "generate/runs.h"
#include "test_platform.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

class BoxTest : public WindowTest {
  protected:
    std::string resultBytes() const { return std::string(box("编辑框2")->utf8View()); }
    void total(int value) { find<QLineEdit>("编辑框生成总数")->setText(QString::number(value)); }
};

// What the core writes for the segment box's text, lines ended by "\r\n".
template <class Run>
std::string coreOutput(const QString& segmentBox, int plannedTotal) {
    const std::string text = segmentBox.toStdString();
    Run run(generate::segmentList(text), "\r\n");
    std::string out;
    if constexpr (std::is_same_v<Run, generate::AllNumbersRun>) {
        while (!run.finished()) {
            run.next(plannedTotal, 4096, out);
        }
    } else {
        while (run.kindAtTurn()) {
            run.beginKind();
            while (run.kindActive()) {
                run.next(plannedTotal, 4096, out);
            }
        }
    }
    return out;
}

const QString kOddSegmentBoxes[] = {
    "1380013\r\n\r\n138001\r\n北京1\r\n😀😀😀\r\n13800138",
    "1390000\r\n" + QString(300, QChar(u'9')) + "\r\n1234567\r\n",
    "\r\n\r\n1370000",
    "１３８００１３\r\n1380013\r\n\x01\x02\r\n1861234",
};

TEST_F(BoxTest, ARunWritesExactlyTheCoresBytes) {
    for (const QString& segments : kOddSegmentBoxes) {
        box("编辑框1")->setPlainText(segments);
        // The box keeps the text as it was given (line breaks already "\r\n").
        ASSERT_EQ(box("编辑框1")->text(), segments);

        total(2500);
        click("单选框全部号");
        click("按钮全顺序数");
        EXPECT_EQ(resultBytes(), coreOutput<generate::AllNumbersRun>(segments, 2500))
            << segments.toStdString();

        total(700);
        click("单选框仅靓号");
        click("选择框1");
        ASSERT_TRUE(checked("选择框四同"));
        click("按钮靓号");
        EXPECT_EQ(resultBytes(), coreOutput<generate::PrettyRun>(segments, 700))
            << segments.toStdString();
        click("选择框1");
    }
}

TEST_F(BoxTest, APasteTurnsEveryKindOfLineBreakIntoOneAndKeepsNul) {
    // Lone LF, lone CR, U+2028, CR LF and U+2029 each end a line; a NUL stays in its line.
    const QString pasted = QStringLiteral("1380013\n1390000\r1370000\u20281360000\r\n135") +
                           QChar(0) + QStringLiteral("0013\u20291340000");
    const QString expected = QStringLiteral("1380013\r\n1390000\r\n1370000\r\n1360000\r\n135") +
                             QChar(0) + QStringLiteral("0013\r\n1340000");
    for (const auto& [paste, copy, name] :
         {std::tuple{"按钮4", "按钮2", "编辑框1"}, std::tuple{"按钮7", "按钮5", "编辑框2"}}) {
        QGuiApplication::clipboard()->setText(pasted);
        click(paste);
        QGuiApplication::clipboard()->clear();
        click(copy);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), expected) << name;
        EXPECT_EQ(box(name)->filledLineCount(), 6) << name;
    }
    // The segment with the NUL is used as it stands: eight bytes, numbers of its own.
    total(3);
    click("单选框全部号");
    click("按钮全顺序数");
    EXPECT_EQ(resultBytes(), "13800130000\r\n13800130001\r\n13800130002\r\n");
    total(100000);
    click("按钮全顺序数");
    const std::string nulSegment = std::string("135") + '\0' + "0013";
    EXPECT_NE(resultBytes().find(nulSegment + "000\r\n"), std::string::npos);
}

TEST_F(BoxTest, TypingEnterAndUndoInABox) {
    auto* segments = box("编辑框1");
    segments->setFocus();
    QTest::keyClicks(segments, "1380013");
    QTest::keyClick(segments, Qt::Key_Return);
    QTest::keyClicks(segments, "139");
    EXPECT_EQ(segments->text(), "1380013\r\n139");
    QTest::keyClick(segments, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(segments->text(), "1380013\r\n139");
    QTest::keyClick(segments, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(segments->text(), "1380013\r\n139");
}

TEST_F(BoxTest, ChineseFromAnInputMethodLandsInTheSegmentBox) {
    auto* segments = box("编辑框1");
    segments->setFocus();
    QTest::keyClicks(segments, "138");
    // Composing shows the pinyin; committing replaces it with the characters picked.
    QInputMethodEvent composing(QStringLiteral("beijing"), {});
    QCoreApplication::sendEvent(segments, &composing);
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("北京"));
    QCoreApplication::sendEvent(segments, &committed);
    EXPECT_EQ(segments->text(), "138北京");
    EXPECT_EQ(segments->utf8View(), "138\xe5\x8c\x97\xe4\xba\xac");
}

TEST_F(BoxTest, TheContextMenuSpeaksChineseAndOffersTheStandardEdits) {
    auto* results = box("编辑框2");
    results->setPlainText("13800130000\r\n");
    // A right click reaches the box through its viewport.
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                            results->viewport()->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(results->viewport(), &event);
    auto* menu = results->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            captions << action->text().section(QLatin1Char('('), 0, 0);
        }
    }
    for (const char* caption : {"撤销", "剪切", "复制", "粘贴", "删除", "全选"}) {
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption)))
            << caption << " in " << captions.join(' ').toStdString();
    }
    menu->close();
}

TEST_F(BoxTest, AssistiveTechnologyReadsTheBoxesText) {
    box("编辑框2")->setPlainText("13800130000\r\n13800130001\r\n");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box("编辑框2"));
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), "生成的手机号码");
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), "13800130000\r\n13800130001\r\n");
}

class SaveTest : public BoxTest {
  protected:
    void SetUp() override {
        BoxTest::SetUp();
        folder = std::filesystem::temp_directory_path() /
                 ("haoma-save-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(folder);
        BoxTest::TearDown();
    }
    static std::string slurp(const std::filesystem::path& path) {
        QFile file(QString::fromStdString(path.string()));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    QAction* saveAction() { return window->findChild<QAction*>("动作保存结果"); }
    std::filesystem::path folder;
};

TEST_F(SaveTest, TheResultsGoToTheFileExactlyAsCopied) {
    box("编辑框1")->setPlainText("1380013\r\n北京1\r\n");
    total(30000);
    click("单选框全部号");
    click("按钮全顺序数");
    const auto path = folder / "号码.txt";
    services.savePath = QString::fromStdString(path.string());
    // Ctrl+S while the result box has focus.
    box("编辑框2")->setFocus();
    QTest::keyClick(box("编辑框2"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(services.saveDialogs, 1);
    EXPECT_EQ(slurp(path), resultBytes());
    click("按钮5");
    EXPECT_EQ(QString::fromStdString(slurp(path)), QGuiApplication::clipboard()->text());
    EXPECT_TRUE(services.messages.isEmpty());
    // The context menu offers the same command.
    ASSERT_NE(saveAction(), nullptr);
    EXPECT_TRUE(saveAction()->text().startsWith("保存到文件"));
}

TEST_F(SaveTest, ACancelOrAFailureLeavesNoFileBehind) {
    box("编辑框2")->setPlainText("13800130000\r\n");
    services.savePath.clear();
    saveAction()->trigger();
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_TRUE(services.messages.isEmpty());

    // A file that is already there stays whole when the new one cannot be written.
    const auto kept = folder / "kept.txt";
    std::ofstream(kept, std::ios::binary) << "old\r\n";
    std::filesystem::permissions(kept, std::filesystem::perms::owner_read);
    services.savePath = QString::fromStdString(kept.string());
    saveAction()->trigger();
    std::filesystem::permissions(kept, std::filesystem::perms::owner_all);
    if (!test::writesAnywhere()) {
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_TRUE(services.messages[0].contains("kept.txt"));
        EXPECT_EQ(slurp(kept), "old\r\n");
    }
    // A folder as the target.
    services.messages.clear();
    services.savePath = QString::fromStdString(folder.string());
    saveAction()->trigger();
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_TRUE(services.messages[0].endsWith("原因：这是一个文件夹"))
        << services.messages[0].toStdString();
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename(), "kept.txt");  // no temporary file left
    }
    // A folder that is not there: the reason in Chinese too.
    services.messages.clear();
    services.savePath = QString::fromStdString((folder / "gone" / "x.txt").string());
    saveAction()->trigger();
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_TRUE(services.messages[0].endsWith("原因：文件夹不存在"))
        << services.messages[0].toStdString();
}

}  // namespace
}  // namespace haoma::test
