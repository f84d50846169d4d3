// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "app/dialogs/TBrowseForFolder.h"
#include "app/dialogs/TEinstellungen.h"
#include "app/widgets/ErrorReport.h"
#include "app/widgets/TXPEdit.h"
#include "app/widgets/TXPSpeedButton.h"
#include "settings/Settings.h"

using torvane::Settings;
using torvane::TEinstellungen;
using torvane::TextControl;
using torvane::ToggleControl;
using torvane::TXPSpeedButton;

Q_DECLARE_METATYPE(TextControl)
Q_DECLARE_METATYPE(ToggleControl)

namespace {

// A settings folder of its own, the settings in it and the dialog on them,
// shown as the main window shows it.
struct Harness {
  QTemporaryDir dir;
  Settings settings{dir.path().toStdString() + "/"};
  TEinstellungen dialog{settings};

  Harness() { dialog.show(); }

  std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(Path(name), std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream file(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  TXPSpeedButton* Button(const QString& name) const {
    auto* button = dialog.findChild<TXPSpeedButton*>(name);
    if (button == nullptr) qFatal("no button %s", qPrintable(name));
    return button;
  }
  void Click(const QString& name) const { QTest::mouseClick(Button(name), Qt::LeftButton); }
};

// Replaces the field's text by typing, as the user would after selecting it.
void Retype(QLineEdit* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Backspace);
  for (const QChar c : text) {
    if (c.unicode() < 0x80)
      QTest::keyClick(field, c.toLatin1());
    else  // Qt Test's own typing knows only ASCII
      QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

const char kStoredSettings[] =
    "[path]\r\nquell=/nc/quelle/\r\nziel=/nc/ziel\r\n"
    "[convert]\r\ndeg=10.5\r\ntype=2\r\naxis=1\r\nedp=M3\r\nedn=M4\r\n"
    "eg0=G0\r\neg1=G1\r\neg2=G2\r\neg3=G3\r\nerad=R\r\neest=4\r\neenkst=3\r\n"
    "edez=1\r\nepkt=0\r\nevn=1\r\nenn=0\r\nevz=1\r\nenum=1\r\n"
    "enumz=\xC4\r\nenumss=5\r\nenums=10\r\n";

}  // namespace

class EinstellungenTest : public QObject {
  Q_OBJECT

 private slots:
  void designState() {
    Harness h;
    TEinstellungen& d = h.dialog;
    QCOMPARE(d.windowTitle(), QStringLiteral("Einstellungen"));
    QCOMPARE(d.size(), QSize(660, 650));
    QVERIFY(d.Panel_HPGL->isVisible() && !d.Panel_DIR->isVisible() && d.BHPGL->Down());
    QVERIFY(!d.EAA->isEnabled() && !d.EAB->isEnabled() && d.EAC->isEnabled());
    QVERIFY(d.EAC->Down() && d.EK1->Down() && !d.EK2->Down());
    for (int i = 0; i < 6; ++i) QVERIFY(!d.Toggle(static_cast<ToggleControl>(i))->Down());
    // The fields show the model's design values.
    QCOMPARE(d.EGrad->text(), QStringLiteral("10"));
    QCOMPARE(d.EG2->text(), QStringLiteral("G132"));
    QCOMPARE(d.EESatzzeichen->text(), QStringLiteral("N"));
    QVERIFY(d.EQUELLDIR->text().isEmpty());
    QVERIFY(d.EESatzschritt->isReadOnly());
    QCOMPARE(d.Folder->Caption(), QStringLiteral("Auswahl Verzeichnis"));
  }

  // In whatever face the system gives, no label runs under a field of its
  // row (as "Zeichen für Radius" did under its field).
  void labelsClearOfFields() {
    Harness h;
    for (QLabel* label : h.dialog.findChildren<QLabel*>()) {
      for (QLineEdit* field : label->parentWidget()->findChildren<QLineEdit*>(
               QString(), Qt::FindDirectChildrenOnly)) {
        const QRect text(label->pos(), QSize(label->sizeHint().width(), label->height()));
        QVERIFY2(!text.intersects(field->geometry()), qPrintable(label->text()));
      }
      QVERIFY2(label->geometry().right() < label->parentWidget()->width(),
               qPrintable(label->text()));
    }
  }

  // A number field with a unit says it on the field's row, right of the
  // field and its stepper, clear of every other text.
  void unitsBesideNumberFields_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("rightmost");  // the field, or its stepper
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("text");
    QTest::newRow("Auflösung") << "EGrad" << "GPlus" << "EinheitGrad" << QStringLiteral("°");
    QTest::newRow("Sehnenfehler") << "ETol" << "ETol" << "EinheitTol" << "mm";
    QTest::newRow("Höchster Vorschub") << "EFMax" << "EFMax" << "EinheitFMax" << "1/min";
    QTest::newRow("Warnen über") << "EWind" << "EWind" << "EinheitWind" << "Umdrehungen";
  }

  void unitsBesideNumberFields() {
    QFETCH(QString, field);
    QFETCH(QString, rightmost);
    QFETCH(QString, unit);
    QFETCH(QString, text);
    Harness h;
    const QWidget* input = h.dialog.findChild<QWidget*>(field);
    const QWidget* last = h.dialog.findChild<QWidget*>(rightmost);
    const QLabel* label = h.dialog.findChild<QLabel*>(unit);
    QVERIFY(input != nullptr && last != nullptr && label != nullptr);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->parentWidget(), input->parentWidget());
    QVERIFY(label->x() > last->geometry().right());
    QVERIFY(label->geometry().top() < input->geometry().bottom() &&
            label->geometry().bottom() > input->geometry().top());
    for (const QLabel* other :
         label->parentWidget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
      QVERIFY2(other == label || !other->geometry().intersects(label->geometry()),
               qPrintable(other->text()));
  }

  // The feed and angle keys each have their explanation on the line under
  // them, within their group and clear of the next row.
  void explanationUnderField_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("EFRad") << "EFRad" << "G93: Drehung in der Tiefe Z gemessen";
    QTest::newRow("EFMax") << "EFMax" << QStringLiteral("G93: größeres F wird begrenzt; 0: keine Grenze");
    QTest::newRow("EReduce") << "EReduce" << "modulo: C365.730 wird C5.730";
    QTest::newRow("EUnw") << "EUnw" << QStringLiteral("fortlaufend, am Ende; {C}: Winkel in 0 bis 360°");
    QTest::newRow("EWind") << "EWind" << "fortlaufend; 0: keine Warnung";
  }

