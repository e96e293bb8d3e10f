// SPDX-License-Identifier: MIT
#include "app/control_factory.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/click_label.h"
#include "app/text_box.h"

namespace haoma::app {
namespace {

QFont controlFont(const QFont& base, int boldPixels) {
    QFont font = base;
    if (boldPixels > 0) {
        font.setPixelSize(boldPixels);
        font.setBold(true);
    }
    return font;
}

void applyColor(QWidget* widget, const char* color) {
    if (color == nullptr) {
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(QString::fromLatin1(color)));
    palette.setColor(QPalette::ButtonText, QColor(QString::fromLatin1(color)));
    palette.setColor(QPalette::Text, QColor(QString::fromLatin1(color)));
    widget->setPalette(palette);
}

}  // namespace

QWidget* createControl(const ControlSpec& spec, QWidget* parent) {
    const QString caption = QString::fromUtf8(spec.caption);
    switch (spec.kind) {
        case ControlKind::GroupBox:
            return new QGroupBox(caption, parent);
        case ControlKind::Label:
            return new QLabel(caption, parent);
        case ControlKind::LineEdit:
            return new QLineEdit(caption, parent);
        case ControlKind::TextBox:
            return new TextBox(parent);
        case ControlKind::Button: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(caption, parent);
        case ControlKind::Radio:
            return new QRadioButton(caption, parent);
        case ControlKind::ListBox: {
            auto* list = new QListWidget(parent);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setSortingEnabled(false);
            list->setSpacing(1);
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            QPalette palette = list->palette();
            palette.setColor(QPalette::Base, Qt::white);
            list->setPalette(palette);
            return list;
        }
        case ControlKind::Picture: {
            auto* picture = new ClickLabel(parent);
            picture->setPixmap(QPixmap(QString::fromUtf8(spec.resource)));
            picture->setCursor(Qt::PointingHandCursor);
            return picture;
        }
        case ControlKind::Link: {
            auto* link = new ClickLabel(caption, parent);
            link->setCursor(Qt::PointingHandCursor);
            return link;
        }
    }
    return nullptr;
}

void styleControl(QWidget* widget, const ControlSpec& spec, const QFont& windowFont) {
    widget->setObjectName(QString::fromUtf8(spec.name));
    widget->setGeometry(spec.left, spec.top, spec.width, spec.height);
    // From the window's font, not the widget's: under a style sheet a child does not inherit
    // its parent's font.
    QFont font = controlFont(windowFont, spec.boldPixels);
    font.setUnderline(spec.kind == ControlKind::Link);
    widget->setFont(font);
    applyColor(widget, spec.color);
    // Labels, check boxes and radio buttons show what lies behind them unless told otherwise.
    const bool seeThrough = spec.kind == ControlKind::Label || spec.kind == ControlKind::Link ||
                            spec.kind == ControlKind::CheckBox || spec.kind == ControlKind::Radio;
    widget->setAutoFillBackground(seeThrough && !spec.transparent);
    widget->setEnabled(spec.enabled);
}

}  // namespace haoma::app
