// SPDX-License-Identifier: MIT
#include "app/help_window.h"

#include <QKeyEvent>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

namespace haoma::app {

HelpWindow::HelpWindow(const QString& page, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("帮助窗口"));
    setWindowTitle(QStringLiteral("使用帮助 · 全国手机号码生成器"));
    browser_->setObjectName(QStringLiteral("帮助内容"));
    browser_->setAccessibleName(QStringLiteral("使用帮助"));
    browser_->setOpenExternalLinks(true);
    browser_->setSource(QUrl::fromLocalFile(page));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(760, 640);
}

void HelpWindow::showSection(const QString& section) {
    if (section.isEmpty()) {
        browser_->scrollToAnchor(QStringLiteral("top"));
        browser_->moveCursor(QTextCursor::Start);
    } else {
        browser_->scrollToAnchor(section);
    }
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    // Esc closes this window only, never the program.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace haoma::app
