// SPDX-License-Identifier: MIT
#pragma once
// The platform services the window's commands use, each in one place. Tests replace
// the message box and the process end with recorders.

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string_view>

namespace haoma::app {

class Services {
  public:
    virtual ~Services() = default;

    // Message box captioned "信息：" with one OK button and no icon, modal to the whole
    // program, without an owner window; returns when the user dismisses it.
    virtual void showMessage(const QString& text);

    // Plain text of the clipboard, UTF-8; empty when it holds no text.
    virtual QByteArray clipboardText();
    // Replaces the clipboard's content with this UTF-8 plain text (no conversion is made
    // until another program asks for another encoding).
    virtual void setClipboardText(std::string_view utf8);

    // Asks where to save, in a save dialog captioned `caption` with these name filters;
    // empty when the user cancels.
    virtual QString saveFileName(const QString& caption, const QString& filters);

    // Delivers queued input and repaints, then returns.
    virtual void processPendingEvents();

    // Folder of the running program, without a trailing separator.
    virtual QString programDirectory();
    // The user's data folder for haoma, where imported stores go; empty when unknown.
    virtual QString userDataDirectory();

    // Opens the program's help page in a window of the program's own (made when first
    // asked for, raised when already open), at `section` (an anchor of the page) when one
    // is named; says so when the page is not installed.
    virtual void openHelpPage(const QString& section = {});

    // A small box captioned 关于 with the text (the version, the data, the licences).
    virtual void showAbout(const QString& text);

    // The city table the association searches: the one carried in the program.
    virtual std::string_view cityTable();

    // Ends the program with the exit code: the main event loop stops as soon as the current
    // command returns, and the application's teardown then hands what was copied over to a
    // clipboard manager. A run in progress stops at its next slice (see ending()).
    virtual void endProcess(int exitCode);
    // True once the program is ending; long commands stop when they see it.
    bool ending() const { return ending_; }

  private:
    bool ending_ = false;
    QPointer<QWidget> help_;  // the help window while it is open
};

}  // namespace haoma::app
