// SPDX-License-Identifier: MIT
// The window's large-text work, offscreen, one scenario per process so memory is its own:
//   all        click to 1,000,000 numbers: 100 segments, all numbers, default planned total
//   pretty     click to 1,000,000 numbers: all nine kinds over 1,891 segments
//   full       500 segments up to the result box's capacity
//   box        a million lines appended in 100 blocks to the boxes' component
//   baseline   the same blocks into a plain text box (the component the boxes replaced)
//   paste      a 50 MB paste into each box through its 粘贴 button
//   paste-baseline  the same text set into a plain text box
//   copy       three copies of a million result lines through 复制
//   save       a million result lines saved through 保存到文件…, against a plain write of
//              the same bytes
// Times are from the click until the work is done and pending events are handled.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/run_driver.h"
#include "app/services.h"
#include "app/text_box.h"

namespace {

using haoma::app::TextBox;

double statusMb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stod(line.substr(std::string(field).size())) / 1024.0;
        }
    }
    return -1.0;
}
double rssMb() {
    return statusMb("VmRSS:");
}
double peakMb() {
    return statusMb("VmHWM:");
}

double seconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    QApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

QString segmentLines(int count) {
    QString lines;
    for (int i = 0; i < count; ++i) {
        lines += QString::number(1380000 + i) + QStringLiteral("\r\n");
    }
    return lines;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

// Messages go to the standard error instead of a modal box nobody would dismiss.
class BenchServices : public haoma::app::Services {
  public:
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    QString saveFileName(const QString&, const QString&) override { return savePath; }
    QString savePath;
};

class Window {
  public:
    Window() : window_(services_) {
        window_.StartUp();
        window_.show();
        QApplication::processEvents();
    }
    template <class T>
    T* control(const char* name) {
        return window_.control<T>(name);
    }
    void click(const char* name) { QTest::mouseClick(control<QWidget>(name), Qt::LeftButton); }
    haoma::app::RunDriver& runs() { return window_.runs(); }
    BenchServices& services() { return services_; }
    QAction* action(const char* name) { return window_.findChild<QAction*>(name); }

  private:
    BenchServices services_;
    haoma::app::MainWindow window_;
};

void runWindow(const std::string& scenario) {
    Window window;
    const bool pretty = scenario == "pretty";
    const bool full = scenario == "full";
    window.control<TextBox>("编辑框1")->setPlainText(segmentLines(pretty ? 1891
                                                                  : full ? 2500
                                                                         : 100));
    if (full) {
        window.control<QLineEdit>("编辑框生成总数")->setText(QStringLiteral("2000000000"));
    }
    window.click(pretty ? "选择框1" : "单选框全部号");
    window.runs().resetSliceStatistics();
    const double before = rssMb();
    const double taken = seconds([&] { window.click(pretty ? "按钮靓号" : "按钮全顺序数"); });
    const auto& slices = window.runs().sliceDurationsMs();
    std::printf(
        "%s seconds=%.3f numbers=%s slices=%zu slice_ms_p50=%.1f p90=%.1f p99=%.1f max=%.1f "
        "added_mb=%.1f peak_rss_mb=%.1f\n",
        scenario.c_str(), taken, window.control<QLabel>("标签总数")->text().toUtf8().constData(),
        slices.size(), percentile(slices, 0.5), percentile(slices, 0.9), percentile(slices, 0.99),
        window.runs().longestSliceMs(), rssMb() - before, peakMb());
    if (full) {
        const double copied = seconds([&] { window.click("按钮5"); });
        std::printf("full copy seconds=%.3f peak_rss_mb=%.1f\n", copied, peakMb());
    }
}

// A million lines in 100 blocks, into the boxes' component or into a plain text box.
void runBlocks(bool plain) {
    QPlainTextEdit plainBox;
    TextBox box;
    QWidget& shown = plain ? static_cast<QWidget&>(plainBox) : box;
    shown.resize(184, 265);
    shown.show();
    QApplication::processEvents();
    std::string block;
    for (int i = 0; i < 10000; ++i) {
        block += "13800130000\r\n";
    }
    const QString text = QString::fromStdString(block).replace(QStringLiteral("\r\n"), "\n");
    const double before = rssMb();
    const double taken = seconds([&] {
        for (int i = 0; i < 100; ++i) {
            if (plain) {
                QTextCursor cursor(plainBox.document());
                cursor.movePosition(QTextCursor::End);
                cursor.insertText(text);
                plainBox.setTextCursor(cursor);
            } else {
                box.appendUtf8(block);
            }
            QApplication::processEvents();
        }
    });
    const long lines = plain ? plainBox.document()->blockCount() - 1 : box.filledLineCount();
    std::printf("%s seconds=%.3f lines=%ld added_mb=%.1f\n", plain ? "baseline" : "box", taken,
                lines, rssMb() - before);
}

QString fiftyMegabytes() {
    QString lines;
    const QString pair = QStringLiteral("1380013\r\n13800138\r\n");
    lines.reserve(50 * 1024 * 1024 / 2 + pair.size());
    while (lines.size() < 50 * 1024 * 1024 / 2) {  // 50 MB as the clipboard holds it (UTF-16)
        lines += pair;
    }
    return lines;
}

void runPaste(bool plain) {
    const QString text = fiftyMegabytes();
    if (plain) {
        QPlainTextEdit box;
        box.resize(184, 265);
        box.show();
        QApplication::processEvents();
        const double taken = seconds([&] { box.setPlainText(text); });
        std::printf("paste-baseline seconds=%.3f lines=%d\n", taken, box.document()->blockCount());
        return;
    }
    Window window;
    QGuiApplication::clipboard()->setText(text);
    for (const auto& [button, name] :
         {std::pair{"按钮4", "编辑框1"}, std::pair{"按钮7", "编辑框2"}}) {
        const double taken = seconds([&] { window.click(button); });
        std::printf("paste box=%s seconds=%.3f lines=%lld\n", name, taken,
                    static_cast<long long>(window.control<TextBox>(name)->lineCount()));
    }
}

void runCopy() {
    Window window;
    window.control<TextBox>("编辑框1")->setPlainText(segmentLines(100));
    window.click("单选框全部号");
    window.click("按钮全顺序数");
    for (int round = 1; round <= 3; ++round) {
        QGuiApplication::clipboard()->clear();
        QTest::qWait(200);  // the user clicks on a window at rest
        const double taken = seconds([&] { window.click("按钮5"); });
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        const auto lines = data != nullptr ? data->text().count(QLatin1Char('\n')) : 0;
        std::printf("copy-%d seconds=%.3f lines=%lld\n", round, taken,
                    static_cast<long long>(lines));
    }
}

void runSave() {
    Window window;
    window.control<TextBox>("编辑框1")->setPlainText(segmentLines(100));
    window.click("单选框全部号");
    window.click("按钮全顺序数");
    const QString folder = QDir::tempPath() + QStringLiteral("/haoma-save-bench");
    QDir().mkpath(folder);
    window.services().savePath = folder + QStringLiteral("/results.txt");
    const double saved = seconds([&] { window.action("动作保存结果")->trigger(); });
    const std::string_view text = window.control<TextBox>("编辑框2")->utf8View();
    const double plain = seconds([&] {
        std::ofstream out((folder + QStringLiteral("/plain.txt")).toStdString(), std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    });
    std::printf("save seconds=%.3f bytes=%lld plain_write_seconds=%.3f\n", saved,
                static_cast<long long>(QFileInfo(window.services().savePath).size()), plain);
    QDir(folder).removeRecursively();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::string scenario = argc > 1 ? argv[1] : "all";
    if (scenario == "baseline" || scenario == "box") {
        runBlocks(scenario == "baseline");
    } else if (scenario == "paste" || scenario == "paste-baseline") {
        runPaste(scenario == "paste-baseline");
    } else if (scenario == "copy") {
        runCopy();
    } else if (scenario == "save") {
        runSave();
    } else {
        runWindow(scenario);
    }
    std::fflush(stdout);
    std::_Exit(0);  // the window ends the process on destruction anyway
}
