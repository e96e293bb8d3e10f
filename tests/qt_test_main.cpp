// SPDX-License-Identifier: MIT
// Test entry point for window tests: one QApplication on the offscreen platform, with a
// screen of a common desktop's size (the platform's own is 800 x 600, smaller than any
// desktop the window meets).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>

#include "app/application.h"

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QString screenFile;
    // A death test's child starts anew with the parent's platform: it makes its own file.
    if (platform.isEmpty() || platform.startsWith("offscreen")) {
        // One file a process: tests run side by side. A name relative to the working folder:
        // the platform's options are split at colons, which a Windows drive letter has.
        const QString config = QStringLiteral("haoma-offscreen-screen-%1.json")
                                   .arg(QCoreApplication::applicationPid());
        QFile file(config);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1920,
                "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            file.close();
            qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
            screenFile = config;
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication application(argc, argv);
    if (!screenFile.isEmpty()) {
        QFile::remove(screenFile);  // read as the platform started
    }
    haoma::app::installChineseTranslations();
    return RUN_ALL_TESTS();
}
