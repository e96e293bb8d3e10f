// SPDX-License-Identifier: MIT
#include "app/text_box.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScrollBar>

namespace haoma::app {
namespace {

// The standard entries of the context menu, captioned with Qt's own (translated) texts
// of the plain text edit's menu, so the box's menu reads like every other edit box's.
struct MenuEntry {
    const char* caption;  // source text in Qt's "QWidgetTextControl" context
    QKeySequence::StandardKey shortcut;
    unsigned int command;  // the editor message it sends
    unsigned int enabledWhen;
};

constexpr unsigned int kAlways = 0;
constexpr unsigned int kHasSelection = 1;

const MenuEntry kMenu[] = {
    {"&Undo", QKeySequence::Undo, QsciScintillaBase::SCI_UNDO, QsciScintillaBase::SCI_CANUNDO},
    {"&Redo", QKeySequence::Redo, QsciScintillaBase::SCI_REDO, QsciScintillaBase::SCI_CANREDO},
    {nullptr, QKeySequence::UnknownKey, 0, kAlways},
    {"Cu&t", QKeySequence::Cut, QsciScintillaBase::SCI_CUT, kHasSelection},
    {"&Copy", QKeySequence::Copy, QsciScintillaBase::SCI_COPY, kHasSelection},
    {"&Paste", QKeySequence::Paste, QsciScintillaBase::SCI_PASTE, QsciScintillaBase::SCI_CANPASTE},
    {"Delete", QKeySequence::UnknownKey, QsciScintillaBase::SCI_CLEAR, kHasSelection},
    {nullptr, QKeySequence::UnknownKey, 0, kAlways},
    {"Select All", QKeySequence::SelectAll, QsciScintillaBase::SCI_SELECTALL, kAlways},
};

bool startsWith(QByteArrayView text, qsizetype at, const char* what, qsizetype length) {
    return text.size() - at >= length && QByteArrayView(text.data() + at, length) == what;
}

}  // namespace

QByteArray toCrLfLineBreaks(QByteArrayView utf8) {
    QByteArray out;
    out.reserve(utf8.size() + utf8.size() / 8 + 16);
    qsizetype i = 0;
    while (i < utf8.size()) {
        const char c = utf8[i];
        if (c == '\r') {
            out += "\r\n";
            i += startsWith(utf8, i, "\r\n", 2) ? 2 : 1;
        } else if (c == '\n') {
            out += "\r\n";
            ++i;
        } else if (c == '\xe2' && (startsWith(utf8, i, "\xe2\x80\xa8", 3) ||
                                   startsWith(utf8, i, "\xe2\x80\xa9", 3))) {
            out += "\r\n";
            i += 3;
        } else {
            // Copy the run up to the next byte that may start a line break in one step.
            qsizetype end = i + 1;
            while (end < utf8.size() && utf8[end] != '\r' && utf8[end] != '\n' &&
                   utf8[end] != '\xe2') {
                ++end;
            }
            out.append(utf8.data() + i, end - i);
            i = end;
        }
    }
    return out;
}

TextBox::TextBox(QWidget* parent) : QsciScintillaBase(parent) {
    // A document without styling bytes: half the memory per character, nothing to colour.
    const long document =
        SendScintilla(SCI_CREATEDOCUMENT, 0UL, static_cast<long>(SC_DOCUMENTOPTION_STYLES_NONE));
    SendScintilla(SCI_SETDOCPOINTER, 0UL, document);
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, document);
    SendScintilla(SCI_SETCODEPAGE, static_cast<unsigned long>(SC_CP_UTF8));
    SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(SC_EOL_CRLF));
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1UL);
    SendScintilla(SCI_SETWRAPMODE, static_cast<unsigned long>(SC_WRAP_NONE));
    for (unsigned long margin = 0; margin < 5; ++margin) {
        SendScintilla(SCI_SETMARGINWIDTHN, margin, 0L);
    }
    SendScintilla(SCI_SETMARGINLEFT, 0UL, 2L);
    SendScintilla(SCI_SETMARGINRIGHT, 0UL, 2L);
    SendScintilla(SCI_SETCARETLINEVISIBLE, 0UL);
    SendScintilla(SCI_SETUSETABS, 0UL);
    // The horizontal range follows the widest line shown, as an edit box's does.
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    SendScintilla(SCI_SETHSCROLLBAR, 1UL);
    SendScintilla(SCI_SETVSCROLLBAR, 1UL);
    SendScintilla(SCI_SETENDATLASTLINE, 1UL);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The editor's own popup is English; ours uses the translated captions.
    SendScintilla(SCI_USEPOPUP, static_cast<unsigned long>(SC_POPUP_NEVER));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    applyFont();
}

TextBox::~TextBox() = default;

