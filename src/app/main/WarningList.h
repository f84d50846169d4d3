#pragma once

#include <QListWidget>

#include <cstddef>
#include <vector>

#include "conversion/Conversion.h"

namespace torvane {

// The warnings of the last conversion, one row each ("Zeile 12: ..."),
// under the result pane. Hidden while there are none. A click on a row
// asks for its source line to be shown.
class TWarningList : public QListWidget {
  Q_OBJECT

 public:
  explicit TWarningList(QWidget* parent = nullptr);

  void SetWarnings(const std::vector<ConversionWarning>& warnings);
  // The 1-based source line of a row.
  std::size_t LineOf(int row) const;

 signals:
  void LineChosen(std::size_t line);

 private:
  std::vector<std::size_t> lines_;
};

}  // namespace torvane