  void explanationUnderField() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    Harness h;
    h.Click("BMaschine");
    const QWidget* input = h.dialog.findChild<QWidget*>(field);
    QVERIFY(input != nullptr);
    const QWidget* group = input->parentWidget();
    const QLabel* found = nullptr;
    for (const QLabel* label : group->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
      if (label->text() == text) found = label;
    QVERIFY(found != nullptr);
    QVERIFY(found->isVisible());
    QVERIFY(found->y() >= input->geometry().bottom() - 1);
    QVERIFY(found->y() <= input->geometry().bottom() + 4);
    QVERIFY(found->geometry().bottom() < group->height());
    for (const QWidget* other : group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
      if (other != found && other->y() > input->y())
        QVERIFY2(!other->geometry().intersects(found->geometry()), qPrintable(other->objectName()));
  }

  void focusOrder() {
    Harness h;
    QStringList order;
    QWidget* widget = h.dialog.EVorspann;
    do {
      if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled())
        order << widget->objectName();
      widget = widget->nextInFocusChain();
    } while (widget != h.dialog.EVorspann);
    const QStringList want = {"EVorspann", "ENachspann",    "EG2",     "EG3",   "EDP",
                              "EDN",       "EEStellen",     "EENachkommastellen",
                              "EESatzzeichen", "EESatzschritt", "EEstart", "EGrad",
                              "ERad",      "Eg0",           "Eg1"};
    QCOMPARE(order, want);
  }

  void steppers_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<TextControl>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("want");
    QTest::addColumn<QString>("wantStart");  // EEstart afterwards, "7" before

