// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace torvane {

// "TORVANE 1.0": the caption of the program's windows and error reports.
QString ApplicationTitle();

// The message as the error report shows it: with a full stop at the end,
// appended when it has none.
QString WithFullStop(const QString& message);

// Shows an error no command handled: a message box captioned with the
// application title, an error icon and OK. Returns when the user closed it.
void ShowErrorReport(QWidget* parent, const QString& message);

// Replaces the message box, for tests that drive windows without a user.
// The hook gets the message with its full stop. Returns the hook it replaces;
// an empty hook brings the message box back.
using ErrorReportHook = std::function<void(QWidget* parent, const QString& message)>;
ErrorReportHook SetErrorReportHook(ErrorReportHook hook);

}  // namespace torvane
