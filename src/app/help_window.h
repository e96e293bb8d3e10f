// SPDX-License-Identifier: MIT
#pragma once
// The program's help page in a window of its own: no browser is needed to read it.

#include <QWidget>

class QTextBrowser;

namespace haoma::app {

class HelpWindow : public QWidget {
  public:
    // Shows the HTML page at `page` (a local file). Links inside the page move within it;
    // links to the web go to the system's browser.
    explicit HelpWindow(const QString& page, QWidget* parent = nullptr);

    QTextBrowser* browser() const { return browser_; }
    // Scrolls to the page's anchor `section`; to the top for none.
    void showSection(const QString& section);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QTextBrowser* browser_;
};

}  // namespace haoma::app
