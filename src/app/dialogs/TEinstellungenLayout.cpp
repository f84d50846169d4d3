// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the settings dialog's controls; the binding and the handlers are
// in TEinstellungen.cpp.

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/dialogs/FormParts.h"
#include "app/dialogs/NumberKeys.h"
#include "app/dialogs/Pictures.h"
#include "app/dialogs/TEinstellungen.h"
#include "app/widgets/Glyphs.h"
#include "app/widgets/TXPEdit.h"
#include "app/widgets/TXPSpeedButton.h"
#include "settings/Settings.h"

namespace torvane {
namespace {

constexpr int kDialogWidth = 660;
constexpr int kDialogHeight = 650;
constexpr int kColumnWidth = 129;
constexpr int kBarHeight = 47;
constexpr int kPageWidth = kDialogWidth - kColumnWidth;
constexpr int kPageHeight = kDialogHeight - kBarHeight;
constexpr int kStripWidth = kPageWidth - 8;
constexpr int kFieldHeight = 21;

QFont StripFont() { return FormFont(11, true); }
QFont GroupTitleFont() { return FormFont(13, true); }

QLineEdit* MakeField(QWidget* parent, const QRect& geometry) {
  auto* field = new QLineEdit(parent);
  field->setGeometry(geometry);
  PaintFieldYellow(field);
  return field;
}

TXPEdit* MakeNumberField(QWidget* parent, const QRect& geometry) {
  auto* field = new TXPEdit(parent);
  field->setGeometry(geometry);
  field->SetAlignment(TXPEdit::TextAlignment::RightJustify);
  PaintFieldYellow(field);
  return field;
}

// An etched frame, drawn from the palette's light and dark colours so that
// the labels inside keep the ordinary text colour.
QFrame* MakeGroup(QWidget* parent, const QRect& geometry) {
  auto* group = new QFrame(parent);
  group->setGeometry(geometry);
  group->setFrameStyle(QFrame::Box | QFrame::Sunken);
  group->setLineWidth(1);
  return group;
}

// Toggles look like check and option boxes on the group's face: their glyph
// strip shows the state, and only the mouse brings a face up. The latched
// face is painted over the pressed one, so it must cover it in the group's
// own colour.
TXPSpeedButton* MakeToggle(QWidget* parent, const QString& caption, const QPixmap& strip,
                           int groupIndex, bool allowAllUp, const QRect& geometry) {
  auto* button = new TXPSpeedButton(parent);
  button->setGeometry(geometry);
  button->SetCaption(caption);
  button->SetGlyph(strip);
  button->SetNumGlyphs(4);
  button->SetMargin(4);
  button->SetBrushNormal(Qt::NoBrush);
  button->SetPenNormal(Qt::NoPen);
  button->SetBrushActive(kHoverBlue);
  button->SetPenActive(QPen(QColor(120, 150, 200), 1));
  // Square corners: a rounded latched face would leave the pressed face's
  // smoothed corners showing.
  button->SetRadius(0);
  const QColor face = parent->palette().color(QPalette::Window);
  button->SetBrushDown(face);
  button->SetPenDown(QPen(face, 1));
  button->setCursor(Qt::PointingHandCursor);
  button->SetGroupIndex(groupIndex);
  button->SetAllowAllUp(allowAllUp);
  return button;
}

// A latched command-like button (category, axis) keeps the light blue face.
void ShowLatchedBlue(TXPSpeedButton* button) {
  button->SetBrushDown(kHoverBlue);
  button->SetPenDown(QPen(kNavy, 1));
}

TXPSpeedButton* MakeStepper(QWidget* parent, const QPixmap& glyph, const QPoint& at) {
  return MakeButton(parent, QString(), glyph, QRect(at, QSize(22, 23)));
}

}  // namespace

void TEinstellungen::BuildCategoryColumn() {
  Panel_Kategorie = new QWidget(this);
  Panel_Kategorie->setGeometry(0, 0, kColumnWidth, kPageHeight);
  MakeStrip(Panel_Kategorie, QStringLiteral("Kategorie"), QRect(8, 8, 113, 21), StripFont());
  BHPGL = MakeButton(Panel_Kategorie, QStringLiteral("&Konvertierung"), ConversionGlyph(),
                     QRect(8, 37, 113, 30));
  BDir = MakeButton(Panel_Kategorie, QStringLiteral("&Verzeichnisse"), FolderGlyph(),
                    QRect(8, 71, 113, 30));
  for (TXPSpeedButton* button : {BHPGL, BDir}) {
    button->SetMargin(8);
    button->SetGroupIndex(10);
    ShowLatchedBlue(button);
  }
  BHPGL->SetDown(true);
}

void TEinstellungen::BuildConversionPage() {
  Panel_HPGL = new QWidget(this);
  Panel_HPGL->setGeometry(kColumnWidth, 0, kPageWidth, kPageHeight);
  MakeStrip(Panel_HPGL, QStringLiteral("Konvertierung"), QRect(0, 8, kStripWidth, 21),
            StripFont());
  BuildRundachse(Panel_HPGL);
  BuildZahlenformat(Panel_HPGL);
  BuildSpann(Panel_HPGL);
}

void TEinstellungen::BuildRundachse(QWidget* page) {
  GroupRundachse = MakeGroup(page, QRect(0, 37, 316, 222));
  QWidget* group = GroupRundachse;
  MakeStrip(group, QStringLiteral("Rundachse"), QRect(1, 1, 314, 20), GroupTitleFont());

  MakeLabel(group, QStringLiteral("Achse"), QPoint(8, 32));
  const QFont letters = FormFont(19, true);
  EAA = MakeButton(group, QStringLiteral("A"), QPixmap(), QRect(112, 25, 30, 28));
  EAB = MakeButton(group, QStringLiteral("B"), QPixmap(), QRect(146, 25, 30, 28));
  EAC = MakeButton(group, QStringLiteral("C"), QPixmap(), QRect(180, 25, 30, 28));
  for (TXPSpeedButton* button : {EAA, EAB, EAC}) {
    button->setFont(letters);
    button->SetGroupIndex(301);
    ShowLatchedBlue(button);
  }
  EAC->SetDown(true);
  // The conversion writes "C"; a settings file may still pick A or B.
  EAA->setEnabled(false);
  EAB->setEnabled(false);

  MakeLabel(group, QStringLiteral("Positionierung (G0)"), QPoint(8, 64));
  Eg0 = MakeField(group, QRect(112, 60, 44, kFieldHeight));
  MakeLabel(group, QStringLiteral("Vorschub (G1)"), QPoint(176, 64));
  Eg1 = MakeField(group, QRect(256, 60, 44, kFieldHeight));

  MakeLabel(group, QStringLiteral("Drehung:    Positiv"), QPoint(8, 90));
  EDP = MakeField(group, QRect(112, 86, 44, kFieldHeight));
  MakeLabel(group, QStringLiteral("Negativ"), QPoint(176, 90));
  EDN = MakeField(group, QRect(256, 86, 44, kFieldHeight));

  EK1 = MakeToggle(group, QStringLiteral("G2/3 Linear wandeln"), OptionGlyphStrip(), 11, false,
                   QRect(6, 112, 200, 22));
  MakeLabel(group, QStringLiteral("Auflösung"), QPoint(28, 142));
  GMinus = MakeStepper(group, MinusGlyph(), QPoint(112, 137));
  EGrad = MakeNumberField(group, QRect(136, 138, 40, kFieldHeight));
  GPlus = MakeStepper(group, PlusGlyph(), QPoint(178, 137));
  EinheitGrad = MakeLabel(group, QStringLiteral("°"), QPoint(GPlus->geometry().right() + 5, 142));
  EK2 = MakeToggle(group, QStringLiteral("G2/3 Maschinenspezifisch"), OptionGlyphStrip(), 11,
                   false, QRect(6, 165, 200, 22));
  EK1->SetDown(true);

  // Each field follows its label at the label's own width: in a face wider
  // than the one the row was drawn for, fixed places let "Zeichen für
  // Radius" run under its field.
  int x = 28;
  const auto labelledField = [&](const QString& caption, int fieldWidth) {
    const QLabel* label = MakeLabel(group, caption, QPoint(x, 196));
    QLineEdit* field = MakeField(group, QRect(x + label->width() + 4, 192, fieldWidth, kFieldHeight));
    x = field->geometry().right() + 9;
    return field;
  };
  EG2 = labelledField(QStringLiteral("UZ"), 40);
  EG3 = labelledField(QStringLiteral("GUZ"), 40);
  ERad = labelledField(QStringLiteral("Zeichen für Radius"), 24);
}

void TEinstellungen::BuildZahlenformat(QWidget* page) {
  GroupZahlenformat = MakeGroup(page, QRect(324, 37, 199, 222));
  QWidget* group = GroupZahlenformat;
  MakeStrip(group, QStringLiteral("Zahlenformat"), QRect(1, 1, 197, 20), GroupTitleFont());

  MakeLabel(group, QStringLiteral("Anzahl Stellen"), QPoint(8, 31));
  SMinus1 = MakeStepper(group, MinusGlyph(), QPoint(100, 26));
  EEStellen = MakeNumberField(group, QRect(124, 27, 36, kFieldHeight));
  SPlus1 = MakeStepper(group, PlusGlyph(), QPoint(162, 26));

  MakeLabel(group, QStringLiteral("Nachkomma"), QPoint(8, 58));
  NMinus1 = MakeStepper(group, MinusGlyph(), QPoint(100, 53));
  EENachkommastellen = MakeNumberField(group, QRect(124, 54, 36, kFieldHeight));
  NPlus1 = MakeStepper(group, PlusGlyph(), QPoint(162, 53));

  const QPixmap strip = CheckBoxGlyphStrip();
  const auto toggle = [&](const QString& caption, int groupIndex, int y) {
    return MakeToggle(group, caption, strip, groupIndex, true, QRect(6, y, 186, 22));
  };
  EEDeziPunkt = toggle(QStringLiteral("Dezimalpunkt"), 101, 84);
  EENCPunkt = toggle(QStringLiteral("Punkt bei ganzer Zahl"), 102, 110);
  EEVNullen = toggle(QStringLiteral("Vornullen"), 103, 136);
  EENNullen = toggle(QStringLiteral("Nachnullen"), 104, 162);
  EEVorzeichen = toggle(QStringLiteral("Immer Vorzeichen"), 105, 188);
}

void TEinstellungen::BuildSpann(QWidget* page) {
  // The header and footer areas take the height the page has below the
  // groups above (the machine page needs more than this one).
  constexpr int kSpannHeight = kPageHeight - 8 - 267;
  constexpr int kRowY = kSpannHeight - 36;
  GroupSpann = MakeGroup(page, QRect(0, 267, kStripWidth, kSpannHeight));
  QWidget* group = GroupSpann;
  MakeStrip(group, QStringLiteral("Vorspann"), QRect(1, 1, 260, 20), GroupTitleFont());
  MakeStrip(group, QStringLiteral("Nachspann"), QRect(262, 1, 260, 20), GroupTitleFont());

  const auto textArea = [&](const QRect& geometry) {
    auto* area = new QPlainTextEdit(group);
    area->setGeometry(geometry);
    area->setFrameStyle(QFrame::NoFrame);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next field, as in every other field here.
    area->setTabChangesFocus(true);
    area->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #ffff80; }"));
    return area;
  };
  EVorspann = textArea(QRect(10, 27, 241, kRowY - 35));
  ENachspann = textArea(QRect(272, 27, 241, kRowY - 35));

  EESatznum = MakeToggle(group, QStringLiteral("Satznummerierung"), CheckBoxGlyphStrip(), 130,
                         true, QRect(6, kRowY, 128, 22));
  MakeLabel(group, QStringLiteral("Zeichen"), QPoint(146, kRowY + 4));
  EESatzzeichen = MakeField(group, QRect(190, kRowY, 28, kFieldHeight));
  MakeLabel(group, QStringLiteral("Schritt"), QPoint(234, kRowY + 4));
  SNMinus1 = MakeStepper(group, MinusGlyph(), QPoint(272, kRowY - 1));
  EESatzschritt = MakeNumberField(group, QRect(296, kRowY, 32, kFieldHeight));
  EESatzschritt->setReadOnly(true);
  SNPlus1 = MakeStepper(group, PlusGlyph(), QPoint(330, kRowY - 1));
  MakeLabel(group, QStringLiteral("Start"), QPoint(368, kRowY + 4));
  EEstart = MakeField(group, QRect(398, kRowY, 50, kFieldHeight));
}

void TEinstellungen::BuildDirectoryPage() {
  Panel_DIR = new QWidget(this);
  Panel_DIR->setGeometry(kColumnWidth, 0, kPageWidth, kPageHeight);
  MakeStrip(Panel_DIR, QStringLiteral("Verzeichnisse"), QRect(0, 8, kStripWidth, 21),
            StripFont());
  MakeLabel(Panel_DIR, QStringLiteral("Quell-Dateien (NC)"), QPoint(8, 45));
  EQUELLDIR = MakeField(Panel_DIR, QRect(8, 61, 465, kFieldHeight));
  BNCDIR = MakeButton(Panel_DIR, QString(), FolderGlyph(), QRect(477, 59, 30, 25));
  MakeLabel(Panel_DIR, QStringLiteral("Ziel-Dateien (NC)"), QPoint(8, 97));
  EZIELDIR = MakeField(Panel_DIR, QRect(8, 113, 465, kFieldHeight));
  BHPGLDIR = MakeButton(Panel_DIR, QString(), FolderGlyph(), QRect(477, 111, 30, 25));
  // Installed, the settings live in the user's configuration folder: say
  // where, so that they can be found, backed up or copied.
  MakeLabel(Panel_DIR, QStringLiteral("Einstellungen gespeichert in"), QPoint(8, 149));
  LabelSettingsDir =
      MakeLabel(Panel_DIR, QString::fromLocal8Bit(settings_.SettingsDir()), QPoint(8, 165));
  LabelSettingsDir->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Panel_DIR->hide();
}

// The dialect of the control that runs the converted program: its category
// button goes below the other two.
void TEinstellungen::BuildMachinePage() {
  BMaschine = MakeButton(Panel_Kategorie, QStringLiteral("&Maschine"), MachineGlyph(),
                         QRect(8, 105, 113, 30));
  BMaschine->SetMargin(8);
  BMaschine->SetGroupIndex(10);
  ShowLatchedBlue(BMaschine);

  Panel_MASCH = new QWidget(this);
  Panel_MASCH->setGeometry(kColumnWidth, 0, kPageWidth, kPageHeight);
  MakeStrip(Panel_MASCH, QStringLiteral("Maschine"), QRect(0, 8, kStripWidth, 21), StripFont());
  const QPixmap option = OptionGlyphStrip();

  GroupVorschub = MakeGroup(Panel_MASCH, QRect(0, 37, 258, 150));
  QWidget* feed = GroupVorschub;
  MakeStrip(feed, QStringLiteral("Vorschub"), QRect(1, 1, 256, 20), GroupTitleFont());
  EVF0 = MakeToggle(feed, QStringLiteral("keiner"), option, 12, false, QRect(6, 28, 240, 22));
  EVF1 = MakeToggle(feed, QStringLiteral("wie programmiert"), option, 12, false,
                    QRect(6, 54, 240, 22));
  EVF2 = MakeToggle(feed, QStringLiteral("inverse Zeit G93"), option, 12, false,
                    QRect(6, 80, 240, 22));
  EVF0->SetDown(true);
  MakeLabel(feed, QStringLiteral("Inverse Zeit ein"), QPoint(28, 118));
  EG93 = MakeField(feed, QRect(116, 114, 44, kFieldHeight));
  MakeLabel(feed, QStringLiteral("aus"), QPoint(174, 118));
  EG94 = MakeField(feed, QRect(200, 114, 44, kFieldHeight));

  GroupDrehachse = MakeGroup(Panel_MASCH, QRect(266, 37, 257, 150));
  QWidget* rotary = GroupDrehachse;
  MakeStrip(rotary, QStringLiteral("Rundachse"), QRect(1, 1, 255, 20), GroupTitleFont());
  ERM = MakeToggle(rotary, QStringLiteral("modulo mit Drehrichtungswort"), option, 13, false,
                   QRect(6, 28, 244, 22));
  ERF = MakeToggle(rotary, QStringLiteral("fortlaufend"), option, 13, false,
                   QRect(6, 54, 244, 22));
  ERM->SetDown(true);
  EInv = MakeToggle(rotary, QStringLiteral("Drehrichtung umkehren"), CheckBoxGlyphStrip(), 106,
                    true, QRect(6, 92, 244, 22));

  GroupBoegen = MakeGroup(Panel_MASCH, QRect(0, 195, kStripWidth, 62));
  QWidget* arcs = GroupBoegen;
  MakeStrip(arcs, QStringLiteral("Kreisbögen"), QRect(1, 1, kStripWidth - 2, 20),
            GroupTitleFont());
  MakeLabel(arcs, QStringLiteral("Sehnenfehler max."), QPoint(8, 35));
  ETol = MakeNumberField(arcs, QRect(116, 31, 60, kFieldHeight));
  InstallNumberKeyFilter(ETol);
  EinheitTol = MakeLabel(arcs, QStringLiteral("mm"), QPoint(ETol->geometry().right() + 5, 35));
  MakeLabel(arcs, QStringLiteral("0: Schritte nur nach der Auflösung"),
            QPoint(EinheitTol->geometry().right() + 13, 35));

  GroupSteuerung = MakeGroup(Panel_MASCH, QRect(0, 265, kStripWidth, 84));
  QWidget* control = GroupSteuerung;
  MakeStrip(control, QStringLiteral("Steuerung"), QRect(1, 1, kStripWidth - 2, 20),
            GroupTitleFont());
  MakeLabel(control, QStringLiteral("Weitere neutrale G-Codes"), QPoint(8, 35));
  ENeutral = MakeField(control, QRect(160, 31, 200, kFieldHeight));
  MakeLabel(control, QStringLiteral("z. B. G61.1 G187: werden ohne Ausgabe übergangen"),
            QPoint(8, 60));

  BuildToolFeedAndAngles(Panel_MASCH);
  Panel_MASCH->hide();
}

// Below the machine page's other groups: the feed at the tool tip beside the
// angles the control takes. Every field has its one-line explanation under
// it.
void TEinstellungen::BuildToolFeedAndAngles(QWidget* page) {
  constexpr int kTop = 357;
  constexpr int kHeight = 160;
  const auto explain = [](QWidget* group, const QString& text, int y) {
    return MakeLabel(group, text, QPoint(28, y));
  };

  GroupWerkzeugVorschub = MakeGroup(page, QRect(0, kTop, 258, kHeight));
  QWidget* feed = GroupWerkzeugVorschub;
  MakeStrip(feed, QStringLiteral("Vorschub an der Werkzeugspitze"), QRect(1, 1, 256, 20),
            GroupTitleFont());
  EFRad = MakeToggle(feed, QStringLiteral("Vorschub am Werkzeugradius"), CheckBoxGlyphStrip(),
                     107, true, QRect(6, 28, 244, 22));
  explain(feed, QStringLiteral("G93: Drehung in der Tiefe Z gemessen"), 50);
  MakeLabel(feed, QStringLiteral("Höchster Vorschub"), QPoint(8, 78));
  EFMax = MakeNumberField(feed, QRect(116, 74, 60, kFieldHeight));
  InstallNumberKeyFilter(EFMax);
  EinheitFMax =
      MakeLabel(feed, QStringLiteral("1/min"), QPoint(EFMax->geometry().right() + 5, 78));
  explain(feed, QStringLiteral("G93: größeres F wird begrenzt; 0: keine Grenze"), 96);

  GroupWinkel = MakeGroup(page, QRect(266, kTop, 257, kHeight));
  QWidget* angles = GroupWinkel;
  MakeStrip(angles, QStringLiteral("Winkel"), QRect(1, 1, 255, 20), GroupTitleFont());
  EReduce = MakeToggle(angles, QStringLiteral("Winkel in 0 bis 360° schreiben"),
                       CheckBoxGlyphStrip(), 108, true, QRect(6, 28, 244, 22));
  explain(angles, QStringLiteral("modulo: C365.730 wird C5.730"), 50);
  MakeLabel(angles, QStringLiteral("Zurücksetzen"), QPoint(8, 78));
  EUnw = MakeField(angles, QRect(96, 74, 150, kFieldHeight));
  explain(angles, QStringLiteral("fortlaufend, am Ende; {C}: Winkel in 0 bis 360°"), 96);
  MakeLabel(angles, QStringLiteral("Warnen über"), QPoint(8, 122));
  EWind = MakeNumberField(angles, QRect(96, 118, 44, kFieldHeight));
  InstallNumberKeyFilter(EWind);
  EinheitWind =
      MakeLabel(angles, QStringLiteral("Umdrehungen"), QPoint(EWind->geometry().right() + 5, 122));
  explain(angles, QStringLiteral("fortlaufend; 0: keine Warnung"), 140);

  // Drilling cycles and retracts between operations.
  GroupBohren = MakeGroup(page, QRect(0, kTop + kHeight + 8, kStripWidth, 74));
  QWidget* drilling = GroupBohren;
  MakeStrip(drilling, QStringLiteral("Bohrzyklen und Werkzeugwechsel"),
            QRect(1, 1, kStripWidth - 2, 20), GroupTitleFont());
  MakeLabel(drilling, QStringLiteral("Rückzug G73/G83"), QPoint(8, 35));
  EPeck = MakeNumberField(drilling, QRect(116, 31, 50, kFieldHeight));
  InstallNumberKeyFilter(EPeck);
  EinheitPeck =
      MakeLabel(drilling, QStringLiteral("mm"), QPoint(EPeck->geometry().right() + 5, 35));
  MakeLabel(drilling, QStringLiteral("Sicherer Rückzug X"), QPoint(266, 35));
  ESafe = MakeNumberField(drilling, QRect(384, 31, 60, kFieldHeight));
  InstallNumberKeyFilter(ESafe);
  EinheitSafe =
      MakeLabel(drilling, QStringLiteral("mm"), QPoint(ESafe->geometry().right() + 5, 35));
  MakeLabel(drilling,
            QStringLiteral("G28/G30 nur mit Z fahren radial hinaus auf X; leer: abgelehnt"),
            QPoint(8, 54));
}

void TEinstellungen::BuildButtonBar() {
  Panel_Buttons = new QWidget(this);
  Panel_Buttons->setGeometry(0, kPageHeight, kDialogWidth, kBarHeight);
  MakeBox(Panel_Buttons, QRect(0, 0, kDialogWidth, 1), Qt::black, QColor());
  Abbruch = MakeButton(Panel_Buttons, QStringLiteral("&Abbrechen"), CrossGlyph(),
                       QRect(8, 9, 113, 30));
  XPSpeedButton3 = MakeButton(Panel_Buttons, QStringLiteral("&Speichern"), CheckGlyph(),
                              QRect(kDialogWidth - 8 - 113, 9, 113, 30));
}

void TEinstellungen::SetFocusOrder() {
  QWidget* const order[] = {EVorspann,     ENachspann, EG2,  EG3, EDP,
                            EDN,           EEStellen,  EENachkommastellen,
                            EESatzzeichen, EESatzschritt, EEstart, EGrad,
                            ERad,          Eg0,        Eg1,  EQUELLDIR, EZIELDIR};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace torvane
