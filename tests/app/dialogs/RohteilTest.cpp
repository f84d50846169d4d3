// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdlib>

#include "MessageBoxCatcher.h"
#include "app/dialogs/TRohteil.h"
#include "app/widgets/TXPSpeedButton.h"

using torvane::TRohteil;

namespace {

// The value of a field's text, with the decimal comma the field shows.
long double Value(QString text) {
  return std::strtold(text.replace(u',', u'.').toLatin1().constData(), nullptr);
}

// Types like a keyboard; Qt Test's own typing knows only ASCII.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x80)
      QTest::keyClick(widget, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

void Accept(TRohteil& dialog) { QTest::mouseClick(dialog.XPSpeedButton3, Qt::LeftButton); }
void Cancel(TRohteil& dialog) { QTest::mouseClick(dialog.Abbruch, Qt::LeftButton); }

// Shows the dialog as the convert command does, takes over the text and
// returns with the dialog closed again.
void AcceptText(TRohteil& dialog, const QString& text) {
  dialog.show();
  dialog.ZYL2_R->setText(text);
  Accept(dialog);
}

}  // namespace

class RohteilTest : public QObject {
  Q_OBJECT

 private slots:
  void keyFilter_data();
  void keyFilter();
  void enterAndEscapeDoNotClose_data();
  void enterAndEscapeDoNotClose();
  void accept_data();
  void accept();
  void cancelKeepsDiameterAndForgetsText();
  void showDisplaysGeneralFormat_data();
  void showDisplaysGeneralFormat();
  void runTellsAcceptFromCancel_data();
  void runTellsAcceptFromCancel();
  void unitBesideTheField();
};

void RohteilTest::keyFilter_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QList<int>>("keys");
  QTest::addColumn<bool>("keysTypeText");  // false: as platforms that give no control character
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("clipboard");  // before: "77"

  const auto key = [](QKeyCombination combination) { return combination.toCombined(); };
  const QString kept = QStringLiteral("77");
  QTest::newRow("comma passes") << "" << "50,5" << QList<int>{} << true << "50,5" << kept;
  QTest::newRow("point becomes comma") << "" << "50.5" << QList<int>{} << true << "50,5" << kept;
  QTest::newRow("digits, signs, decimal signs pass")
      << "" << "+-1.2,3" << QList<int>{} << true << "+-1,2,3" << kept;
  QTest::newRow("letters dropped") << "" << "1a2Bx" << QList<int>{} << true << "12" << kept;
  QTest::newRow("exponent letter dropped") << "" << "1E5" << QList<int>{} << true << "15" << kept;
  QTest::newRow("blank dropped") << "" << "1 2" << QList<int>{} << true << "12" << kept;
  QTest::newRow("umlaut dropped") << "" << "1ü2" << QList<int>{} << true << "12" << kept;
  QTest::newRow("backspace passes")
      << "12" << "" << QList<int>{int(Qt::Key_Backspace)} << true << "1" << kept;
  QTest::newRow("Delete passes")
      << "12" << "" << QList<int>{int(Qt::Key_Home), int(Qt::Key_Delete)} << true << "2" << kept;
  QTest::newRow("Ctrl+V pastes")
      << "1" << "" << QList<int>{key(Qt::CTRL | Qt::Key_V)} << true << "177" << kept;
  QTest::newRow("Ctrl+A, Ctrl+X cuts all")
      << "12" << "" << QList<int>{key(Qt::CTRL | Qt::Key_A), key(Qt::CTRL | Qt::Key_X)} << true
      << "" << "12";
  QTest::newRow("Ctrl+A, Ctrl+C copies")
      << "12" << "" << QList<int>{key(Qt::CTRL | Qt::Key_A), key(Qt::CTRL | Qt::Key_C)} << true
      << "12" << "12";
  QTest::newRow("Ctrl+A, then typing replaces")
      << "12" << "" << QList<int>{key(Qt::CTRL | Qt::Key_A), int(Qt::Key_8)} << true << "8"
      << kept;
  QTest::newRow("Ctrl+Z undoes") << "1" << "5" << QList<int>{key(Qt::CTRL | Qt::Key_Z)} << true
                                 << "1" << kept;
  QTest::newRow("Ctrl+V giving no character")
      << "1" << "" << QList<int>{key(Qt::CTRL | Qt::Key_V)} << false << "177" << kept;
  QTest::newRow("Shift+Insert pastes")
      << "" << "" << QList<int>{key(Qt::SHIFT | Qt::Key_Insert)} << true << "77" << kept;
  QTest::newRow("Enter") << "1" << "" << QList<int>{int(Qt::Key_Return)} << true << "1" << kept;
  QTest::newRow("Escape") << "1" << "" << QList<int>{int(Qt::Key_Escape)} << true << "1" << kept;
}