    using TC = TextControl;
    QTest::newRow("SPlus1 9 gives 10") << "SPlus1" << TC::EEStellen << "9" << "10" << "7";
    QTest::newRow("SPlus1 stays at 10") << "SPlus1" << TC::EEStellen << "10" << "10" << "7";
    QTest::newRow("SPlus1 drops the fraction") << "SPlus1" << TC::EEStellen << "3.7" << "4" << "7";
    QTest::newRow("SMinus1 stays at 0") << "SMinus1" << TC::EEStellen << "0" << "0" << "7";
    QTest::newRow("SMinus1 ignores a word") << "SMinus1" << TC::EEStellen << "x" << "x" << "7";
    QTest::newRow("NPlus1 steps Nachkomma")
        << "NPlus1" << TC::EENachkommastellen << "2" << "3" << "7";
    QTest::newRow("NMinus1 steps Nachkomma")
        << "NMinus1" << TC::EENachkommastellen << " 2" << "1" << "7";
    QTest::newRow("NMinus1 ignores a trailing blank")
        << "NMinus1" << TC::EENachkommastellen << "2 " << "2 " << "7";
    QTest::newRow("SNMinus1 at 1 still copies")
        << "SNMinus1" << TC::EESatzschritt << "1" << "1" << "1";
    QTest::newRow("SNMinus1 5 gives 4 twice")
        << "SNMinus1" << TC::EESatzschritt << "5" << "4" << "4";
    QTest::newRow("SNPlus1 10 gives 11 twice")
        << "SNPlus1" << TC::EESatzschritt << "10" << "11" << "11";
    QTest::newRow("SNPlus1 stays at 99") << "SNPlus1" << TC::EESatzschritt << "99" << "99" << "99";
    QTest::newRow("SNPlus1 on a word copies it")
        << "SNPlus1" << TC::EESatzschritt << "a" << "a" << "a";
    QTest::newRow("GPlus 10 gives blank 11") << "GPlus" << TC::EGrad << "10" << " 11" << "7";
    QTest::newRow("GPlus 10.4 gives blank 11") << "GPlus" << TC::EGrad << "10.4" << " 11" << "7";
    QTest::newRow("GPlus 10.5 gives blank 12") << "GPlus" << TC::EGrad << "10.5" << " 12" << "7";
    QTest::newRow("GPlus stays at 360") << "GPlus" << TC::EGrad << "360" << "360" << "7";
    QTest::newRow("GPlus at 360.5 writes 361, the check 1")
        << "GPlus" << TC::EGrad << "360.5" << "1" << "7";
    QTest::newRow("GMinus at 1 pads") << "GMinus" << TC::EGrad << "1" << "  1" << "7";
  }

  // Each button must reach its own field, and what the model writes must show.
  void steppers() {
    QFETCH(QString, button);
    QFETCH(TextControl, field);
    QFETCH(QString, before);
    QFETCH(QString, want);
    QFETCH(QString, wantStart);

    Harness h;
    torvane::SettingsModel& model = h.settings.Controls();
    model.SetText(TextControl::EEstart, "7");
    model.SetText(field, before.toStdString());
    QCOMPARE(h.dialog.Field(field)->text(), before);
    h.Click(button);
    QCOMPARE(h.dialog.Field(field)->text(), want);
    QCOMPARE(QString::fromStdString(model.Text(field)), want);
    QCOMPARE(h.dialog.EEstart->text(), wantStart);
  }

