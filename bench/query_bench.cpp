// SPDX-License-Identifier: MIT
// The segment query: the store alone, and through the window including filling the box.
#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include "app/main_window.h"
#include "app/services.h"
#include "lookup/segment_store.h"

namespace {

std::unique_ptr<haoma::lookup::SegmentStore> openStore() {
    return haoma::lookup::SegmentStore::open(
        (QCoreApplication::applicationDirPath() + "/mobile.db").toStdString());
}

void StoreQuery(benchmark::State& state, const char* city) {
    const auto store = openStore();
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = haoma::lookup::querySegments(store.get(), city, haoma::lookup::Carrier::Any)
                   .rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK_CAPTURE(StoreQuery, Beijing, "北京")->Unit(benchmark::kMillisecond);

// The open with its check of the whole file (the checksum in the header), against a bare
// SQLite open of the same file as the baseline.
void StoreOpen(benchmark::State& state) {
    const std::string path = (QCoreApplication::applicationDirPath() + "/mobile.db").toStdString();
    for (auto _ : state) {
        auto store = haoma::lookup::SegmentStore::open(path);
        benchmark::DoNotOptimize(store);
    }
}
BENCHMARK(StoreOpen)->Unit(benchmark::kMillisecond);

void BareSqliteOpen(benchmark::State& state) {
    const std::string path = (QCoreApplication::applicationDirPath() + "/mobile.db").toStdString();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db, "PRAGMA table_info(mobile)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
}
BENCHMARK(BareSqliteOpen)->Unit(benchmark::kMillisecond);

void QuickCheckOpen(benchmark::State& state) {
    const std::string path = (QCoreApplication::applicationDirPath() + "/mobile.db").toStdString();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db, "PRAGMA quick_check(1)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
}
BENCHMARK(QuickCheckOpen)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StoreQuery, NoSuchCity, "不存在的城市")->Unit(benchmark::kMillisecond);

// Keeps the process alive when a benchmark's window goes away.
class BenchServices : public haoma::app::Services {
  public:
    void endProcess(int) override {}
};

void WindowQuery(benchmark::State& state, const char* city) {
    BenchServices services;
    haoma::app::MainWindow window(services);
    window.StartUp();
    window.show();
    window.control<QLineEdit>("编辑框_出发地")->setText(QString::fromUtf8(city));
    auto* button = window.control<QPushButton>("按钮1查询");
    for (auto _ : state) {
        window.QuerySegments();
        QApplication::processEvents();  // the repaint of the filled box
    }
    state.counters["rows"] = window.control<QLabel>("标签号段数")->text().toDouble();
    benchmark::DoNotOptimize(button);
}
BENCHMARK_CAPTURE(WindowQuery, Beijing, "北京")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WindowQuery, NoSuchCity, "不存在的城市")->Unit(benchmark::kMillisecond);

// Baseline in the same run: a plain text box taking as many lines as 北京 has (18,392).
void PlainBoxTakesBeijingLines(benchmark::State& state) {
    QPlainTextEdit box;
    box.resize(145, 265);
    box.setLineWrapMode(QPlainTextEdit::NoWrap);
    box.show();
    QString lines;
    for (int i = 0; i < 18392; ++i) {
        lines += QString::number(1380000 + i) + QStringLiteral("\n");
    }
    for (auto _ : state) {
        box.clear();
        QTextCursor cursor(box.document());
        cursor.insertText(lines);
        QApplication::processEvents();
    }
}
BENCHMARK(PlainBoxTakesBeijingLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::_Exit(0);  // the windows end the process on destruction anyway
}
