// SPDX-License-Identifier: MIT
#include "app/text_box.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScrollBar>

#include <cstdint>

namespace haoma::app {
namespace {

// The standard entries of the context menu, as every Chinese edit box names them.
struct MenuEntry {
    const char* caption;
    QKeySequence::StandardKey shortcut;
    unsigned int command;  // the editor message it sends
    unsigned int enabledWhen;
};

constexpr unsigned int kAlways = 0;
constexpr unsigned int kHasSelection = 1;

const MenuEntry kMenu[] = {
    {"撤销(&U)", QKeySequence::Undo, QsciScintillaBase::SCI_UNDO, QsciScintillaBase::SCI_CANUNDO},
    {"重做(&R)", QKeySequence::Redo, QsciScintillaBase::SCI_REDO, QsciScintillaBase::SCI_CANREDO},
    {nullptr, QKeySequence::UnknownKey, 0, kAlways},
    {"剪切(&T)", QKeySequence::Cut, QsciScintillaBase::SCI_CUT, kHasSelection},
    {"复制(&C)", QKeySequence::Copy, QsciScintillaBase::SCI_COPY, kHasSelection},
    {"粘贴(&P)", QKeySequence::Paste, QsciScintillaBase::SCI_PASTE,
     QsciScintillaBase::SCI_CANPASTE},
    {"删除(&D)", QKeySequence::UnknownKey, QsciScintillaBase::SCI_CLEAR, kHasSelection},
    {nullptr, QKeySequence::UnknownKey, 0, kAlways},
    {"全选(&A)", QKeySequence::SelectAll, QsciScintillaBase::SCI_SELECTALL, kAlways},
};

bool startsWith(QByteArrayView text, qsizetype at, const char* what, qsizetype length) {
    return text.size() - at >= length && QByteArrayView(text.data() + at, length) == what;
}

// Bulk changes go past the editor's change notifications: the component's accessibility
// layer answers each of them by counting the characters from the start of the text, which
// made every appended slice cost as much as the whole box. Assistive technology, when
// running, is told once per change instead (see announce()).
class QuietChanges {
  public:
    explicit QuietChanges(QsciScintillaBase& box)
        : box_(box), mask_(box.SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK)) {
        box_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
        box_.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    }
    ~QuietChanges() {
        // Steps recorded before the change would no longer fit the text.
        box_.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        box_.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
        box_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK,
                           static_cast<unsigned long>(mask_));
    }
    QuietChanges(const QuietChanges&) = delete;
    QuietChanges& operator=(const QuietChanges&) = delete;

  private:
    QsciScintillaBase& box_;
    long mask_;
};

QString fromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// How many UTF-16 units (what assistive technology counts offsets in) the UTF-8 text makes:
// one for each character, two for one past U+FFFF.
qsizetype utf16Length(std::string_view utf8) {
    qsizetype units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0U) != 0x80U ? 1 : 0;
        units += byte >= 0xF0U ? 1 : 0;
    }
    return units;
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
    connect(this, &QsciScintillaBase::SCEN_CHANGE, this, [this] {
        utf16Length_ = -1;  // typed, pasted or undone: counted again when next needed
        emit changed();
    });
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
    // The editor's own popup is English; the box shows its own, in Chinese.
    SendScintilla(SCI_USEPOPUP, static_cast<unsigned long>(SC_POPUP_NEVER));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    applyFont();
}

TextBox::~TextBox() = default;

void TextBox::applyFont() {
    const QFont box = font();
    const QByteArray family = box.family().toUtf8();
    SendScintilla(SCI_STYLESETFONT, static_cast<std::uintptr_t>(STYLE_DEFAULT), family.constData());
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
    return fromUtf8(utf8View());
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
    const QString removed = QAccessible::isActive() ? text() : QString();
    {
        const QuietChanges quiet(*this);
        SendScintilla(SCI_CLEARALL);
        SendScintilla(SCI_APPENDTEXT, static_cast<std::uintptr_t>(utf8.size()), utf8.data());
    }
    utf16Length_ = utf16Length(utf8);
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_DOCUMENTSTART);
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, removed, fromUtf8(utf8));
        QAccessible::updateAccessibility(&event);
    }
    emit changed();
}

void TextBox::setPlainText(const QString& text) {
    setUtf8Text(text.toUtf8());
}

void TextBox::setUtf8Text(QByteArrayView utf8) {
    const QByteArray lines = toCrLfLineBreaks(utf8);
    replaceAll({lines.constData(), static_cast<std::size_t>(lines.size())});
}

void TextBox::appendUtf8(std::string_view utf8) {
    // Where the slice lands, in the units assistive technology counts: kept as the box grows
    // rather than counted from the start for every slice, which made a run with a screen
    // reader listening cost the square of its length.
    if (utf16Length_ < 0) {
        utf16Length_ = utf16Length(utf8View());
    }
    const qsizetype offset = utf16Length_;
    utf16Length_ += utf16Length(utf8);
    {
        const QuietChanges quiet(*this);
        SendScintilla(SCI_APPENDTEXT, static_cast<std::uintptr_t>(utf8.size()), utf8.data());
    }
    // The view follows the end; the caret stays (moving it costs a count of the whole text).
    SendScintilla(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(lineCount()));
    if (QAccessible::isActive()) {
        QAccessibleTextInsertEvent event(this, static_cast<int>(offset), fromUtf8(utf8));
        QAccessible::updateAccessibility(&event);
    }
    emit changed();
}

void TextBox::moveCaretToEnd() {
    SendScintilla(SCI_DOCUMENTEND);
}

void TextBox::clear() {
    replaceAll({});
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
        QString caption = QString::fromUtf8(entry.caption);
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
