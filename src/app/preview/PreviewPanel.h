// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "conversion/ConversionState.h"
#include "text/LineFile.h"

class QLabel;
class QToolButton;

namespace torvane {

class PreviewCanvas;

// The "Vorschau" beside the panes: a header with the view buttons, the
// picture, and a line that says what was read and what was not.
class PreviewPanel : public QWidget {
  Q_OBJECT

 public:
  explicit PreviewPanel(QWidget* parent = nullptr);

  // Reads the converted program's lines with the settings and the diameter
  // that wrote them, and shows it. `sameProgram`: an edit of the program
  // shown, so the view keeps its turn and zoom.
  void ShowProgram(const std::vector<std::string>& lines, const ConversionSettings& settings,
                   long double diameter, bool sameProgram);
  // The same for lines that `eachLine` hands over one by one: a pane's
  // millions of lines need no list of their own.
  void ShowProgram(const std::function<void(const LineTaker&)>& eachLine,
                   const ConversionSettings& settings, long double diameter, bool sameProgram);
  // No program to show, and why.
  void ShowNothing(const QString& reason);
  void SetCaretLine(std::size_t line);

  PreviewCanvas* Canvas() const { return canvas_; }
  QLabel* Summary() const { return summary_; }
  QToolButton* Button3D = nullptr;
  QToolButton* ButtonFlat = nullptr;
  QToolButton* ButtonFit = nullptr;
  QToolButton* ButtonReset = nullptr;

 signals:
  // The user clicked a move: the 1-based line of the converted program.
  void LineClicked(std::size_t line);

 private:
  PreviewCanvas* canvas_ = nullptr;
  QLabel* summary_ = nullptr;
};

}  // namespace torvane
