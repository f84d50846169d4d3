#pragma once

class QKeyEvent;
class QLineEdit;

namespace torvane {

// The key filter of the dialogs' number fields (the cylinder diameter, the
// chord tolerance): digits, signs, "." and backspace pass, "," goes in as
// "."; editing shortcuts (Ctrl with a key), navigation and Tab pass
// untouched.
// Returns true when the key is used up here.
bool FilterNumberKeyPress(QLineEdit* field, QKeyEvent* event);

// Filters every key typed into `field` that way, for the field's lifetime.
void InstallNumberKeyFilter(QLineEdit* field);

}  // namespace torvane
