// SPDX-License-Identifier: MIT
#pragma once
// The window's two multi-line boxes: a plain edit box (no margins, no wrapping, both scroll
// bars, black on white) over an editing component that keeps its text as one UTF-8 byte
// buffer, so a million lines append, copy and paste in milliseconds. Every line break in
// the buffer is "\r\n", which is also how the rest of the program reads the text.

#include <Qsci/qsciscintillabase.h>

#include <QByteArray>
#include <QString>
#include <string_view>

class QMenu;

namespace haoma::app {

class TextBox : public QsciScintillaBase {
    Q_OBJECT
  public:
    explicit TextBox(QWidget* parent = nullptr);
    ~TextBox() override;

    // The whole text, UTF-8, line breaks "\r\n". The view is valid until the next change.
    std::string_view utf8View() const;
    // The whole text with line breaks "\r\n".
    QString text() const;
    // The lines as the user sees them, joined by "\n".
    QString toPlainText() const;
    bool isEmpty() const;
    // Lines of the box, counting the empty line after a final line break.
    qsizetype lineCount() const;
    // Lines that hold text or end in a line break (the empty line at the end not counted).
    qsizetype filledLineCount() const;
    // True when a line longer than the box continues on the next row.
    bool wrapsLines() const;

    // Replaces the whole text; "\r\n", a lone "\r", a lone "\n", U+2028 and U+2029 each
    // become one line break. The undo history starts afresh.
    void setPlainText(const QString& text);
    void setUtf8Text(QByteArrayView utf8);
    // Appends at the end without recording an undo step; the view scrolls to the end, the
    // caret stays where it is. Line breaks in `utf8` must already be "\r\n".
    void appendUtf8(std::string_view utf8);
    // Puts the caret after the last character and scrolls it into view.
    void moveCaretToEnd();
    void clear();

    // Adds an entry after the standard ones of the context menu (cut, copy, paste, ...).
    void addContextAction(QAction* action);

  signals:
    // The text changed: by typing, or by one of the calls above.
    void changed();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void applyFont();
    void replaceAll(std::string_view utf8);
    QMenu* standardContextMenu();

    QList<QAction*> extraActions_;
    qsizetype utf16Length_ = 0;  // the text's length in UTF-16 units; -1 while unknown
};

// Line breaks of `text` as the boxes keep them: "\r\n", lone "\r", lone "\n", U+2028 and
// U+2029 each become "\r\n".
QByteArray toCrLfLineBreaks(QByteArrayView utf8);

}  // namespace haoma::app
