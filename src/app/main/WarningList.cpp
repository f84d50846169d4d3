// SPDX-License-Identifier: GPL-3.0-or-later
#include "WarningList.h"

#include <QEvent>
#include <QScrollBar>

#include <algorithm>

#include "app/text/QtText.h"

namespace torvane {

WarningList::WarningList(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("Warnungen"));
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Every row shown up to a third of the pane: beyond that the list would
  // crowd out the result it points into, and it scrolls instead.
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  if (parent != nullptr) parent->installEventFilter(this);
  hide();
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    emit LineChosen(LineOf(row(item)));
  });
  // Enter on a row does what a click does.
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    emit LineChosen(LineOf(row(item)));
  });
}

void WarningList::SetWarnings(const std::vector<ConversionWarning>& warnings) {
  clear();
  lines_.clear();
  for (const ConversionWarning& warning : warnings) {
    auto* item = new QListWidgetItem(
        QStringLiteral("Zeile %1: %2").arg(warning.line).arg(BytesToQString(warning.text)), this);
    // A long message runs past the pane's edge.
    item->setToolTip(item->text());
    lines_.push_back(warning.line);
  }
  updateGeometry();
  setVisible(!warnings.empty());
}

QSize WarningList::sizeHint() const {
  int rows = 0;
  for (int row = 0; row < count(); ++row) rows += sizeHintForRow(row);
  int height = rows + 2 * frameWidth();
  if (count() > 0 && sizeHintForColumn(0) > viewport()->width())
    height += horizontalScrollBar()->sizeHint().height();
  if (parentWidget() != nullptr) height = std::min(height, parentWidget()->height() / 3);
  return {QListWidget::sizeHint().width(), height};
}

bool WarningList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) updateGeometry();
  return QListWidget::eventFilter(watched, event);
}

// A narrower list may need the horizontal scroll bar, and the room for it.
void WarningList::resizeEvent(QResizeEvent* event) {
  QListWidget::resizeEvent(event);
  updateGeometry();
}

std::size_t WarningList::LineOf(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < lines_.size() ? lines_[static_cast<std::size_t>(row)]
                                                                    : 0;
}

}  // namespace torvane
