// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCursor>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/widgets/TXPSpeedButton.h"

using torvane::TXPSpeedButton;
using State = TXPSpeedButton::ButtonState;

namespace {

constexpr QPoint kCentre(20, 15);  // of a 40 x 30 button
const QColor kNormal(200, 0, 0);
const QColor kActive(0, 200, 0);
const QColor kDown(0, 0, 200);

// A window with buttons side by side, 40 x 30 each, 50 pixels apart.
struct Form {
  QWidget window;
  std::vector<TXPSpeedButton*> buttons;

  explicit Form(int count) {
    window.resize(60 + 50 * count, 120);
    for (int i = 0; i < count; ++i) {
      auto* button = new TXPSpeedButton(&window);
      button->setGeometry(10 + 50 * i, 40, 40, 30);
      button->SetBrushNormal(kNormal);
      button->SetBrushActive(kActive);
      button->SetBrushDown(kDown);
      buttons.push_back(button);
    }
  }
};

void ClickWithMouse(TXPSpeedButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, kCentre);
}

void Latch(TXPSpeedButton* button) {
  button->SetGroupIndex(1);
  button->SetDown(true);
}

QColor FaceColour(TXPSpeedButton* button) { return button->grab().toImage().pixelColor(3, 3); }
QColor GlyphColour(TXPSpeedButton* button) { return button->grab().toImage().pixelColor(kCentre); }

}  // namespace

class SpeedButtonTest : public QObject {
  Q_OBJECT

 private slots:
  void clickFiresOnlyWhenReleasedInside_data();
  void clickFiresOnlyWhenReleasedInside();
  void groupRules_data();
  void groupRules();
  void groupEndsAtParent();
  void faceColours_data();
  void faceColours();
  void glyphImagePerState_data();
  void glyphImagePerState();
  void glyphWithoutAlphaShowsFaceThroughLowerLeftColour();
  void doubleClickOnlyOnLatchedButton_data();
  void doubleClickOnlyOnLatchedButton();
  void accelerator_data();
  void accelerator();
  void neverTakesFocus();
};

void SpeedButtonTest::clickFiresOnlyWhenReleasedInside_data() {
  QTest::addColumn<int>("groupIndex");
  QTest::addColumn<QList<QPoint>>("dragPath");
  QTest::addColumn<QPoint>("release");
  QTest::addColumn<int>("clicks");
  QTest::addColumn<bool>("down");

  QTest::newRow("push, inside") << 0 << QList<QPoint>{} << kCentre << 1 << false;
  QTest::newRow("push, last column") << 0 << QList<QPoint>{} << QPoint(39, 15) << 1 << false;
  QTest::newRow("push, right of it") << 0 << QList<QPoint>{} << QPoint(40, 15) << 0 << false;
  QTest::newRow("push, left of it") << 0 << QList<QPoint>{} << QPoint(-1, 15) << 0 << false;
  QTest::newRow("push, above") << 0 << QList<QPoint>{} << QPoint(20, -1) << 0 << false;
  QTest::newRow("push, line below counts") << 0 << QList<QPoint>{} << QPoint(20, 30) << 1 << false;
  QTest::newRow("push, two lines below") << 0 << QList<QPoint>{} << QPoint(20, 31) << 0 << false;
  QTest::newRow("push, out and back in")
      << 0 << QList<QPoint>{QPoint(80, 15), QPoint(25, 10)} << QPoint(25, 10) << 1 << false;
  QTest::newRow("push, in and out")
      << 0 << QList<QPoint>{QPoint(25, 10), QPoint(80, 15)} << QPoint(80, 15) << 0 << false;
  QTest::newRow("toggle, inside latches") << 1 << QList<QPoint>{} << kCentre << 1 << true;
  QTest::newRow("toggle, outside stays up")
      << 1 << QList<QPoint>{QPoint(80, 15)} << QPoint(80, 15) << 0 << false;
}

