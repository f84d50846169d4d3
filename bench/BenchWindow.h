// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QStringList>

#include "TMainform.h"
#include "app/dialogs/TRohteil.h"
#include "app/widgets/ErrorReport.h"
#include "conversion/Conversion.h"
#include "settings/Settings.h"

namespace torvane {

// The desktop program's main window as the benchmarks drive it: the
// settings of `settingsDir`, every file dialog answered with `program`, the
// errors collected instead of shown, the window shown at `width` x `height`.
struct BenchWindow {
  BenchWindow(const char* settingsDir, const QString& program, int width, int height)
      : settings(settingsDir), mainform(settings, conversion), rohteil(&mainform) {
    mainform.Rohteil = &rohteil;
    SetErrorReportHook([this](QWidget*, const QString& message) { errors << message; });
    mainform.FileDialog = [program](QWidget*, const FileDialogRequest&) { return program; };
    mainform.resize(width, height);
    mainform.show();
    mainform.FormShow();
    QApplication::processEvents();
  }
  ~BenchWindow() { SetErrorReportHook({}); }
  BenchWindow(const BenchWindow&) = delete;
  BenchWindow& operator=(const BenchWindow&) = delete;

  Settings settings;
  Conversion conversion;
  TMainform mainform;
  TRohteil rohteil;
  QStringList errors;
};

}  // namespace torvane
