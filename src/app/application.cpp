// SPDX-License-Identifier: MIT
#include "app/application.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <optional>
#include <string_view>

#include "app/main_window.h"
#include "app/services.h"
#include "haoma_version.h"

namespace haoma::app {

namespace {

constexpr const char* kHelp =
    "Usage: haoma [--help | --version]\n"
    "全国手机号码生成器: type a city (Chinese, pinyin or initials), query its mobile number\n"
    "segments, and generate every number or the pretty numbers of the segments.\n"
    "The window keeps nothing when it closes: copy or save the results first.\n"
    "For lists of any size, and lookups, see haoma-cli(1).\n";

// --help and --version answer on standard output without opening a window; nothing for any
// other arguments, which go to Qt.
std::optional<int> answerWithoutWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (argument == "--version" || argument == "-V") {
            std::printf("haoma %s\n", kVersion);
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace

bool installChineseTranslations() {
    // Owned by the application object, which keeps it installed for its life.
    // Qt's own folder, else the one beside the program (a Windows folder carries its own).
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    bool loaded = false;
    for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QCoreApplication::applicationDirPath() + "/translations"}) {
        loaded = loaded ||
                 translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), folder);
    }
    return loaded && QCoreApplication::installTranslator(translator);
}

int runApplication(int argc, char** argv) {
    if (const auto status = answerWithoutWindow(argc, argv)) {
        return *status;
    }
    QApplication application(argc, argv);
    installChineseTranslations();
    QApplication::setApplicationName(QStringLiteral("haoma"));
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    Services services;
    MainWindow window(services);
    window.StartUp();
    window.show();
    return QApplication::exec();
}

}  // namespace haoma::app
