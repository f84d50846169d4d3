// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;

namespace torvane {

class Conversion;
struct ConversionWarning;
class ConversionTask;
struct CheckOutcome;
class Settings;
class SpillText;
class EditorPane;
class TNCSyn;
class PreviewPanel;
class TRohteil;
class WarningList;
class TXPSpeedButton;

// The file dialogs of the main window, as data, so that tests can answer
// them without a user.
struct FileDialogRequest {
  enum class Kind { Open, Save };
  Kind kind = Kind::Open;
  QString directory;   // start folder; empty leaves the choice to the platform
  QStringList filters;  // in Qt's form, first one preselected
  QString defaultSuffix;
  QString fileName;  // name proposed for saving; empty proposes none
  QString title;     // the dialog's title: what is opened or which pane is saved
};
using FileDialogHook = std::function<QString(QWidget* parent, const FileDialogRequest&)>;

// A question to the user, as data, so that tests can answer it: the
// answer is the index of the chosen button; `cancel` is the index that
// Escape and the close box choose.
struct Question {
  QString text;
  QString detail;
  QStringList buttons;
  int cancel = 0;
  int preferred = 0;  // the button Enter chooses
};
using QuestionHook = std::function<int(QWidget* parent, const Question&)>;

// The main window: source program left (`Quelle`), converted program right
// (`Ziel`), toolbar, menu and status bar, and every command of the program.
class TMainform : public QMainWindow {
  Q_OBJECT

 public:
  TMainform(Settings& settings, Conversion& conversion, QWidget* parent = nullptr);
  ~TMainform() override;

  // The program's arguments, as the platform split them.
  void SetArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }

  // The cylinder dialog, created after this window; converting needs it.
  TRohteil* Rohteil = nullptr;
  // Windows that live elsewhere; empty hooks do nothing.
  std::function<void()> ShowSettings;
  std::function<void()> ShowInfo;
  std::function<void()> ShowSplash;
  // Replaces the platform's file dialogs (tests).
  FileDialogHook FileDialog;
  // Replaces the message box of the program's questions (tests).
  QuestionHook AskUser;
  // Runs once inside a conversion's wait, before its result is taken
  // (tests: cancel a running conversion).
  std::function<void()> WhileConverting;
  // Replaces putting a finished result into MANTEL (tests: a pane that
  // runs out of room part way).
  std::function<void(const SpillText& result, std::size_t lines)> AppendResult;

  // Text of the status bar.
  QString StatusText() const;

  // Controls, named as the program's users and tests know them.
  QWidget* Panel2 = nullptr;
  TXPSpeedButton* XPSpeedButton1 = nullptr;  // "&NC öffnen"
  TXPSpeedButton* XPSpeedButton3 = nullptr;  // "&MANTEL"
  TXPSpeedButton* Button_Pruefen = nullptr;  // "&Prüfen"
  TXPSpeedButton* XPSpeedButton2 = nullptr;  // "N&C speichern"
  TXPSpeedButton* Button_Einstellungen = nullptr;
  QWidget* Panel1 = nullptr;
  QLabel* Image1 = nullptr;
  QSplitter* Panel_Haupt = nullptr;
  QWidget* Panel_Links = nullptr;
  QLabel* Label1 = nullptr;
  EditorPane* Quelle = nullptr;
  QWidget* Panel_Rechts = nullptr;
  QLabel* Label2 = nullptr;
  EditorPane* Ziel = nullptr;
  WarningList* Warnungen = nullptr;  // under the result pane
  QStatusBar* StatusBar = nullptr;
  TXPSpeedButton* BAbbrechen = nullptr;  // in the status bar while converting
  QMenu* Datei1 = nullptr;
  QAction* NCDateiffnen1 = nullptr;
  QAction* AlsNCDateispeichern1 = nullptr;
  QAction* HPGLerzeugen1 = nullptr;
  QAction* Pruefen1 = nullptr;
  QAction* Einstellungen1 = nullptr;
  QAction* Info1 = nullptr;
  QAction* Beenden1 = nullptr;
  // The preview below the panes, its toolbar button and menu item.
  PreviewPanel* Vorschau = nullptr;
  TXPSpeedButton* Button_Vorschau = nullptr;
  QAction* Vorschau1 = nullptr;

