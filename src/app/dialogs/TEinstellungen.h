// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>
#include <string>

#include "settings/SettingsModel.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace torvane {

class Settings;
class TBrowseForFolder;
class TXPEdit;
class TXPSpeedButton;

// The settings dialog. It holds no settings of its own: every control shows
// and edits the settings' controls model, in both directions, so that the
// rules (steppers, the angle-step check, the groups) stay testable without a
// window and whatever the model changes shows at once. Created once and
// reused; the page and every control keep their state between showings.
class TEinstellungen : public QDialog {
  Q_OBJECT

 public:
  // Takes over the model's change callbacks for its lifetime.
  TEinstellungen(Settings& settings, QWidget* parent = nullptr);
  ~TEinstellungen() override;

  Settings& settings() const { return settings_; }

  // The widget that shows a text control, a toggle, or a text area.
  QLineEdit* Field(TextControl control) const;
  TXPSpeedButton* Toggle(ToggleControl toggle) const;

  // The folder button's start folder for a field's text: a trailing
  // separator is dropped unless the text names a root ("/", "C:\").
  static QString FolderStart(const QString& fieldText);

  // Controls, named as the settings know them.
  QWidget* Panel_Kategorie = nullptr;
  TXPSpeedButton* BHPGL = nullptr;
  TXPSpeedButton* BDir = nullptr;
  QWidget* Panel_HPGL = nullptr;
  QWidget* Panel_DIR = nullptr;
  QLabel* LabelSettingsDir = nullptr;
  QWidget* Panel_Buttons = nullptr;
  TXPSpeedButton* Abbruch = nullptr;
  TXPSpeedButton* XPSpeedButton3 = nullptr;

  // Group "Rundachse".
  QFrame* GroupRundachse = nullptr;
  TXPSpeedButton* EAA = nullptr;
  TXPSpeedButton* EAB = nullptr;
  TXPSpeedButton* EAC = nullptr;
  QLineEdit* Eg0 = nullptr;
  QLineEdit* Eg1 = nullptr;
  QLineEdit* EDP = nullptr;
  QLineEdit* EDN = nullptr;
  TXPSpeedButton* EK1 = nullptr;
  TXPSpeedButton* GMinus = nullptr;
  TXPEdit* EGrad = nullptr;
  TXPSpeedButton* GPlus = nullptr;
  QLabel* EinheitGrad = nullptr;  // "°" beside the angle step
  TXPSpeedButton* EK2 = nullptr;
  QLineEdit* EG2 = nullptr;
  QLineEdit* EG3 = nullptr;
  QLineEdit* ERad = nullptr;

  // Group "Zahlenformat".
  QFrame* GroupZahlenformat = nullptr;
  TXPSpeedButton* SMinus1 = nullptr;
  TXPEdit* EEStellen = nullptr;
  TXPSpeedButton* SPlus1 = nullptr;
  TXPSpeedButton* NMinus1 = nullptr;
  TXPEdit* EENachkommastellen = nullptr;
  TXPSpeedButton* NPlus1 = nullptr;
  TXPSpeedButton* EEDeziPunkt = nullptr;
  TXPSpeedButton* EENCPunkt = nullptr;
  TXPSpeedButton* EEVNullen = nullptr;
  TXPSpeedButton* EENNullen = nullptr;
  TXPSpeedButton* EEVorzeichen = nullptr;

  // Group "Vorspann" / "Nachspann".
  QFrame* GroupSpann = nullptr;
  QPlainTextEdit* EVorspann = nullptr;
  QPlainTextEdit* ENachspann = nullptr;
  TXPSpeedButton* EESatznum = nullptr;
  QLineEdit* EESatzzeichen = nullptr;
  TXPSpeedButton* SNMinus1 = nullptr;
  TXPEdit* EESatzschritt = nullptr;
  TXPSpeedButton* SNPlus1 = nullptr;
  QLineEdit* EEstart = nullptr;

  // Directories page.
  QLineEdit* EQUELLDIR = nullptr;
  TXPSpeedButton* BNCDIR = nullptr;
  QLineEdit* EZIELDIR = nullptr;
  TXPSpeedButton* BHPGLDIR = nullptr;

