// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace torvane {

// An edit field whose text stands left, right or centred; the settings
// dialog right-justifies its numeric fields so that digits line up.
class TXPEdit : public QLineEdit {
  Q_OBJECT

 public:
  enum class TextAlignment { LeftJustify, RightJustify, Center };
  Q_ENUM(TextAlignment)

  explicit TXPEdit(QWidget* parent = nullptr);

  TextAlignment Alignment() const { return alignment_; }
  void SetAlignment(TextAlignment alignment);

 private:
  TextAlignment alignment_ = TextAlignment::LeftJustify;
};

}  // namespace torvane