 public slots:
  void FormShow();
  void Button_LadenClick();
  void WandelnClick();
  // Checks MANTEL as it stands (edited by hand, say) against the source.
  void PruefenClick();
  void PLT_SpeichernClick();
  void AlsNCDateispeichern1Click();
  void Button_EinstellungenClick();
  void Info1Click();
  void Beenden1Click();
  // Even split of the panes; runs at every size change.
  void FormResize();
  // Stops a running conversion; the result pane stays as it was.
  void CancelConversion();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildToolbar();
  void BuildPanes();
  void BuildMenu();
  // The preview's widgets and its links to the result pane
  // (MainformPreview.cpp).
  void BuildPreview();
  void HandleCommandLine();
  void SetStatus(const QString& text, bool alarm = false);
  // Runs `command`; an error it does not handle goes to the error report.
  void Guarded(const std::function<void()>& command);
  QString RunFileDialog(const FileDialogRequest& request);
  void LoadSource(const QString& path);
  // Empties the result pane, its warnings and its header's note.
  void ClearResult();
  void ConvertWithProgress(long double diameter);
  // A run of `conversion_` on the source pane as it stands.
  ConversionTask SourceTask(long double diameter);
  // Runs `task` on a thread of its own while the window waits, with the
  // progress after half a second (`running` takes the percentage); Esc
  // cancels. Returns the milliseconds it took.
  qint64 WaitForTask(ConversionTask& task, const QString& running);
  // Unsaved work (an edited source, an unsaved result) is saved, dropped,
  // or kept by not going on: true when the caller may go on.
  bool ConfirmUnsavedWork();
  // True when the file was written.
  bool SaveResult();
  // Where a save dialog opens: the folder a setting names, else beside the source.
  QString SaveFolder(const std::string& setting) const;
  bool SaveSource();
  int Ask(const Question& question);
  // Caret on the 1-based source line, the line marked.
  void ShowSourceLine(std::size_t line);
  // The result pane's header: plain, or saying that the result is
  // incomplete because the run stopped at `line` (0: at no line).
  void ShowResultComplete();
  void ShowResultIncomplete(std::size_t line);
  // MANTEL holds `shown` of the result's `total` lines: the result could
  // not be put in whole.
  void ShowResultNotLoaded(std::size_t shown, std::size_t total);
  // A finished run's lines into MANTEL; Esc meanwhile puts back what was
  // there.
  void ShowTaskResult(ConversionTask& task);
  // What a check of the result found: in the status bar after `before`,
  // and a failed one marks MANTEL and its line like an incomplete result.
  void ShowCheck(const CheckOutcome& outcome, const QString& before);
  void RestoreResultState(bool incomplete, const QString& detail, const QString& header);
  void ShowWarnings(const std::vector<ConversionWarning>& warnings);

  Settings& settings_;
  Conversion& conversion_;
  std::vector<std::string> arguments_;
  QLabel* statusText_ = nullptr;
  bool shown_ = false;
  // The file the source was last loaded from or saved to; names the result.
  QString sourcePath_;
  // Set while the result pane holds a run that stopped at an error, or a
  // result that could not be put in whole; the detail says which, for the
  // question before saving.
  bool resultIncomplete_ = false;
  QString incompleteDetail_;
  // The result pane failed its check (and is marked incomplete for it).
  bool resultCheckFailed_ = false;
  // What the warning list shows.
  std::vector<ConversionWarning> shownWarnings_;
  ConversionTask* runningTask_ = nullptr;
  // The panes' highlighters; a new one colours every conversion's result.
  std::unique_ptr<TNCSyn> quelleHighlighter_;
  std::unique_ptr<TNCSyn> zielHighlighter_;
};

}  // namespace torvane