  void angleStepCheck_data() {
    QTest::addColumn<QString>("field");  // typed into
    QTest::addColumn<bool>("paste");     // the whole text at once
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("wantGrad");

    QTest::newRow("letters") << "EGrad" << false << "a" << "1";
    QTest::newRow("cleared") << "EGrad" << false << "" << "1";
    QTest::newRow("400 gives 1 at the third digit") << "EGrad" << false << "400" << "1";
    QTest::newRow("typing on after the check") << "EGrad" << false << "4000" << "10";
    QTest::newRow("360.5 is accepted") << "EGrad" << false << "360.5" << "360.5";
    QTest::newRow("361 is not") << "EGrad" << false << "361" << "1";
    QTest::newRow("typed 0.5 passes through 1") << "EGrad" << false << "0.5" << "1.5";
    QTest::newRow("pasted 0.5 is accepted") << "EGrad" << true << "0.5" << "0.5";
    QTest::newRow("pasted -5") << "EGrad" << true << "-5" << "1";
    QTest::newRow("pasted exponent") << "EGrad" << true << "1e2" << "1e2";
    for (const char* word : {"EG2", "EG3", "EDP", "EDN", "ERad", "Eg0", "Eg1"})
      QTest::addRow("%s leaves a valid step alone", word) << word << false << "X9" << " 11";
  }

  void angleStepCheck() {
    QFETCH(QString, field);
    QFETCH(bool, paste);
    QFETCH(QString, text);
    QFETCH(QString, wantGrad);

    Harness h;
    h.settings.Controls().SetText(TextControl::EGrad, " 11");
    auto* edit = h.dialog.findChild<QLineEdit*>(field);
    QVERIFY(edit != nullptr);
    if (paste) {
      edit->selectAll();
      edit->insert(text);
    } else {
      Retype(edit, text);
    }
    QCOMPARE(h.dialog.EGrad->text(), wantGrad);
    QCOMPARE(QString::fromStdString(h.settings.Controls().Text(TextControl::EGrad)), wantGrad);
    if (field != QLatin1String("EGrad")) QCOMPARE(edit->text(), text);
  }

  void arcModeAndAxisGroups() {
    Harness h;
    TEinstellungen& d = h.dialog;
    torvane::SettingsModel& model = h.settings.Controls();

    h.Click("EK2");
    QVERIFY(d.EK2->Down() && !d.EK1->Down());
    QCOMPARE(model.ArcMode(), 2);
    h.Click("EK2");  // one-of: stays down
    QVERIFY(d.EK2->Down());
    QCOMPARE(model.ArcMode(), 2);
    h.Click("EK1");
    QVERIFY(d.EK1->Down() && !d.EK2->Down());
    QCOMPARE(model.ArcMode(), 1);

    h.Click("EAA");  // disabled: the user cannot pick A
    QCOMPARE(model.Axis(), 3);
    QVERIFY(d.EAC->Down() && !d.EAA->Down());
    model.SelectAxis(2);  // as a settings file does
    QVERIFY(d.EAB->Down() && !d.EAC->Down());
    h.Click("EAC");
    QCOMPARE(model.Axis(), 3);
    QVERIFY(d.EAC->Down() && !d.EAB->Down());
    model.SelectArcMode(2);
    QVERIFY(d.EK2->Down() && !d.EK1->Down());
  }

