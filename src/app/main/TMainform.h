#pragma once

#include <QMainWindow>
#include <QString>

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
class Settings;
class TEditorPane;
class TNCSyn;
class TPreviewPanel;
class TRohteil;
class TXPSpeedButton;

// The file dialogs of the main window, as data, so that tests can answer
// them without a user.
struct FileDialogRequest {
  enum class Kind { Open, Save };
  Kind kind = Kind::Open;
  QString directory;   // start folder; empty leaves the choice to the platform
  QStringList filters;  // in Qt's form, first one preselected
  QString defaultSuffix;
};
using FileDialogHook = std::function<QString(QWidget* parent, const FileDialogRequest&)>;

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

  // Text of the status bar.
  QString StatusText() const;

  // Controls, named as the program's users and tests know them.
  QWidget* Panel2 = nullptr;
  TXPSpeedButton* XPSpeedButton1 = nullptr;  // "&NC öffnen"
  TXPSpeedButton* XPSpeedButton3 = nullptr;  // "&MANTEL"
  TXPSpeedButton* XPSpeedButton2 = nullptr;  // "N&C speichern"
  TXPSpeedButton* Button_Einstellungen = nullptr;
  QWidget* Panel1 = nullptr;
  QLabel* Image1 = nullptr;
  QSplitter* Panel_Haupt = nullptr;
  QWidget* Panel_Links = nullptr;
  QLabel* Label1 = nullptr;
  TEditorPane* Quelle = nullptr;
  QWidget* Panel_Rechts = nullptr;
  QLabel* Label2 = nullptr;
  TEditorPane* Ziel = nullptr;
  QStatusBar* StatusBar = nullptr;
  QMenu* Datei1 = nullptr;
  QAction* NCDateiffnen1 = nullptr;
  QAction* AlsNCDateispeichern1 = nullptr;
  QAction* HPGLerzeugen1 = nullptr;
  QAction* Einstellungen1 = nullptr;
  QAction* Info1 = nullptr;
  QAction* Beenden1 = nullptr;
  // The preview below the panes, its toolbar button and menu item.
  TPreviewPanel* Vorschau = nullptr;
  TXPSpeedButton* Button_Vorschau = nullptr;
  QAction* Vorschau1 = nullptr;

 public slots:
  void FormShow();
  void Button_LadenClick();
  void WandelnClick();
  void PLT_SpeichernClick();
  void AlsNCDateispeichern1Click();
  void Button_EinstellungenClick();
  void Info1Click();
  void Beenden1Click();
  // Even split of the panes; runs at every size change.
  void FormResize();

 protected:
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
  void SetStatus(const QString& text);
  // Runs `command`; an error it does not handle goes to the error report.
  void Guarded(const std::function<void()>& command);
  QString RunFileDialog(const FileDialogRequest& request);
  void LoadSource(const QString& path);
  void ConvertWithProgress(long double diameter);

  Settings& settings_;
  Conversion& conversion_;
  std::vector<std::string> arguments_;
  QLabel* statusText_ = nullptr;
  bool shown_ = false;
  // The panes' highlighters; a new one colours every conversion's result.
  std::unique_ptr<TNCSyn> quelleHighlighter_;
  std::unique_ptr<TNCSyn> zielHighlighter_;
};

}  // namespace torvane
