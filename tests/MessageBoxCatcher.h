// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Closes every message box that opens while it lives, with its OK button,
// and remembers what the last one showed, so that a test never waits for a
// user.
class MessageBoxCatcher : public QObject {
 public:
  MessageBoxCatcher() {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxCatcher::Poll);
    timer_.start(10);
  }

  int seen = 0;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    ++seen;
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
    else box->reject();
  }

  QTimer timer_;
};
