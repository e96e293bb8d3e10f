// SPDX-License-Identifier: MIT
// Window generation runs, offscreen: time from the click until the numbers stand in the
// result box, slice lengths and peak memory. One scenario per process so the peak is its own.
//   window_bench all      100 segments, all numbers, default planned total (1,000,000)
//   window_bench pretty   all nine kinds over 1,891 segments (1,000,000 numbers)
//   window_bench baseline a plain text box taking the same million lines in large blocks
//   window_bench full     500 segments up to the result box's capacity (5,000,000 numbers)
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/run_driver.h"
#include "app/services.h"
#include "app/text_box.h"

namespace {

long peakRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
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

int runWindow(bool pretty, bool full) {
    haoma::app::Services services;
    haoma::app::MainWindow window(services);
    window.StartUp();
    window.show();
    QApplication::processEvents();
    window.control<haoma::app::TextBox>("编辑框1")->setPlainText(segmentLines(pretty ? 1891
                                                                              : full ? 500
                                                                                     : 100));
    if (full) {
        window.control<QLineEdit>("编辑框生成总数")->setText(QStringLiteral("5000000"));
    }
    QPushButton* start = nullptr;
    if (pretty) {
        QTest::mouseClick(window.control<QWidget>("选择框1"), Qt::LeftButton);
        start = window.control<QPushButton>("按钮靓号");
    } else {
        QTest::mouseClick(window.control<QRadioButton>("单选框全部号"), Qt::LeftButton);
        start = window.control<QPushButton>("按钮全顺序数");
    }
    window.runs().resetSliceStatistics();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(start, Qt::LeftButton);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const auto& slices = window.runs().sliceDurationsMs();
    std::printf(
        "%s seconds=%.3f numbers=%s slices=%zu slice_ms_p50=%.1f p90=%.1f p99=%.1f max=%.1f "
        "peak_rss_mb=%.1f\n",
        pretty ? "pretty"
        : full ? "full"
               : "all",
        seconds, window.control<QLabel>("标签总数")->text().toUtf8().constData(), slices.size(),
        percentile(slices, 0.5), percentile(slices, 0.9), percentile(slices, 0.99),
        window.runs().longestSliceMs(), static_cast<double>(peakRssKb()) / 1024.0);
    std::fflush(stdout);
    std::_Exit(0);
}

int runBaseline() {
    QPlainTextEdit box;
    box.resize(184, 265);
    box.show();
    QApplication::processEvents();
    QString block;
    for (int i = 0; i < 10000; ++i) {
        block += QStringLiteral("13800130000\n");
    }
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 100; ++i) {
        QTextCursor cursor(box.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(block);
        box.setTextCursor(cursor);
        QApplication::processEvents();
    }
    std::printf("baseline seconds=%.3f lines=%d peak_rss_mb=%.1f\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e9, box.document()->blockCount() - 1,
                static_cast<double>(peakRssKb()) / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::string scenario = argc > 1 ? argv[1] : "all";
    if (scenario == "baseline") {
        return runBaseline();
    }
    return runWindow(scenario == "pretty", scenario == "full");
}