void SpeedButtonTest::clickFiresOnlyWhenReleasedInside() {
  QFETCH(int, groupIndex);
  QFETCH(QList<QPoint>, dragPath);
  QFETCH(QPoint, release);
  QFETCH(int, clicks);
  QFETCH(bool, down);

  Form form(1);
  TXPSpeedButton* button = form.buttons[0];
  button->SetGroupIndex(groupIndex);
  QSignalSpy clicked(button, &TXPSpeedButton::OnClick);

  QTest::mousePress(button, Qt::LeftButton, {}, kCentre);
  QCOMPARE(button->State(), State::Down);
  for (const QPoint& point : dragPath) QTest::mouseMove(button, point);
  QTest::mouseRelease(button, Qt::LeftButton, {}, release);

  QCOMPARE(clicked.count(), clicks);
  QCOMPARE(button->Down(), down);
  QCOMPARE(button->State(), down ? State::Latched : State::Up);
}

// Each row lays out buttons with group numbers, sets AllowAllUp on each,
// then runs actions: "c<i>" clicks button i with the mouse, "d<i>" and
// "u<i>" set its Down to true and false, "a<i>" sets its AllowAllUp.
void SpeedButtonTest::groupRules_data() {
  QTest::addColumn<QList<int>>("groups");
  QTest::addColumn<QList<int>>("allowAllUp");
  QTest::addColumn<QString>("actions");
  QTest::addColumn<QString>("down");
  QTest::addColumn<QList<int>>("clicks");

  QTest::newRow("push button never latches")
      << QList<int>{0} << QList<int>{0} << "c0 c0" << "0" << QList<int>{2};
  QTest::newRow("Down on a push button is ignored")
      << QList<int>{0} << QList<int>{1} << "d0" << "0" << QList<int>{0};
  QTest::newRow("one-of: the second releases the first")
      << QList<int>{1, 1} << QList<int>{0, 0} << "c0 c1" << "01" << QList<int>{1, 1};
  QTest::newRow("one-of: latched stays down, still clicks")
      << QList<int>{1, 1} << QList<int>{0, 0} << "c0 c0" << "10" << QList<int>{2, 0};
  QTest::newRow("one-of: release by program refused")
      << QList<int>{1, 1} << QList<int>{0, 0} << "d0 u0" << "10" << QList<int>{0, 0};
  QTest::newRow("one-of: Down releases the other")
      << QList<int>{1, 1, 1} << QList<int>{0, 0, 0} << "d0 d2" << "001" << QList<int>{0, 0, 0};
  QTest::newRow("single toggle with all up flips")
      << QList<int>{5} << QList<int>{1} << "c0 c0 c0" << "1" << QList<int>{3};
  QTest::newRow("all up: latched released by program")
      << QList<int>{5} << QList<int>{1} << "d0 u0" << "0" << QList<int>{0};
  QTest::newRow("all up: a group is still one at a time")
      << QList<int>{4, 4} << QList<int>{1, 1} << "c0 c1" << "01" << QList<int>{1, 1};
  QTest::newRow("other groups are left alone")
      << QList<int>{1, 2, 2} << QList<int>{0, 0, 0} << "c0 c1" << "110" << QList<int>{1, 1, 0};
  QTest::newRow("AllowAllUp spreads through the group")
      << QList<int>{3, 3} << QList<int>{0, 0} << "c1 a0 c1" << "00" << QList<int>{0, 2};
  QTest::newRow("AllowAllUp stays within its group")
      << QList<int>{3, 6} << QList<int>{0, 0} << "c1 a0 c1" << "01" << QList<int>{0, 2};
}