  // Machine page: the dialect of the control that runs the program.
  TXPSpeedButton* BMaschine = nullptr;
  QWidget* Panel_MASCH = nullptr;
  QFrame* GroupVorschub = nullptr;
  TXPSpeedButton* EVF0 = nullptr;  // "keiner"
  TXPSpeedButton* EVF1 = nullptr;  // "wie programmiert"
  TXPSpeedButton* EVF2 = nullptr;  // "inverse Zeit G93"
  QLineEdit* EG93 = nullptr;
  QLineEdit* EG94 = nullptr;
  QFrame* GroupDrehachse = nullptr;
  TXPSpeedButton* ERM = nullptr;   // "modulo mit Drehrichtungswort"
  TXPSpeedButton* ERF = nullptr;   // "fortlaufend"
  TXPSpeedButton* EInv = nullptr;  // "Drehrichtung umkehren"
  QFrame* GroupBoegen = nullptr;
  TXPEdit* ETol = nullptr;         // "Sehnenfehler max."
  QLabel* EinheitTol = nullptr;    // "mm" beside it
  QFrame* GroupSteuerung = nullptr;
  QLineEdit* ENeutral = nullptr;   // "Weitere neutrale G-Codes"
  QFrame* GroupWerkzeugVorschub = nullptr;
  TXPSpeedButton* EFRad = nullptr;  // "Vorschub am Werkzeugradius"
  TXPEdit* EFMax = nullptr;         // "Höchster Vorschub"
  QLabel* EinheitFMax = nullptr;    // "1/min" beside it
  QFrame* GroupWinkel = nullptr;
  TXPSpeedButton* EReduce = nullptr;  // "Winkel in 0 bis 360° schreiben"
  QLineEdit* EUnw = nullptr;        // "Zurücksetzen"
  TXPEdit* EWind = nullptr;         // "Warnen über"
  QLabel* EinheitWind = nullptr;    // "Umdrehungen" beside it
  QFrame* GroupBohren = nullptr;
  TXPEdit* EPeck = nullptr;         // "Rückzug G73/G83"
  QLabel* EinheitPeck = nullptr;    // "mm" beside it
  TXPEdit* ESafe = nullptr;         // "Sicherer Rückzug X"
  QLabel* EinheitSafe = nullptr;    // "mm" beside it

  TBrowseForFolder* Folder = nullptr;

 public slots:
  void BHPGLClick();
  void BDirClick();
  void BMaschineClick();
  void SPlus1Click();
  void SMinus1Click();
  void NPlus1Click();
  void NMinus1Click();
  void SNPlus1Click();
  void SNMinus1Click();
  void GPlusClick();
  void GMinusClick();
  void BNCDIRClick();
  void BHPGLDIRClick();
  void XPSpeedButton3Click();
  void AbbruchClick();

 private:
  void BuildCategoryColumn();
  void BuildConversionPage();
  void BuildRundachse(QWidget* page);
  void BuildZahlenformat(QWidget* page);
  void BuildSpann(QWidget* page);
  void BuildDirectoryPage();
  void BuildMachinePage();
  void BuildToolFeedAndAngles(QWidget* page);
  void BuildButtonBar();
  void SetFocusOrder();
  void NameControls();
  void Bind();

  // Model to widgets, and back.
  void ShowText(TextControl control);
  void ShowStates();
  void ShowTextArea(QPlainTextEdit* area, const std::string& text, std::string& shown);
  void TakeText(TextControl control);
  void TakeTextArea(QPlainTextEdit* area);
  void TakeToggle(ToggleControl toggle);

  enum class Page { Conversion, Directories, Machine };
  void ShowPage(Page page);
  void ChooseFolder(TextControl field);

  Settings& settings_;
  std::array<QLineEdit*, kTextControlCount> fields_{};
  std::array<TXPSpeedButton*, kToggleControlCount> toggles_{};
  // The text areas' texts as last exchanged with the model, so that a change
  // elsewhere need not compare whole header files.
  std::string shownVorspann_;
  std::string shownNachspann_;
  // Set while the dialog writes into a widget, so that the widget's change
  // signal does not send the text straight back.
  bool showing_ = false;
};

}  // namespace torvane
