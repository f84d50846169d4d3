// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/widgets/TXPEdit.h"

namespace torvane {

TXPEdit::TXPEdit(QWidget* parent) : QLineEdit(parent) { SetAlignment(alignment_); }

void TXPEdit::SetAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  Qt::Alignment horizontal = Qt::AlignLeft;
  if (alignment == TextAlignment::RightJustify) horizontal = Qt::AlignRight;
  if (alignment == TextAlignment::Center) horizontal = Qt::AlignHCenter;
  setAlignment(horizontal | Qt::AlignVCenter);
}

}  // namespace torvane
