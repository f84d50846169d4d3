#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace torvane {

// The splash window: the program's picture for two seconds at start-up,
// over the main window, which stays usable meanwhile.
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

 private:
  bool shown_ = false;
};

}  // namespace torvane
