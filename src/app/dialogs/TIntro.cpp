// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/TIntro.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "app/dialogs/FormParts.h"
#include "app/dialogs/Pictures.h"

namespace torvane {

TIntro::TIntro(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Intro"));
  setFixedSize(367, 216);
  // The user keeps typing in the main window while the picture shows, and
  // closing the picture must never end the program.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_QuitOnClose, false);

  // The panel's colour shows as a frame of 8 pixels (9 on the right) around
  // the picture.
  Panel = MakeBox(this, rect(), ColourValue(10485760), QColor());
  Image = new QLabel(Panel);
  Image->setGeometry(8, 8, 350, 200);
  Image->setScaledContents(true);
  Image->setPixmap(SplashPicture());

  Introtimer = new QTimer(this);
  Introtimer->setObjectName(QStringLiteral("Introtimer"));
  Introtimer->setInterval(2000);
  Introtimer->setSingleShot(true);
  connect(Introtimer, &QTimer::timeout, this, &TIntro::IntrotimerTimer);
  if (parent != nullptr) parent->window()->installEventFilter(this);
}

void TIntro::ShowSplash() {
  if (shown_) return;
  shown_ = true;
  show();
}

void TIntro::setVisible(bool visible) {
  // Placed before it shows, so that it does not jump.
  if (visible && !isVisible()) CentreOverWindow();
  QWidget::setVisible(visible);
}

// Over the middle of the main window. A window shown maximised gets its
// size from the window manager only after it is on screen, so the place
// it will take is the screen's free area; the splash follows the window
// when it is placed or sized while the picture shows.
void TIntro::CentreOverWindow() {
  const QWidget* window = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
  const QScreen* screen = window != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  QRect over;
  if (window == nullptr || window->isMinimized()) {
    if (screen != nullptr) over = screen->availableGeometry();
  } else if (window->isFullScreen()) {
    over = screen != nullptr ? screen->geometry() : window->frameGeometry();
  } else if (window->isMaximized()) {
    over = screen != nullptr ? screen->availableGeometry() : window->frameGeometry();
  } else {
    over = window->frameGeometry();
  }
  if (over.isEmpty()) return;
  QRect frame = geometry();
  frame.moveCenter(over.center());
  move(frame.topLeft());
}

bool TIntro::eventFilter(QObject* watched, QEvent* event) {
  if (isVisible() && (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                      event->type() == QEvent::WindowStateChange))
    CentreOverWindow();
  return QWidget::eventFilter(watched, event);
}

void TIntro::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TIntro::FormShow() { Introtimer->start(); }

void TIntro::IntrotimerTimer() {
  Introtimer->stop();
  close();
}

}  // namespace torvane
