// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/widgets/ErrorReport.h"

#include <QMessageBox>

#include <utility>

namespace torvane {
namespace {

ErrorReportHook& Hook() {
  static ErrorReportHook hook;
  return hook;
}

}  // namespace

QString ApplicationTitle() { return QStringLiteral("TORVANE 1.0"); }

QString WithFullStop(const QString& message) {
  return message.endsWith(QLatin1Char('.')) ? message : message + QLatin1Char('.');
}

void ShowErrorReport(QWidget* parent, const QString& message) {
  const QString text = WithFullStop(message);
  if (Hook()) {
    Hook()(parent, text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, parent);
  box.exec();
}

ErrorReportHook SetErrorReportHook(ErrorReportHook hook) {
  return std::exchange(Hook(), std::move(hook));
}

}  // namespace torvane
