// SPDX-License-Identifier: MIT
#pragma once
// Widgets for the rows of the control table.

#include <QWidget>

#include "app/control_table.h"

namespace haoma::app {

// A widget of the row's kind with its caption and the behaviour of that kind (multi-line
// boxes with both scroll bars and no wrapping, an unsorted single-selection list, ...).
QWidget* createControl(const ControlSpec& spec, QWidget* parent);

// Object name, place, font (the window's, bold at the row's size if it asks), colour and
// enabled state of the row.
void styleControl(QWidget* widget, const ControlSpec& spec, const QFont& windowFont);

}  // namespace haoma::app
