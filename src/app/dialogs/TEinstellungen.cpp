// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/TEinstellungen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <utility>

#include "app/dialogs/FormParts.h"
#include "app/dialogs/TBrowseForFolder.h"
#include "app/text/QtText.h"
#include "app/widgets/ErrorReport.h"
#include "app/widgets/TXPEdit.h"
#include "app/widgets/TXPSpeedButton.h"
#include "settings/Settings.h"

namespace torvane {
namespace {

std::size_t Index(TextControl control) { return static_cast<std::size_t>(control); }
std::size_t Index(ToggleControl toggle) { return static_cast<std::size_t>(toggle); }

constexpr TextControl kAllTexts[] = {
    TextControl::EQUELLDIR, TextControl::EZIELDIR,  TextControl::EGrad,
    TextControl::EDP,       TextControl::EDN,       TextControl::Eg0,
    TextControl::Eg1,       TextControl::EG2,       TextControl::EG3,
    TextControl::ERad,      TextControl::EEStellen, TextControl::EENachkommastellen,
    TextControl::EESatzzeichen, TextControl::EESatzschritt, TextControl::EEstart,
    TextControl::ETol,      TextControl::EG93,      TextControl::EG94,
    TextControl::ENeutral,  TextControl::EFMax,     TextControl::EUnw,
    TextControl::EWind,     TextControl::EPeck,     TextControl::ESafe,
};
static_assert(std::size(kAllTexts) == kTextControlCount);

constexpr ToggleControl kAllToggles[] = {
    ToggleControl::EEDeziPunkt, ToggleControl::EENCPunkt,    ToggleControl::EEVNullen,
    ToggleControl::EENNullen,   ToggleControl::EEVorzeichen, ToggleControl::EESatznum,
    ToggleControl::EInv,        ToggleControl::EFRad,        ToggleControl::EReduce,
};
static_assert(std::size(kAllToggles) == kToggleControlCount);

// The model keeps a text area's lines with CR LF between them; the widget
// keeps paragraphs. A soft line break (Shift+Enter) is a line break too.
std::string TextAreaBytes(const QPlainTextEdit* area) {
  QString text = area->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return QStringToBytes(text);
}

QString TextAreaText(const std::string& bytes) {
  QString text = BytesToQString(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

TEinstellungen::TEinstellungen(Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      settings_(settings) {
  setObjectName(QStringLiteral("Einstellungen"));
  setWindowTitle(QStringLiteral("Einstellungen"));
  setFixedSize(660, 650);
  setFont(FormFont());

  BuildCategoryColumn();
  BuildConversionPage();
  BuildDirectoryPage();
  BuildMachinePage();
  BuildButtonBar();
  SetFocusOrder();
  NameControls();

  Folder = new TBrowseForFolder(this);
  Folder->setObjectName(QStringLiteral("Folder"));
  Folder->SetCaption(QStringLiteral("Auswahl Verzeichnis"));
  Folder->SetStatusText(QStringLiteral("Verzeichnis auswählen"));

  fields_ = {EQUELLDIR, EZIELDIR, EGrad,     EDP,                EDN,
             Eg0,       Eg1,      EG2,       EG3,                ERad,
             EEStellen, EENachkommastellen, EESatzzeichen, EESatzschritt, EEstart,
             ETol,      EG93,     EG94,      ENeutral,           EFMax,
             EUnw,      EWind,    EPeck,     ESafe};
  toggles_ = {EEDeziPunkt, EENCPunkt, EEVNullen, EENNullen, EEVorzeichen,
              EESatznum,   EInv,      EFRad,     EReduce};
  Bind();
}

TEinstellungen::~TEinstellungen() {
  // The settings outlive the dialog; their callbacks must not reach it.
  SettingsModel& model = settings_.Controls();
  model.onTextChanged = nullptr;
  model.onStateChanged = nullptr;
}

// The controls carry their names, so that tests and style sheets find them.
void TEinstellungen::NameControls() {
  const std::pair<QObject*, const char*> names[] = {
      {Panel_Kategorie, "Panel_Kategorie"},
      {BHPGL, "BHPGL"},
      {BDir, "BDir"},
      {Panel_HPGL, "Panel_HPGL"},
      {Panel_DIR, "Panel_DIR"},
      {Panel_Buttons, "Panel_Buttons"},
      {Abbruch, "Abbruch"},
      {XPSpeedButton3, "XPSpeedButton3"},
      {GroupRundachse, "GroupRundachse"},
      {EAA, "EAA"},
      {EAB, "EAB"},
      {EAC, "EAC"},
      {Eg0, "Eg0"},
      {Eg1, "Eg1"},
      {EDP, "EDP"},
      {EDN, "EDN"},
      {EK1, "EK1"},
      {GMinus, "GMinus"},
      {EGrad, "EGrad"},
      {GPlus, "GPlus"},
      {EinheitGrad, "EinheitGrad"},
      {EK2, "EK2"},
      {EG2, "EG2"},
      {EG3, "EG3"},
      {ERad, "ERad"},
      {GroupZahlenformat, "GroupZahlenformat"},
      {SMinus1, "SMinus1"},
      {EEStellen, "EEStellen"},
      {SPlus1, "SPlus1"},
      {NMinus1, "NMinus1"},
      {EENachkommastellen, "EENachkommastellen"},
      {NPlus1, "NPlus1"},
      {EEDeziPunkt, "EEDeziPunkt"},
      {EENCPunkt, "EENCPunkt"},
      {EEVNullen, "EEVNullen"},
      {EENNullen, "EENNullen"},
      {EEVorzeichen, "EEVorzeichen"},
      {GroupSpann, "GroupSpann"},
      {EVorspann, "EVorspann"},
      {ENachspann, "ENachspann"},
      {EESatznum, "EESatznum"},
      {EESatzzeichen, "EESatzzeichen"},
      {SNMinus1, "SNMinus1"},
      {EESatzschritt, "EESatzschritt"},
      {SNPlus1, "SNPlus1"},
      {EEstart, "EEstart"},
      {EQUELLDIR, "EQUELLDIR"},
      {BNCDIR, "BNCDIR"},
      {EZIELDIR, "EZIELDIR"},
      {BHPGLDIR, "BHPGLDIR"},
      {BMaschine, "BMaschine"},
      {Panel_MASCH, "Panel_MASCH"},
      {GroupVorschub, "GroupVorschub"},
      {EVF0, "EVF0"},
      {EVF1, "EVF1"},
      {EVF2, "EVF2"},
      {EG93, "EG93"},
      {EG94, "EG94"},
      {GroupDrehachse, "GroupDrehachse"},
      {ERM, "ERM"},
      {ERF, "ERF"},
      {EInv, "EInv"},
      {GroupBoegen, "GroupBoegen"},
      {ETol, "ETol"},
      {EinheitTol, "EinheitTol"},
      {GroupSteuerung, "GroupSteuerung"},
      {ENeutral, "ENeutral"},
      {GroupWerkzeugVorschub, "GroupWerkzeugVorschub"},
      {EFRad, "EFRad"},
      {EFMax, "EFMax"},
      {EinheitFMax, "EinheitFMax"},
      {GroupWinkel, "GroupWinkel"},
      {EReduce, "EReduce"},
      {EUnw, "EUnw"},
      {EWind, "EWind"},
      {GroupBohren, "GroupBohren"},
      {EPeck, "EPeck"},
      {EinheitPeck, "EinheitPeck"},
      {ESafe, "ESafe"},
      {EinheitSafe, "EinheitSafe"},
      {EinheitWind, "EinheitWind"},
  };
  for (const auto& [control, name] : names) control->setObjectName(QString::fromLatin1(name));
}

QLineEdit* TEinstellungen::Field(TextControl control) const { return fields_[Index(control)]; }

TXPSpeedButton* TEinstellungen::Toggle(ToggleControl toggle) const {
  return toggles_[Index(toggle)];
}

void TEinstellungen::Bind() {
  SettingsModel& model = settings_.Controls();
  model.onTextChanged = [this](TextControl control) { ShowText(control); };
  model.onStateChanged = [this] { ShowStates(); };

  for (TextControl control : kAllTexts) {
    ShowText(control);
    connect(Field(control), &QLineEdit::textChanged, this, [this, control] {
      if (!showing_) TakeText(control);
    });
  }
  ShowStates();
  connect(EVorspann, &QPlainTextEdit::textChanged, this, [this] {
    if (!showing_) TakeTextArea(EVorspann);
  });
  connect(ENachspann, &QPlainTextEdit::textChanged, this, [this] {
    if (!showing_) TakeTextArea(ENachspann);
  });

  for (ToggleControl toggle : kAllToggles)
    connect(Toggle(toggle), &TXPSpeedButton::OnClick, this, [this, toggle] { TakeToggle(toggle); });
  connect(EK1, &TXPSpeedButton::OnClick, this, [this] { settings_.Controls().SelectArcMode(1); });
  connect(EK2, &TXPSpeedButton::OnClick, this, [this] { settings_.Controls().SelectArcMode(2); });
  connect(EAA, &TXPSpeedButton::OnClick, this, [this] { settings_.Controls().SelectAxis(1); });
  connect(EAB, &TXPSpeedButton::OnClick, this, [this] { settings_.Controls().SelectAxis(2); });
  connect(EAC, &TXPSpeedButton::OnClick, this, [this] { settings_.Controls().SelectAxis(3); });
  TXPSpeedButton* const feedModes[] = {EVF0, EVF1, EVF2};
  for (int mode = 0; mode < 3; ++mode) {
    connect(feedModes[mode], &TXPSpeedButton::OnClick, this,
            [this, mode] { settings_.Controls().SelectFeedMode(mode); });
  }
  TXPSpeedButton* const rotaryModes[] = {ERM, ERF};
  for (int mode = 0; mode < 2; ++mode) {
    connect(rotaryModes[mode], &TXPSpeedButton::OnClick, this,
            [this, mode] { settings_.Controls().SelectRotaryMode(mode); });
  }

  connect(BHPGL, &TXPSpeedButton::OnClick, this, &TEinstellungen::BHPGLClick);
  connect(BDir, &TXPSpeedButton::OnClick, this, &TEinstellungen::BDirClick);
  connect(BMaschine, &TXPSpeedButton::OnClick, this, &TEinstellungen::BMaschineClick);
  connect(SPlus1, &TXPSpeedButton::OnClick, this, &TEinstellungen::SPlus1Click);
  connect(SMinus1, &TXPSpeedButton::OnClick, this, &TEinstellungen::SMinus1Click);
  connect(NPlus1, &TXPSpeedButton::OnClick, this, &TEinstellungen::NPlus1Click);
  connect(NMinus1, &TXPSpeedButton::OnClick, this, &TEinstellungen::NMinus1Click);
  connect(SNPlus1, &TXPSpeedButton::OnClick, this, &TEinstellungen::SNPlus1Click);
  connect(SNMinus1, &TXPSpeedButton::OnClick, this, &TEinstellungen::SNMinus1Click);
  connect(GPlus, &TXPSpeedButton::OnClick, this, &TEinstellungen::GPlusClick);
  connect(GMinus, &TXPSpeedButton::OnClick, this, &TEinstellungen::GMinusClick);
  connect(BNCDIR, &TXPSpeedButton::OnClick, this, &TEinstellungen::BNCDIRClick);
  connect(BHPGLDIR, &TXPSpeedButton::OnClick, this, &TEinstellungen::BHPGLDIRClick);
  connect(XPSpeedButton3, &TXPSpeedButton::OnClick, this, &TEinstellungen::XPSpeedButton3Click);
  connect(Abbruch, &TXPSpeedButton::OnClick, this, &TEinstellungen::AbbruchClick);
}

void TEinstellungen::ShowText(TextControl control) {
  QLineEdit* field = Field(control);
  const QString text = BytesToQString(settings_.Controls().Text(control));
  if (field->text() == text) return;
  // A character the code page lacks comes back as "?": same length, so the
  // cursor stays where the user is typing. Any other change (the angle-step
  // check, a stepper, loading) puts it at the end.
  const int cursor = field->cursorPosition();
  const bool sameLength = field->text().size() == text.size();
  const bool was = std::exchange(showing_, true);
  field->setText(text);
  if (sameLength) field->setCursorPosition(cursor);
  showing_ = was;
}

void TEinstellungen::ShowStates() {
  const SettingsModel& model = settings_.Controls();
  for (ToggleControl toggle : kAllToggles) Toggle(toggle)->SetDown(model.Down(toggle));
  // One-of groups: setting the chosen button down releases the others.
  (model.ArcMode() == 2 ? EK2 : EK1)->SetDown(true);
  TXPSpeedButton* const axes[] = {EAA, EAB, EAC};
  axes[std::clamp(model.Axis(), 1, 3) - 1]->SetDown(true);
  TXPSpeedButton* const feedModes[] = {EVF0, EVF1, EVF2};
  feedModes[std::clamp(model.FeedMode(), 0, 2)]->SetDown(true);
  (model.RotaryMode() == 1 ? ERF : ERM)->SetDown(true);
  ShowTextArea(EVorspann, model.EVorspann(), shownVorspann_);
  ShowTextArea(ENachspann, model.ENachspann(), shownNachspann_);
}

void TEinstellungen::ShowTextArea(QPlainTextEdit* area, const std::string& text,
                                  std::string& shown) {
  if (text == shown) return;
  shown = text;
  if (TextAreaBytes(area) == text) return;
  const bool was = std::exchange(showing_, true);
  area->setPlainText(TextAreaText(text));
  showing_ = was;
}

void TEinstellungen::TakeText(TextControl control) {
  SettingsModel& model = settings_.Controls();
  model.SetText(control, QStringToBytes(Field(control)->text()));
  // When the model already held those bytes it tells nothing, yet the field
  // may show a character that will be saved as "?".
  ShowText(control);
}

void TEinstellungen::TakeTextArea(QPlainTextEdit* area) {
  SettingsModel& model = settings_.Controls();
  std::string text = TextAreaBytes(area);
  if (area == EVorspann) {
    shownVorspann_ = text;
    model.SetEVorspann(std::move(text));
  } else {
    shownNachspann_ = text;
    model.SetENachspann(std::move(text));
  }
}

void TEinstellungen::TakeToggle(ToggleControl toggle) {
  settings_.Controls().SetDown(toggle, Toggle(toggle)->Down());
}

QString TEinstellungen::FolderStart(const QString& fieldText) {
  if (fieldText.endsWith(QLatin1Char('\\')))
    return fieldText.size() > 3 ? fieldText.chopped(1) : fieldText;
  if (fieldText.endsWith(QLatin1Char('/'))) {
    const bool driveRoot = fieldText.size() == 3 && fieldText.at(1) == QLatin1Char(':');
    return (fieldText.size() > 1 && !driveRoot) ? fieldText.chopped(1) : fieldText;
  }
  return fieldText;
}

// Also latches the category button, so that the accelerator, which clicks
// without latching, leaves the button of the page in front down.
void TEinstellungen::ShowPage(Page page) {
  const std::pair<Page, TXPSpeedButton*> buttons[] = {
      {Page::Conversion, BHPGL}, {Page::Directories, BDir}, {Page::Machine, BMaschine}};
  for (const auto& [shown, button] : buttons)
    if (shown == page) button->SetDown(true);
  Panel_DIR->setVisible(page == Page::Directories);
  Panel_HPGL->setVisible(page == Page::Conversion);
  Panel_MASCH->setVisible(page == Page::Machine);
}

void TEinstellungen::BHPGLClick() { ShowPage(Page::Conversion); }
void TEinstellungen::BDirClick() { ShowPage(Page::Directories); }
void TEinstellungen::BMaschineClick() { ShowPage(Page::Machine); }

void TEinstellungen::SPlus1Click() { settings_.Controls().SPlus(TextControl::EEStellen); }
void TEinstellungen::SMinus1Click() { settings_.Controls().SMinus(TextControl::EEStellen); }
void TEinstellungen::NPlus1Click() {
  settings_.Controls().SPlus(TextControl::EENachkommastellen);
}
void TEinstellungen::NMinus1Click() {
  settings_.Controls().SMinus(TextControl::EENachkommastellen);
}
void TEinstellungen::SNPlus1Click() { settings_.Controls().SNPlus(); }
void TEinstellungen::SNMinus1Click() { settings_.Controls().SNMinus(); }
void TEinstellungen::GPlusClick() { settings_.Controls().GPlusClick(); }
void TEinstellungen::GMinusClick() { settings_.Controls().GMinusClick(); }

void TEinstellungen::ChooseFolder(TextControl field) {
  Folder->SetFolderName(FolderStart(Field(field)->text()));
  if (Folder->Execute()) settings_.Controls().SetText(field, QStringToBytes(Folder->FolderName()));
}

void TEinstellungen::BNCDIRClick() { ChooseFolder(TextControl::EQUELLDIR); }
void TEinstellungen::BHPGLDIRClick() { ChooseFolder(TextControl::EZIELDIR); }

void TEinstellungen::XPSpeedButton3Click() {
  try {
    settings_.SaveSettings();
  } catch (const FileError& error) {
    // The keys written so far stay written; the user may mend the cause
    // and save again.
    ShowErrorReport(this, BytesToQString(error.what()));
    return;
  }
  accept();
}

// The edits stay in the controls: they show again at the next opening and
// a later save stores them.
void TEinstellungen::AbbruchClick() { reject(); }

}  // namespace torvane