void RohteilTest::keyFilter() {
  QFETCH(QString, start);
  QFETCH(QString, typed);
  QFETCH(QList<int>, keys);
  QFETCH(bool, keysTypeText);
  QFETCH(QString, field);
  QFETCH(QString, clipboard);

  QGuiApplication::clipboard()->setText(QStringLiteral("77"));
  TRohteil dialog;
  dialog.show();
  dialog.ZYL2_R->setText(start);
  dialog.ZYL2_R->deselect();
  dialog.ZYL2_R->end(false);

  Type(dialog.ZYL2_R, typed);
  for (const int combined : keys) {
    const QKeyCombination combination = QKeyCombination::fromCombined(combined);
    if (keysTypeText)
      QTest::keyClick(dialog.ZYL2_R, combination.key(), combination.keyboardModifiers());
    else
      QTest::sendKeyEvent(QTest::Click, dialog.ZYL2_R, combination.key(), QString(),
                          combination.keyboardModifiers());
  }

  QCOMPARE(dialog.ZYL2_R->text(), field);
  QVERIFY(dialog.isVisible());
  QCOMPARE(dialog.Diameter(), 100.0L);
  QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void RohteilTest::enterAndEscapeDoNotClose_data() {
  QTest::addColumn<int>("key");
  QTest::newRow("Return") << int(Qt::Key_Return);
  QTest::newRow("Enter") << int(Qt::Key_Enter);
  QTest::newRow("Escape") << int(Qt::Key_Escape);
}

// Keys that reach the dialog itself, with the focus outside the field.
void RohteilTest::enterAndEscapeDoNotClose() {
  QFETCH(int, key);
  TRohteil dialog;
  dialog.show();
  dialog.ZYL2_R->setText(QStringLiteral("80"));

  QTest::keyClick(&dialog, Qt::Key(key));

  QVERIFY(dialog.isVisible());
  QCOMPARE(dialog.Diameter(), 100.0L);
}

void RohteilTest::accept_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("error");  // empty: accepted

  QTest::newRow("unchanged 100") << "100" << "";
  QTest::newRow("fifty and a half") << "50,5" << "";
  QTest::newRow("with a point, pasted") << "50.5" << "";
  QTest::newRow("tiny but above 0") << "0,001" << "";
  QTest::newRow("zero") << "0" << QStringLiteral("Der Durchmesser muss größer als 0 sein.");
  QTest::newRow("minus zero") << "-0" << QStringLiteral("Der Durchmesser muss größer als 0 sein.");
  QTest::newRow("negative") << "-5" << QStringLiteral("Der Durchmesser muss größer als 0 sein.");
  QTest::newRow("circumference overflows") << "1.1e4932" << QStringLiteral("Der Durchmesser ist zu groß.");
  QTest::newRow("exponent, only by paste") << "1E15" << "";
  QTest::newRow("blanks around") << " 80 " << "";
  QTest::newRow("empty") << "" << "'' ist kein gültiger Gleitkommawert.";
  QTest::newRow("lone plus") << "+" << "'+' ist kein gültiger Gleitkommawert.";
  QTest::newRow("two points") << "1.2.3" << "'1.2.3' ist kein gültiger Gleitkommawert.";
  QTest::newRow("two commas, as typed") << "1,2,3" << "'1,2,3' ist kein gültiger Gleitkommawert.";
}

void RohteilTest::accept() {
  QFETCH(QString, text);
  QFETCH(QString, error);

  TRohteil dialog;
  dialog.show();
  dialog.ZYL2_R->setText(text);
  MessageBoxCatcher catcher;
  Accept(dialog);

  if (error.isEmpty()) {
    QCOMPARE(catcher.seen, 0);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Diameter(), Value(text));
  } else {
    QCOMPARE(catcher.seen, 1);
    QCOMPARE(catcher.text, error);
    QCOMPARE(catcher.title, QStringLiteral("TORVANE 1.0"));
    QCOMPARE(catcher.icon, QMessageBox::Critical);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.ZYL2_R->text(), text);
    QCOMPARE(dialog.Diameter(), 100.0L);
  }
}

