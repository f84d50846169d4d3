// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>

class QKeyEvent;
class QLineEdit;

namespace torvane {

// The key filter of the dialogs' number fields (the cylinder diameter, the
// chord tolerance): digits, signs, backspace and the decimal sign pass, and
// "." and "," both go in as the field's `decimalSign`; editing shortcuts
// (Ctrl with a key), navigation and Tab pass untouched.
// Returns true when the key is used up here.
bool FilterNumberKeyPress(QLineEdit* field, QKeyEvent* event, QChar decimalSign = u'.');

// Filters every key typed into `field` that way, for the field's lifetime.
void InstallNumberKeyFilter(QLineEdit* field);

}  // namespace torvane