void TextBox::applyFont() {
    const QFont box = font();
    const QByteArray family = box.family().toUtf8();
    SendScintilla(SCI_STYLESETFONT, static_cast<unsigned long>(STYLE_DEFAULT), family.constData());
    SendScintilla(
        SCI_STYLESETSIZEFRACTIONAL, static_cast<unsigned long>(STYLE_DEFAULT),
        static_cast<long>(QFontInfo(box).pointSizeF() * static_cast<int>(SC_FONT_SIZE_MULTIPLIER)));
    SendScintilla(SCI_STYLESETFORE, static_cast<unsigned long>(STYLE_DEFAULT), QColor(Qt::black));
    SendScintilla(SCI_STYLESETBACK, static_cast<unsigned long>(STYLE_DEFAULT), QColor(Qt::white));
    SendScintilla(SCI_STYLECLEARALL);
    SendScintilla(SCI_SETCARETFORE, QColor(Qt::black));
}

void TextBox::changeEvent(QEvent* event) {
    QsciScintillaBase::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyFont();
    }
}

std::string_view TextBox::utf8View() const {
    const auto length = static_cast<std::size_t>(SendScintilla(SCI_GETLENGTH));
    if (length == 0) {
        return {};
    }
    // The editor closes its gap and hands out its buffer: no copy of the text is made.
    const auto* text = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return {text, length};
}

QString TextBox::text() const {
    const std::string_view view = utf8View();
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

QString TextBox::toPlainText() const {
    QString plain = text();
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain;
}

bool TextBox::isEmpty() const {
    return SendScintilla(SCI_GETLENGTH) == 0;
}

qsizetype TextBox::lineCount() const {
    return SendScintilla(SCI_GETLINECOUNT);
}

qsizetype TextBox::filledLineCount() const {
    const long lines = SendScintilla(SCI_GETLINECOUNT);
    const bool emptyLast =
        SendScintilla(SCI_LINELENGTH, static_cast<unsigned long>(lines - 1)) == 0;
    return lines - (emptyLast ? 1 : 0);
}

bool TextBox::wrapsLines() const {
    return SendScintilla(SCI_GETWRAPMODE) != SC_WRAP_NONE;
}

void TextBox::replaceAll(std::string_view utf8) {
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(utf8.size()), utf8.data());
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_DOCUMENTSTART);
}

void TextBox::setPlainText(const QString& text) {
    const QByteArray utf8 = toCrLfLineBreaks(text.toUtf8());
    replaceAll({utf8.constData(), static_cast<std::size_t>(utf8.size())});
}

void TextBox::setUtf8Text(std::string_view utf8) {
    const QByteArray lines =
        toCrLfLineBreaks(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    replaceAll({lines.constData(), static_cast<std::size_t>(lines.size())});
}

void TextBox::appendUtf8(std::string_view utf8) {
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(utf8.size()), utf8.data());
    // Steps recorded before this append would no longer fit the text.
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_DOCUMENTEND);
}

void TextBox::clear() {
    replaceAll({});
}

void TextBox::selectAll() {
    SendScintilla(SCI_SELECTALL);
}

void TextBox::addContextAction(QAction* action) {
    extraActions_.append(action);
}

QMenu* TextBox::standardContextMenu() {
    auto* menu = new QMenu(this);
    for (const MenuEntry& entry : kMenu) {
        if (entry.caption == nullptr) {
            menu->addSeparator();
            continue;
        }
        QString caption = QCoreApplication::translate("QWidgetTextControl", entry.caption);
        if (entry.shortcut != QKeySequence::UnknownKey) {
            caption +=
                QLatin1Char('\t') + QKeySequence(entry.shortcut).toString(QKeySequence::NativeText);
        }
        QAction* action = menu->addAction(caption);
        const unsigned int command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { SendScintilla(command); });
        if (entry.enabledWhen == kHasSelection) {
            action->setEnabled(SendScintilla(SCI_GETSELECTIONEMPTY) == 0);
        } else if (entry.enabledWhen != kAlways) {
            action->setEnabled(SendScintilla(entry.enabledWhen) != 0);
        }
    }
    if (!extraActions_.isEmpty()) {
        menu->addSeparator();
        menu->addActions(extraActions_);
    }
    return menu;
}

void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = standardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    // A tab in a segment line would break every segment after it: Tab moves on instead.
    const bool plainTab = (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
                          (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (plainTab) {
        const bool forward =
            event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier) == 0;
        focusNextPrevChild(forward);
        return;
    }
    QsciScintillaBase::keyPressEvent(event);
}

bool TextBox::focusNextPrevChild(bool next) {
    // The editor keeps focus for itself; the box passes it on like an edit box.
    return QWidget::focusNextPrevChild(next);
}

}  // namespace haoma::app