void RohteilTest::cancelKeepsDiameterAndForgetsText() {
  TRohteil dialog;
  AcceptText(dialog, QStringLiteral("80"));
  dialog.show();
  Type(dialog.ZYL2_R, QStringLiteral("33"));
  Cancel(dialog);

  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(dialog.Diameter(), 80.0L);
  dialog.show();
  QCOMPARE(dialog.ZYL2_R->text(), QStringLiteral("80"));
}

void RohteilTest::showDisplaysGeneralFormat_data() {
  QTest::addColumn<QStringList>("accepted");
  QTest::addColumn<QString>("shown");

  QTest::newRow("first show") << QStringList{} << "100";
  QTest::newRow("twelve and a half") << QStringList{"12.5"} << "12,5";
  QTest::newRow("fifty and a half") << QStringList{"50,5"} << "50,5";
  QTest::newRow("sixteen digits") << QStringList{"1000000000000000"} << "1E15";
  QTest::newRow("1E15 accepted again") << QStringList{"1000000000000000", "1E15"} << "1E15";
}

void RohteilTest::showDisplaysGeneralFormat() {
  QFETCH(QStringList, accepted);
  QFETCH(QString, shown);

  TRohteil dialog;
  for (const QString& text : accepted) {
    dialog.show();
    // What the previous show displayed must read back as the same value.
    QCOMPARE(Value(dialog.ZYL2_R->text()), dialog.Diameter());
    dialog.ZYL2_R->setText(text);
    Accept(dialog);
    QVERIFY(!dialog.isVisible());
  }
  dialog.show();
  QCOMPARE(dialog.ZYL2_R->text(), shown);
}

void RohteilTest::runTellsAcceptFromCancel_data() {
  QTest::addColumn<QString>("closeBy");
  QTest::addColumn<bool>("accepted");
  QTest::addColumn<QString>("diameter");

  QTest::newRow("Übernehmen") << "accept" << true << "80";
  QTest::newRow("Abbrechen") << "cancel" << false << "100";
  QTest::newRow("Alt+N") << "altN" << true << "80";
  QTest::newRow("Alt+A") << "altA" << false << "100";
  QTest::newRow("closed by the window system") << "close" << false << "100";
}

void RohteilTest::runTellsAcceptFromCancel() {
  QFETCH(QString, closeBy);
  QFETCH(bool, accepted);
  QFETCH(QString, diameter);

  TRohteil dialog;
  bool active = false;
  QTimer::singleShot(0, &dialog, [&] {
    // The accelerators reach only the active window.
    active = QTest::qWaitForWindowActive(&dialog);
    dialog.ZYL2_R->setText(QStringLiteral("80"));
    if (closeBy == QLatin1String("accept")) Accept(dialog);
    if (closeBy == QLatin1String("cancel")) Cancel(dialog);
    if (closeBy == QLatin1String("altN"))
      QTest::keyClick(dialog.ZYL2_R, Qt::Key_N, Qt::AltModifier);
    if (closeBy == QLatin1String("altA"))
      QTest::keyClick(dialog.ZYL2_R, Qt::Key_A, Qt::AltModifier);
    if (closeBy == QLatin1String("close")) dialog.close();
    // Never leave the test hanging in the modal loop.
    if (dialog.isVisible()) dialog.done(-1);
  });

  const bool result = dialog.Run();

  QVERIFY(active);
  QVERIFY2(dialog.result() != -1, "still open after the closing action");
  QCOMPARE(result, accepted);
  QCOMPARE(dialog.Diameter(), Value(diameter));
}

// "mm" on the field's row, right of it, inside the dialog.
void RohteilTest::unitBesideTheField() {
  TRohteil dialog;
  dialog.show();
  const QRect field = dialog.ZYL2_R->geometry();
  const QRect unit = dialog.Einheit->geometry();
  QCOMPARE(dialog.Einheit->text(), QStringLiteral("mm"));
  QVERIFY(unit.left() > field.right() && unit.right() < dialog.width());
  QVERIFY(unit.top() < field.bottom() && unit.bottom() > field.top());
}

QTEST_MAIN(RohteilTest)
#include "RohteilTest.moc"
