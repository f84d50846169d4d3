// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/NumberKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "text/FloatText.h"

namespace torvane {
namespace {

class NumberKeyFilter : public QObject {
 public:
  explicit NumberKeyFilter(QLineEdit* field) : QObject(field), field_(field) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == field_ && event->type() == QEvent::KeyPress)
      return FilterNumberKeyPress(field_, static_cast<QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
  }

 private:
  QLineEdit* field_;
};

}  // namespace

bool FilterNumberKeyPress(QLineEdit* field, QKeyEvent* event, QChar decimalSign) {
  switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
      return false;
    default:
      break;
  }
  // The filter is for typed characters only: Ctrl with a key is an editing
  // shortcut (select all, copy, paste, cut, undo) and goes to the field.
  // What a paste brings is checked when the value is taken over. Ctrl+Alt
  // is AltGr on many keyboards, which does type characters.
  const Qt::KeyboardModifiers chord = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
  if (chord == Qt::ControlModifier) return false;

  const QString typed = event->text();
  if (typed.isEmpty()) return false;  // arrows, Home, End: no character
  QString kept;
  for (const QChar c : typed) {
    if (c.unicode() > 0xFF) continue;
    if (const auto passed = FilterDiameterKey(static_cast<char>(c.unicode())))
      kept += QLatin1Char(*passed);
  }
  // Whichever of the two the keyboard gives (the German number pad has a
  // comma), the field gets the one it shows.
  kept.replace(u'.', decimalSign);
  if (kept == typed) return false;
  if (kept.isEmpty()) return true;

  const int key = kept == QStringView(&decimalSign, 1)
                      ? int(decimalSign == u',' ? Qt::Key_Comma : Qt::Key_Period)
                      : event->key();
  QKeyEvent replaced(QEvent::KeyPress, key, event->modifiers(), kept, event->isAutoRepeat());
  QCoreApplication::sendEvent(field, &replaced);
  return true;
}

void InstallNumberKeyFilter(QLineEdit* field) {
  field->installEventFilter(new NumberKeyFilter(field));
}

}  // namespace torvane