void SpeedButtonTest::groupRules() {
  QFETCH(QList<int>, groups);
  QFETCH(QList<int>, allowAllUp);
  QFETCH(QString, actions);
  QFETCH(QString, down);
  QFETCH(QList<int>, clicks);

  Form form(static_cast<int>(groups.size()));
  std::vector<std::unique_ptr<QSignalSpy>> spies;
  for (int i = 0; i < groups.size(); ++i) {
    form.buttons[i]->SetGroupIndex(groups[i]);
    form.buttons[i]->SetAllowAllUp(allowAllUp[i] != 0);
    spies.push_back(std::make_unique<QSignalSpy>(form.buttons[i], &TXPSpeedButton::OnClick));
  }
  for (const QString& action : actions.split(QLatin1Char(' '))) {
    TXPSpeedButton* button = form.buttons[action.mid(1).toInt()];
    switch (action.at(0).toLatin1()) {
      case 'c': ClickWithMouse(button); break;
      case 'd': button->SetDown(true); break;
      case 'u': button->SetDown(false); break;
      case 'a': button->SetAllowAllUp(true); break;
      default: QFAIL("unknown action");
    }
  }

  QString gotDown;
  QList<int> gotClicks;
  for (std::size_t i = 0; i < form.buttons.size(); ++i) {
    gotDown += form.buttons[i]->Down() ? QLatin1Char('1') : QLatin1Char('0');
    gotClicks << static_cast<int>(spies[i]->count());
    const State wanted = form.buttons[i]->Down() ? State::Latched : State::Up;
    QCOMPARE(form.buttons[i]->State(), wanted);
  }
  QCOMPARE(gotDown, down);
  QCOMPARE(gotClicks, clicks);
}

// The settings dialog keeps two pages with buttons of the same group number
// apart by their parent panels.
void SpeedButtonTest::groupEndsAtParent() {
  QWidget window;
  QWidget left(&window);
  QWidget right(&window);
  auto* leftFirst = new TXPSpeedButton(&left);
  auto* leftSecond = new TXPSpeedButton(&left);
  auto* rightFirst = new TXPSpeedButton(&right);
  for (TXPSpeedButton* button : {leftFirst, leftSecond, rightFirst}) button->SetGroupIndex(7);

  leftFirst->SetDown(true);
  rightFirst->SetDown(true);
  leftSecond->SetDown(true);

  QVERIFY(!leftFirst->Down());
  QVERIFY(leftSecond->Down());
  QVERIFY(rightFirst->Down());
}

void SpeedButtonTest::faceColours_data() {
  QTest::addColumn<QString>("steps");
  QTest::addColumn<QColor>("face");

  QTest::newRow("at rest") << "" << kNormal;
  QTest::newRow("pressed") << "press" << kActive;
  QTest::newRow("pressed, dragged out") << "press out" << kNormal;
  QTest::newRow("pressed, dragged out and in") << "press out in" << kActive;
  QTest::newRow("hovered") << "hover" << kActive;
  QTest::newRow("hovered, then left") << "hover leave" << kNormal;
  QTest::newRow("hovered, not flat") << "notflat hover" << kNormal;
  QTest::newRow("latched") << "latch" << kDown;
  QTest::newRow("latched, hovered") << "latch hover" << kActive;
  QTest::newRow("latched, hovered, not flat") << "notflat latch hover" << kDown;
  QTest::newRow("latched, pressed again") << "latch press" << kDown;
  QTest::newRow("latched, disabled") << "latch disable" << kNormal;
  QTest::newRow("hovered, disabled") << "hover disable" << kNormal;
  QTest::newRow("disabled, enabled again latched") << "latch disable enable" << kDown;
}

void SpeedButtonTest::faceColours() {
  QFETCH(QString, steps);
  QFETCH(QColor, face);

  Form form(1);
  TXPSpeedButton* button = form.buttons[0];
  // Away from where the last row left the pointer: a window that opens
  // under it gives its button the mouse at once.
  QCursor::setPos(QPoint(700, 500));
  form.window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form.window));
  QTest::mouseMove(&form.window, QPoint(2, 2));

  bool pressed = false;
  for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    pressed = pressed || step == QLatin1String("press");
    if (step == QLatin1String("press")) QTest::mousePress(button, Qt::LeftButton, {}, kCentre);
    else if (step == QLatin1String("out")) QTest::mouseMove(button, QPoint(80, 15));
    else if (step == QLatin1String("in")) QTest::mouseMove(button, kCentre);
    else if (step == QLatin1String("hover")) QTest::mouseMove(button, kCentre);
    else if (step == QLatin1String("leave")) QTest::mouseMove(&form.window, QPoint(2, 2));
    else if (step == QLatin1String("notflat")) button->SetFlat(false);
    else if (step == QLatin1String("latch")) Latch(button);
    else if (step == QLatin1String("disable")) button->setEnabled(false);
    else if (step == QLatin1String("enable")) button->setEnabled(true);
    else QFAIL("unknown step");
  }
  const QColor got = FaceColour(button);
  // Qt Test remembers held buttons across rows; let go outside.
  if (pressed) QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(80, 15));
  QCOMPARE(got, face);
}

