#include "WarningList.h"

#include "app/text/QtText.h"

namespace torvane {

TWarningList::TWarningList(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("Warnungen"));
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Room for four rows: the list is a pointer to the source, not a report
  // to read through, and the result pane above keeps most of the height.
  setMaximumHeight(4 * fontMetrics().height() + 2 * frameWidth() + 8);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  hide();
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    emit LineChosen(LineOf(row(item)));
  });
  // Enter on a row does what a click does.
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    emit LineChosen(LineOf(row(item)));
  });
}

void TWarningList::SetWarnings(const std::vector<ConversionWarning>& warnings) {
  clear();
  lines_.clear();
  for (const ConversionWarning& warning : warnings) {
    addItem(QStringLiteral("Zeile %1: %2").arg(warning.line).arg(BytesToQString(warning.text)));
    lines_.push_back(warning.line);
  }
  setVisible(!warnings.empty());
}

std::size_t TWarningList::LineOf(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < lines_.size() ? lines_[static_cast<std::size_t>(row)]
                                                                    : 0;
}

}  // namespace torvane
