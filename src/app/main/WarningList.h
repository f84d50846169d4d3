// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

#include <cstddef>
#include <vector>

#include "conversion/Conversion.h"

namespace torvane {

// The warnings of the last conversion, one row each ("Zeile 12: ..."),
// under the result pane. Hidden while there are none. As tall as its rows,
// up to a third of the pane it stands in (`parent`); a row's tool tip holds
// its whole text. A click on a row asks for its source line to be shown.
class WarningList : public QListWidget {
  Q_OBJECT

 public:
  explicit WarningList(QWidget* parent = nullptr);

  void SetWarnings(const std::vector<ConversionWarning>& warnings);
  // The 1-based source line of a row.
  std::size_t LineOf(int row) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  void LineChosen(std::size_t line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::vector<std::size_t> lines_;
};

}  // namespace torvane