void SpeedButtonTest::glyphImagePerState_data() {
  QTest::addColumn<int>("numGlyphs");
  QTest::addColumn<QString>("step");
  QTest::addColumn<QColor>("glyph");  // invalid: a grey of the up image

  const QColor up(Qt::red), disabled(Qt::green), pressed(Qt::blue), latched(Qt::yellow);
  QTest::newRow("4: up") << 4 << "" << up;
  QTest::newRow("4: disabled") << 4 << "disable" << disabled;
  QTest::newRow("4: pressed") << 4 << "press" << pressed;
  QTest::newRow("4: latched") << 4 << "latch" << latched;
  QTest::newRow("4: latched, pressed again") << 4 << "latch press" << latched;
  QTest::newRow("5 counts as 4") << 5 << "latch" << latched;
  QTest::newRow("3: latched shows pressed") << 3 << "latch" << pressed;
  QTest::newRow("2: pressed shows up") << 2 << "press" << up;
  QTest::newRow("1: latched shows up") << 1 << "latch" << up;
  QTest::newRow("1: disabled greys the up image") << 1 << "disable" << QColor();
}

void SpeedButtonTest::glyphImagePerState() {
  QFETCH(int, numGlyphs);
  QFETCH(QString, step);
  QFETCH(QColor, glyph);

  const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
  const int images = std::min(numGlyphs, 4);
  QPixmap strip(16 * images, 16);
  strip.fill(Qt::transparent);
  {
    QPainter painter(&strip);
    for (int i = 0; i < images; ++i) painter.fillRect(16 * i, 0, 16, 16, colours[i]);
  }
  Form form(1);
  TXPSpeedButton* button = form.buttons[0];
  button->SetGlyph(strip);
  button->SetNumGlyphs(numGlyphs);

  bool pressed = false;
  for (const QString& part : step.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (part == QLatin1String("disable")) button->setEnabled(false);
    pressed = pressed || part == QLatin1String("press");
    if (part == QLatin1String("press")) QTest::mousePress(button, Qt::LeftButton, {}, kCentre);
    if (part == QLatin1String("latch")) Latch(button);
  }
  const QColor got = GlyphColour(button);
  if (pressed) QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(80, 15));
  if (glyph.isValid()) {
    QCOMPARE(got, glyph);
  } else {
    QVERIFY2(got.red() == got.green() && got.green() == got.blue(), qPrintable(got.name()));
    QVERIFY(got != kNormal);
  }
}

void SpeedButtonTest::glyphWithoutAlphaShowsFaceThroughLowerLeftColour() {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) image.setPixelColor(x, y, Qt::black);
  Form form(1);
  TXPSpeedButton* button = form.buttons[0];
  button->SetGlyph(QPixmap::fromImage(image));

  const QImage shot = button->grab().toImage();
  QCOMPARE(shot.pixelColor(12 + 1, 7 + 1), kNormal);  // glyph corner: transparent
  QCOMPARE(shot.pixelColor(kCentre), QColor(Qt::black));
}

void SpeedButtonTest::doubleClickOnlyOnLatchedButton_data() {
  QTest::addColumn<int>("groupIndex");
  QTest::addColumn<bool>("allowAllUp");
  QTest::addColumn<int>("doubleClicks");
  QTest::addColumn<bool>("down");

  QTest::newRow("push button") << 0 << false << 0 << false;
  QTest::newRow("one-of, latched by the first click") << 1 << false << 1 << true;
  QTest::newRow("all up, latched at the second press") << 1 << true << 1 << false;
}