  void toggles_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<ToggleControl>("toggle");
    QTest::newRow("EEDeziPunkt") << "EEDeziPunkt" << ToggleControl::EEDeziPunkt;
    QTest::newRow("EENCPunkt") << "EENCPunkt" << ToggleControl::EENCPunkt;
    QTest::newRow("EEVNullen") << "EEVNullen" << ToggleControl::EEVNullen;
    QTest::newRow("EENNullen") << "EENNullen" << ToggleControl::EENNullen;
    QTest::newRow("EEVorzeichen") << "EEVorzeichen" << ToggleControl::EEVorzeichen;
    QTest::newRow("EESatznum") << "EESatznum" << ToggleControl::EESatznum;
    QTest::newRow("EInv") << "EInv" << ToggleControl::EInv;
    QTest::newRow("EFRad") << "EFRad" << ToggleControl::EFRad;
    QTest::newRow("EReduce") << "EReduce" << ToggleControl::EReduce;
  }

  // Independent on/off buttons: each click flips its own setting only.
  void toggles() {
    QFETCH(QString, button);
    QFETCH(ToggleControl, toggle);

    Harness h;
    torvane::SettingsModel& model = h.settings.Controls();
    h.Click(button);
    QVERIFY(h.Button(button)->Down());
    QVERIFY(model.Down(toggle));
    h.Click(button);
    QVERIFY(!model.Down(toggle));
    model.SetDown(toggle, true);
    QVERIFY(h.dialog.Toggle(toggle)->Down());
  }

  void categoryPages() {
    Harness h;
    TEinstellungen& d = h.dialog;
    h.Click("BDir");
    QVERIFY(d.Panel_DIR->isVisible() && !d.Panel_HPGL->isVisible());
    QVERIFY(d.BDir->Down() && !d.BHPGL->Down());
    // The folders page says where the settings are kept.
    QCOMPARE(d.LabelSettingsDir->text().toStdString(), h.settings.SettingsDir());
    h.Click("BDir");
    QVERIFY(d.Panel_DIR->isVisible() && d.BDir->Down());
    h.Click("BHPGL");
    QVERIFY(d.Panel_HPGL->isVisible() && !d.Panel_DIR->isVisible());

    // The accelerator clicks without latching; the page's button follows.
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTest::keyClick(&d, Qt::Key_V, Qt::AltModifier);
    QVERIFY(d.Panel_DIR->isVisible());
    QVERIFY(d.BDir->Down() && !d.BHPGL->Down());
  }

  // The machine page: its groups and the tolerance field's key filter, and
  // its choices round-trip through main.ini while cancel keeps the file.
  void machinePage() {
    Harness h;
    h.Write("main.ini", kStoredSettings);
    h.settings.LoadSettings();
    TEinstellungen& d = h.dialog;
    torvane::SettingsModel& model = h.settings.Controls();
    h.Click("BMaschine");
    QVERIFY(d.Panel_MASCH->isVisible() && !d.Panel_HPGL->isVisible() && !d.Panel_DIR->isVisible());
    QVERIFY(d.BMaschine->Down() && !d.BHPGL->Down());
    // A file without the machine keys shows the choices of the old output.
    QVERIFY(d.EVF0->Down() && !d.EVF1->Down() && !d.EVF2->Down());
    QVERIFY(d.ERM->Down() && !d.ERF->Down() && !d.EInv->Down());
    QCOMPARE(d.ETol->text(), QStringLiteral("0"));
    QCOMPARE(d.EG93->text(), QStringLiteral("G93"));
    QCOMPARE(d.EG94->text(), QStringLiteral("G94"));
    QVERIFY(!d.EFRad->Down() && !d.EReduce->Down());
    QCOMPARE(d.EFMax->text(), QStringLiteral("0"));
    QVERIFY(d.EUnw->text().isEmpty());
    QCOMPARE(d.EWind->text(), QStringLiteral("0"));

    h.Click("EVF2");
    h.Click("EVF2");  // one-of: stays down
    h.Click("ERF");
    h.Click("EInv");
    d.ETol->setFocus();
    d.ETol->selectAll();
    QTest::keyClicks(d.ETol, "0,0x5");  // the diameter field's filter
    QCOMPARE(d.ETol->text(), QStringLiteral("0.05"));
    QVERIFY(d.EVF2->Down() && !d.EVF0->Down() && d.ERF->Down() && !d.ERM->Down());
    QCOMPARE(model.FeedMode(), 2);
    QCOMPARE(model.RotaryMode(), 1);
    QVERIFY(model.Down(ToggleControl::EInv));
    QCOMPARE(model.Text(TextControl::ETol), std::string("0.05"));
    h.Click("EFRad");
    h.Click("EReduce");
    Retype(d.EFMax, QStringLiteral("2500"));
    Retype(d.EUnw, QStringLiteral("G92 C{C}"));
    Retype(d.EWind, QStringLiteral("10"));
    Retype(d.ESafe, QStringLiteral("150"));

    h.Click("Abbruch");
    QCOMPARE(h.Read("main.ini"), std::string(kStoredSettings));
    QCOMPARE(h.settings.Published().efeed, 0);

    h.dialog.show();
    QVERIFY(d.EVF2->Down());
    h.Click("XPSpeedButton3");
    QCOMPARE(h.Read("main.ini"),
             std::string(kStoredSettings) +
                 "efeed=2\r\nerot=1\r\neinv=1\r\netol=0.05\r\neg93=G93\r\neg94=G94\r\neneutral=\r\n"
                 "efrad=1\r\nefmax=2500\r\neunw=G92 C{C}\r\newind=10\r\nereduce=1\r\n"
                 "epeck=0.5\r\nesafe=150\r\n");
    QCOMPARE(double(*h.settings.Published().esafe), 150.0);
    QCOMPARE(h.settings.Published().efeed, 2);
    QCOMPARE(h.settings.Published().efrad, 1);
    QCOMPARE(double(h.settings.Published().efmax), 2500.0);
    QCOMPARE(h.settings.Published().eunw, std::string("G92 C{C}"));
    QCOMPARE(double(h.settings.Published().ewind), 10.0);
    QVERIFY(h.settings.Published().ereduce);
    QCOMPARE(h.settings.Published().erot, 1);
    QVERIFY(h.settings.Published().einv);
    QCOMPARE(double(h.settings.Published().etol), 0.05);

    // A later program start shows them again.
    Settings again(h.dir.path().toStdString() + "/");
    TEinstellungen shown(again);
    again.LoadSettings();
    QVERIFY(shown.EVF2->Down() && shown.ERF->Down() && shown.EInv->Down());
    QCOMPARE(shown.ETol->text(), QStringLiteral("0.05"));
    QVERIFY(shown.EFRad->Down() && shown.EReduce->Down());
    QCOMPARE(shown.EUnw->text(), QStringLiteral("G92 C{C}"));
  }

  void loadShowsStoredSettings() {
    Harness h;
    h.Write("main.ini", kStoredSettings);
    h.Write("vorspann.plt", "%\r\nG0 X0\r\n");
    h.settings.LoadSettings();
    TEinstellungen& d = h.dialog;
    QCOMPARE(d.EQUELLDIR->text(), QStringLiteral("/nc/quelle/"));
    QCOMPARE(d.EGrad->text(), QStringLiteral("10.5"));
    QVERIFY(d.EK2->Down() && !d.EK1->Down());
    QVERIFY(d.EAA->Down() && !d.EAC->Down());
    QCOMPARE(d.EDP->text(), QStringLiteral("M3"));
    QCOMPARE(d.ERad->text(), QStringLiteral("R"));
    QCOMPARE(d.EEStellen->text(), QStringLiteral("4"));
    QVERIFY(d.EEDeziPunkt->Down() && !d.EENCPunkt->Down() && d.EEVNullen->Down());
    QVERIFY(d.EESatznum->Down());
    QCOMPARE(d.EESatzzeichen->text(), QStringLiteral("Ä"));
    QCOMPARE(d.EESatzschritt->text(), QStringLiteral("5"));
    QCOMPARE(d.EVorspann->toPlainText(), QStringLiteral("%\nG0 X0\n"));
    QVERIFY(d.ENachspann->toPlainText().isEmpty());
  }

  void textsGoThroughTheCodePage() {
    Harness h;
    torvane::SettingsModel& model = h.settings.Controls();
    Retype(h.dialog.EESatzzeichen, QStringLiteral("ü€"));
    QCOMPARE(model.Text(TextControl::EESatzzeichen), std::string("\xFC\x80"));
    // A character the code page lacks is stored, and shown, as "?".
    Retype(h.dialog.ERad, QStringLiteral("RΩ"));
    QCOMPARE(model.Text(TextControl::ERad), std::string("R?"));
    QCOMPARE(h.dialog.ERad->text(), QStringLiteral("R?"));
    // Also when the bytes stay the same and the model has nothing to tell.
    h.dialog.ERad->setCursorPosition(1);
    h.dialog.ERad->cursorForward(true, 1);
    QTest::sendKeyEvent(QTest::Click, h.dialog.ERad, Qt::Key_unknown, QStringLiteral("Ω"),
                        Qt::NoModifier);
    QCOMPARE(h.dialog.ERad->text(), QStringLiteral("R?"));
    model.SetText(TextControl::EZIELDIR, "/nc/\xE4\x9F");
    QCOMPARE(h.dialog.EZIELDIR->text(), QStringLiteral("/nc/äŸ"));
  }

  void textAreasKeepLines() {
    Harness h;
    torvane::SettingsModel& model = h.settings.Controls();
    h.dialog.EVorspann->setFocus();
    QTest::keyClicks(h.dialog.EVorspann, "%");
    QTest::keyClick(h.dialog.EVorspann, Qt::Key_Return);
    QTest::keyClicks(h.dialog.EVorspann, "G0");
    QCOMPARE(model.EVorspann(), std::string("%\r\nG0"));
    QCOMPARE(h.settings.HeaderLines(), (std::vector<std::string>{"%", "G0"}));
    QTest::keyClick(h.dialog.EVorspann, Qt::Key_Return);
    QCOMPARE(model.EVorspann(), std::string("%\r\nG0\r\n"));

    model.SetENachspann("M30\r\n\xA0" "\xE4");
    QCOMPARE(h.dialog.ENachspann->toPlainText(), QStringLiteral("M30\n ä"));
    QTest::keyClicks(h.dialog.ENachspann, "x");  // the no-break space survives an edit
    QCOMPARE(model.ENachspann().substr(0, 6), std::string("xM30\r\n"));
    QCOMPARE(model.ENachspann().substr(6), std::string("\xA0\xE4"));
    QCOMPARE(h.dialog.EVorspann->toPlainText(), QStringLiteral("%\nG0\n"));
  }

  void leavingWithoutSaving_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("Abbrechen") << 0;
    QTest::newRow("close box") << 1;
    QTest::newRow("Alt+A") << 2;
  }

  // The edits stay in the controls, show again and are not published.
  void leavingWithoutSaving() {
    QFETCH(int, how);
    Harness h;
    h.Write("main.ini", kStoredSettings);
    h.settings.LoadSettings();
    Retype(h.dialog.EDP, QStringLiteral("M13"));
    h.Click("EESatznum");
    switch (how) {
      case 0: h.Click("Abbruch"); break;
      case 1: h.dialog.close(); break;
      default:
        QVERIFY(QTest::qWaitForWindowActive(&h.dialog));
        QTest::keyClick(&h.dialog, Qt::Key_A, Qt::AltModifier);
    }
    QVERIFY(!h.dialog.isVisible());
    QCOMPARE(h.dialog.result(), int(QDialog::Rejected));
    QCOMPARE(h.settings.Published().edp, std::string("M3"));
    QVERIFY(h.settings.Published().enum_);
    QCOMPARE(h.Read("main.ini"), std::string(kStoredSettings));

    h.dialog.show();
    QCOMPARE(h.dialog.EDP->text(), QStringLiteral("M13"));
    QVERIFY(!h.dialog.EESatznum->Down());
  }

  void saveStoresPublishesAndCloses() {
    Harness h;
    h.Write("main.ini", kStoredSettings);
    h.settings.LoadSettings();
    Retype(h.dialog.EDP, QStringLiteral("M13"));
    h.Click("Abbruch");
    h.dialog.show();
    h.Click("GPlus");
    h.dialog.EVorspann->setPlainText(QStringLiteral("%"));
    h.Click("XPSpeedButton3");
    QVERIFY(!h.dialog.isVisible());
    QCOMPARE(h.dialog.result(), int(QDialog::Accepted));
    const std::string ini = h.Read("main.ini");
    QVERIFY(ini.find("edp=M13\r\n") != std::string::npos);  // the edit from before the cancel
    QVERIFY(ini.find("deg= 12\r\n") != std::string::npos);
    QCOMPARE(h.Read("vorspann.plt"), std::string("%"));
    QCOMPARE(h.settings.Published().edp, std::string("M13"));
    QCOMPARE(h.settings.Published().deg, 12);
    // The file's value is read without its blanks.
    QCOMPARE(h.dialog.EGrad->text(), QStringLiteral("12"));
  }

  void failedSaveReportsAndStaysOpen() {
    QStringList reports;
    const auto previous = torvane::SetErrorReportHook(
        [&](QWidget*, const QString& message) { reports << message; });
    Harness h;
    QVERIFY(QDir(h.dir.path()).mkdir(QStringLiteral("nachspann.plt")));  // cannot be replaced
    h.Click("XPSpeedButton3");
    torvane::SetErrorReportHook(previous);
    QCOMPARE(reports,
             QStringList{QStringLiteral("Datei ") + h.dir.path() +
                         QStringLiteral("/nachspann.plt kann nicht erstellt werden: dort steht "
                                        "keine gewöhnliche Datei, sondern ein Ordner.")});
    QVERIFY(h.dialog.isVisible());
  }

  void folderButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("before");      // the field's text
    QTest::addColumn<QString>("wantStart");   // what the picker preselects
    QTest::addColumn<QString>("answer");      // empty: the user cancels
    QTest::addColumn<QString>("wantAfter");

    QTest::newRow("empty field: default location")
        << "BNCDIR" << "" << "" << "/srv/nc" << "/srv/nc";
    QTest::newRow("trailing slash dropped")
        << "BNCDIR" << "/srv/nc/" << "/srv/nc" << "" << "/srv/nc/";
    QTest::newRow("root slash stays") << "BNCDIR" << "/" << "/" << "/" << "/";
    QTest::newRow("plain folder") << "BHPGLDIR" << "/srv/out" << "/srv/out" << "/srv/b" << "/srv/b";
    QTest::newRow("picker's trailing slash dropped")
        << "BHPGLDIR" << "/srv" << "/srv" << "/srv/b/" << "/srv/b";
    QTest::newRow("drive root stays") << "BHPGLDIR" << "C:\\" << "C:\\" << "" << "C:\\";
    QTest::newRow("backslash dropped") << "BHPGLDIR" << "C:\\NC\\" << "C:\\NC" << "" << "C:\\NC\\";
    QTest::newRow("three characters keep theirs") << "BNCDIR" << "ab\\" << "ab\\" << "" << "ab\\";
    QTest::newRow("drive root with slash stays") << "BNCDIR" << "C:/" << "C:/" << "" << "C:/";
  }

  void folderButtons() {
    QFETCH(QString, button);
    QFETCH(QString, before);
    QFETCH(QString, wantStart);
    QFETCH(QString, answer);
    QFETCH(QString, wantAfter);

    Harness h;
    QLineEdit* field = button == QLatin1String("BNCDIR") ? h.dialog.EQUELLDIR : h.dialog.EZIELDIR;
    QLineEdit* other = field == h.dialog.EQUELLDIR ? h.dialog.EZIELDIR : h.dialog.EQUELLDIR;
    other->setText(QStringLiteral("/other"));
    field->setText(before);
    int calls = 0;
    torvane::BrowseRequest seen;
    h.dialog.Folder->SetPicker([&](const torvane::BrowseRequest& request) {
      ++calls;
      seen = request;
      return answer.isEmpty() ? std::nullopt : std::optional<QString>(answer);
    });
    h.Click("BDir");
    h.Click(button);
    QCOMPARE(calls, 1);
    QCOMPARE(seen.startFolder, wantStart);
    QCOMPARE(seen.title, QStringLiteral("Auswahl Verzeichnis"));
    QCOMPARE(seen.owner, static_cast<QWidget*>(&h.dialog));
    QCOMPARE(field->text(), wantAfter);
    QCOMPARE(other->text(), QStringLiteral("/other"));
  }

  void modelOutlivesDialog() {
    QTemporaryDir dir;
    Settings settings(dir.path().toStdString() + "/");
    { TEinstellungen dialog(settings); }
    settings.Controls().SetText(TextControl::EGrad, "x");  // must not reach the dialog
    settings.Controls().SetDown(ToggleControl::EESatznum, true);
    QCOMPARE(settings.Controls().Text(TextControl::EGrad), std::string("1"));
  }
};

QTEST_MAIN(EinstellungenTest)
#include "EinstellungenTest.moc"
