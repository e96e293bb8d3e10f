// SPDX-License-Identifier: MIT
#include "app/box_text.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace haoma::app {

QString toBoxLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}

QString boxText(const QPlainTextEdit* box) {
    // The raw text keeps no-break spaces as they are; blocks are separated by U+2029 and
    // a soft line break inside a block is U+2028. Both are line breaks the user sees.
    QString text = box->document()->toRawText();
    QString out;
    out.reserve(text.size() + box->document()->blockCount());
    for (const QChar c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

bool boxIsEmpty(const QPlainTextEdit* box) {
    return box->document()->isEmpty();
}

void setBoxText(QPlainTextEdit* box, const QString& text) {
    box->setPlainText(toBoxLineBreaks(text));
}

void appendToBox(QPlainTextEdit* box, const QString& text) {
    QTextDocument* document = box->document();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(toBoxLineBreaks(text));
    document->setUndoRedoEnabled(undo);
    box->setTextCursor(cursor);
    box->ensureCursorVisible();
}

}  // namespace haoma::app
