// SPDX-License-Identifier: MIT
// 按规则选号's count, offscreen: the segment lines of a file in the segment box, each preset
// picked in turn, timed from the pick until the count label shows the new count (pending
// events handled). The baseline is the core's count of the same lines, alone.
// Usage: rule_count_bench SEGMENTS-FILE [repeats]
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/main_window.h"
#include "app/services.h"
#include "app/text_box.h"
#include "generate/match_run.h"
#include "generate/pattern_presets.h"
#include "generate/runs.h"

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: rule_count_bench SEGMENTS-FILE [repeats]\n");
        return 2;
    }
    std::ifstream file(argv[1]);
    std::stringstream text;
    text << file.rdbuf();
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 11;

    haoma::app::Services services;
    haoma::app::MainWindow window(services);
    window.StartUp();
    window.show();
    window.control<haoma::app::TextBox>("编辑框1")->setPlainText(
        QString::fromStdString(text.str()));
    window.OpenRuleDialog();
    auto* presets = window.findChild<QComboBox*>(QStringLiteral("预设"));
    auto* count = window.findChild<QLabel*>(QStringLiteral("共计"));
    auto* rule = window.findChild<QLineEdit*>(QStringLiteral("规则"));
    const auto lines =
        haoma::generate::segmentList(window.control<haoma::app::TextBox>("编辑框1")->utf8View());
    std::printf("%zu segment lines\n", lines.size());

    int index = 1;
    for (const auto& preset : haoma::generate::patternPresets()) {
        std::vector<double> shown;
        std::vector<double> core;
        for (int round = 0; round < repeats; ++round) {
            rule->setText(QString());  // every number: a count that differs from each preset's
            QCoreApplication::processEvents();
            const QString before = count->text();
            QElapsedTimer timer;
            timer.start();
            presets->setCurrentIndex(index);
            emit presets->activated(index);
            while (count->text() == before) {
                QCoreApplication::processEvents();
            }
            shown.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);

            timer.start();
            const auto parsed = haoma::generate::parsePatterns(preset.patterns);
            const auto total = haoma::generate::countMatches(lines, parsed.patterns, {});
            core.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            if (!total) {
                return 1;
            }
        }
        std::printf("%-9s pick to count shown: median %6.2f ms   core count alone: %6.2f ms   %s\n",
                    std::string(preset.name).c_str(), median(shown), median(core),
                    count->text().toStdString().c_str());
        ++index;
    }
    std::fflush(stdout);
    std::_Exit(0);
}
