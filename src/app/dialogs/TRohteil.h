// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QLineEdit;

namespace torvane {

class TXPSpeedButton;

// Asks for the diameter of the cylinder on whose lateral surface the program
// is to be machined. Created once and reused for every conversion; the
// diameter it keeps lives for the whole program run and is never saved.
class TRohteil : public QDialog {
  Q_OBJECT

 public:
  explicit TRohteil(QWidget* parent = nullptr);

  // Shows the dialog modally. True when the user took over a valid diameter
  // (a number above 0), false when the user cancelled: then the caller
  // converts nothing.
  bool Run();

  // 100 until the user first accepts another value; only accepting writes it.
  long double Diameter() const { return diameter_; }

  // The controls, for the main window's tests to drive.
  QWidget* PANELZYL2 = nullptr;
  QLabel* Image3 = nullptr;
  QWidget* Shape11 = nullptr;
  QWidget* Shape18 = nullptr;
  QWidget* Shape1 = nullptr;
  QLabel* Label15 = nullptr;
  QLineEdit* ZYL2_R = nullptr;
  QLabel* Einheit = nullptr;  // "mm" beside the field
  QWidget* Panel3 = nullptr;
  QWidget* Shape2 = nullptr;
  TXPSpeedButton* Abbruch = nullptr;
  TXPSpeedButton* XPSpeedButton3 = nullptr;

 public slots:
  void FormShow();
  void XPSpeedButton3Click();
  void AbbruchClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool ZYL2_RKeyPress(QKeyEvent* event);

  long double diameter_ = 100;
};

}  // namespace torvane
