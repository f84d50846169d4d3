// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace torvane {

// The splash window: the program's picture for two seconds at start-up,
// centred over the main window, which stays usable meanwhile.
class TIntro : public QWidget {
  Q_OBJECT

 public:
  explicit TIntro(QWidget* parent = nullptr);

  // Shows the window without waiting; its timer closes it. Shows it at most
  // once per program run.
  void ShowSplash();

  void setVisible(bool visible) override;

  QWidget* Panel = nullptr;
  QLabel* Image = nullptr;
  QTimer* Introtimer = nullptr;

 public slots:
  void FormShow();
  void IntrotimerTimer();

 protected:
  void showEvent(QShowEvent* event) override;
  // Follows the main window while it is placed.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CentreOverWindow();

  bool shown_ = false;
};

}  // namespace torvane
