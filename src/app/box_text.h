// SPDX-License-Identifier: MIT
#pragma once
// The multi-line boxes keep their lines as the user sees them; to the rest of the program
// their text is lines separated by "\r\n".

#include <QString>

class QPlainTextEdit;

namespace haoma::app {

// The box's whole text, every line break written as "\r\n".
QString boxText(const QPlainTextEdit* box);

// True when the box holds no text at all (cheaper than boxText(...).isEmpty()).
bool boxIsEmpty(const QPlainTextEdit* box);

// Replaces the whole text; "\r\n", a lone "\r" and a lone "\n" each become one line break.
void setBoxText(QPlainTextEdit* box, const QString& text);

// Appends at the end without recording an undo step; the caret moves to the end and the
// view follows it.
void appendToBox(QPlainTextEdit* box, const QString& text);

// Line breaks of `text` as the box shows them ("\r\n" and lone "\r" become "\n").
QString toBoxLineBreaks(QString text);

}  // namespace haoma::app
