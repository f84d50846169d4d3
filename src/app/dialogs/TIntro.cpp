#include "app/dialogs/TIntro.h"

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
}

void TIntro::ShowSplash() {
  if (shown_) return;
  shown_ = true;
  show();
}

// Centred on the desktop, placed before it shows so that it does not jump.
void TIntro::setVisible(bool visible) {
  if (visible && !isVisible()) {
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      QRect frame = geometry();
      frame.moveCenter(screen->geometry().center());
      move(frame.topLeft());
    }
  }
  QWidget::setVisible(visible);
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
