// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace torvane {

// An edit field whose text stands left, right or centred; the settings
// dialog right-justifies its numeric fields so that digits line up.
class TXPEdit : public QLineEdit {
  Q_OBJECT

 public:
  enum class TAlignment { LeftJustify, RightJustify, Center };
  Q_ENUM(TAlignment)

  explicit TXPEdit(QWidget* parent = nullptr);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

 private:
  TAlignment alignment_ = TAlignment::LeftJustify;
};

}  // namespace torvane
