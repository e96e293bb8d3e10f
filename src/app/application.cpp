// SPDX-License-Identifier: MIT
#include "app/application.h"

#include <QApplication>
#include <QDir>

#include "app/main_window.h"
#include "app/services.h"

namespace haoma::app {

int runApplication(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("haoma"));
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    Services services;
    MainWindow window(services);
    window.StartUp();
    window.show();
    return QApplication::exec();
}

}  // namespace haoma::app