void SpeedButtonTest::doubleClickOnlyOnLatchedButton() {
  QFETCH(int, groupIndex);
  QFETCH(bool, allowAllUp);
  QFETCH(int, doubleClicks);
  QFETCH(bool, down);

  Form form(1);
  TXPSpeedButton* button = form.buttons[0];
  button->SetGroupIndex(groupIndex);
  button->SetAllowAllUp(allowAllUp);
  QSignalSpy clicked(button, &TXPSpeedButton::OnClick);
  QSignalSpy doubleClicked(button, &TXPSpeedButton::OnDblClick);

  // What a double click delivers: press, release, double click, release.
  ClickWithMouse(button);
  QTest::mouseDClick(button, Qt::LeftButton, {}, kCentre);
  QTest::mouseRelease(button, Qt::LeftButton, {}, kCentre);

  QCOMPARE(doubleClicked.count(), doubleClicks);
  QCOMPARE(clicked.count(), 2);
  QCOMPARE(button->Down(), down);
}

void SpeedButtonTest::accelerator_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<int>("groupIndex");
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("change");
  QTest::addColumn<int>("clicks");

  const int altN = (Qt::ALT | Qt::Key_N).toCombined();
  QTest::newRow("Alt+N") << "Über&nehmen" << 0 << altN << "" << 1;
  QTest::newRow("capital letter in caption") << "Über&Nehmen" << 0 << altN << "" << 1;
  QTest::newRow("other letter") << "Über&nehmen" << 0 << (Qt::ALT | Qt::Key_B).toCombined() << ""
                                << 0;
  QTest::newRow("unmarked letter") << "&Abbrechen" << 0 << (Qt::ALT | Qt::Key_B).toCombined()
                                   << "" << 0;
  QTest::newRow("letter without Alt") << "Über&nehmen" << 0 << int(Qt::Key_N) << "" << 0;
  QTest::newRow("disabled") << "Über&nehmen" << 0 << altN << "disable" << 0;
  QTest::newRow("hidden") << "Über&nehmen" << 0 << altN << "hide" << 0;
  QTest::newRow("caption changed") << "Über&nehmen" << 0 << altN << "recaption" << 0;
  QTest::newRow("toggle keeps Down") << "&Nachnullen" << 101 << altN << "" << 1;
}

void SpeedButtonTest::accelerator() {
  QFETCH(QString, caption);
  QFETCH(int, groupIndex);
  QFETCH(int, key);
  QFETCH(QString, change);
  QFETCH(int, clicks);

  Form form(1);
  TXPSpeedButton* button = form.buttons[0];
  button->SetCaption(caption);
  button->SetGroupIndex(groupIndex);
  auto* field = new QLineEdit(&form.window);
  field->setGeometry(10, 10, 100, 20);
  form.window.show();
  form.window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&form.window));
  field->setFocus();
  if (change == QLatin1String("disable")) button->setEnabled(false);
  if (change == QLatin1String("hide")) button->hide();
  if (change == QLatin1String("recaption")) button->SetCaption(QStringLiteral("&Abbrechen"));
  QSignalSpy clicked(button, &TXPSpeedButton::OnClick);

  const QKeyCombination combination = QKeyCombination::fromCombined(key);
  QTest::keyClick(field, combination.key(), combination.keyboardModifiers());

  QCOMPARE(clicked.count(), clicks);
  QVERIFY(!button->Down());
}

void SpeedButtonTest::neverTakesFocus() {
  Form form(1);
  auto* field = new QLineEdit(&form.window);
  form.window.show();
  form.window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&form.window));
  field->setFocus();

  ClickWithMouse(form.buttons[0]);

  QCOMPARE(QApplication::focusWidget(), field);
  QCOMPARE(form.buttons[0]->focusPolicy(), Qt::NoFocus);
}

QTEST_MAIN(SpeedButtonTest)
#include "SpeedButtonTest.moc"
