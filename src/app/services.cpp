// SPDX-License-Identifier: MIT
#include "app/services.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>
#include <cstdlib>

#include "app/help_window.h"
#include "app/messages.h"
#include "lookup/city_table.h"
#include "lookup/segment_store.h"
#include "platform/paths.h"

namespace haoma::app {

void Services::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), text, QMessageBox::Ok, nullptr);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

namespace {
QString utf8TextFormat() {
    return QStringLiteral("text/plain;charset=utf-8");
}
}  // namespace

QByteArray Services::clipboardText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return {};
    }
    // The bytes as offered when they are UTF-8 already; else through Qt's own decoding.
    return data->hasFormat(utf8TextFormat()) ? data->data(utf8TextFormat()) : data->text().toUtf8();
}

void Services::setClipboardText(std::string_view utf8) {
    auto* data = new QMimeData;
    const QByteArray bytes(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // Both names carry the same bytes: Qt offers "text/plain" as UTF-8 to other programs.
    data->setData(QStringLiteral("text/plain"), bytes);
    data->setData(utf8TextFormat(), bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

QString Services::saveFileName(const QString& caption, const QString& filters) {
    // The user's documents (else home), never the program's folder; a name without a suffix
    // gets .txt while the text filter is chosen.
    QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (start.isEmpty() || !QDir(start).exists()) {
        start = QDir::homePath();
    }
    QFileDialog dialog(QApplication::activeWindow(), caption, start, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            dialog.setDefaultSuffix(filter.contains(QStringLiteral("*.txt")) ? QStringLiteral("txt")
                                                                             : QString());
        });
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void Services::processPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString Services::programDirectory() {
    return QCoreApplication::applicationDirPath();
}

QString Services::userDataDirectory() {
    return QString::fromStdString(platform::userDataDirectory());
}

std::string_view Services::cityTable() {
    return lookup::embeddedCityTable();
}

void Services::showAbout(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("关于"), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("关于本程序"));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

void Services::openHelpPage(const QString& section) {
    // Beside the program in a build tree, in the shared data folder when installed.
    const QString candidates[] = {
        programDirectory() + QStringLiteral("/haoma-help.html"),
        programDirectory() + QStringLiteral("/../share/haoma/haoma-help.html"),
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("haoma/haoma-help.html")),
    };
    for (const QString& page : candidates) {
        if (!page.isEmpty() && QFileInfo::exists(page)) {
            // A window of the program's own, made when first asked for: no browser needed.
            if (!help_) {
                help_ = new HelpWindow(QFileInfo(page).canonicalFilePath());
                help_->setAttribute(Qt::WA_DeleteOnClose);
            }
            auto* shown = static_cast<HelpWindow*>(help_.data());
            shown->showSection(section);
            help_->show();
            help_->raise();
            help_->activateWindow();
            return;
        }
    }
    showMessage(QString::fromUtf8(messages::kNoHelpPage));
}

void Services::endProcess(int exitCode) {
    // Not _Exit: on X11 the clipboard's content lives in this process, and only Qt's own
    // teardown offers it to a clipboard manager before the process is gone.
    ending_ = true;
    QCoreApplication::exit(exitCode);
}

}  // namespace haoma::app
