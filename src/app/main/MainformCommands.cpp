// The main window's commands: open, convert, save, settings, info, quit.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QStatusBar>
#include <QTimer>

#include <exception>
#include <thread>

#include "ConversionTask.h"
#include "EditorPane.h"
#include "TMainform.h"
#include "app/text/QtText.h"
#include "app/widgets/ErrorReport.h"
#include "app/dialogs/TRohteil.h"
#include "conversion/Conversion.h"
#include "highlighter/NCSyn.h"
#include "settings/MainWindowRules.h"
#include "settings/Settings.h"

namespace torvane {
namespace {

QString FromBytes(const std::string& bytes) { return BytesToQString(bytes); }

// Keeps the user's hands off the window while a long job runs: input is
// swallowed, painting goes on.
class InputBlocker : public QObject {
 public:
  InputBlocker() {
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~InputBlocker() override {
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
      case QEvent::Close:
        event->ignore();
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

void TMainform::Guarded(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    // The program's messages are Windows-1252 text, like its files.
    ShowErrorReport(this, FromBytes(error.what()));
  }
}

QString TMainform::RunFileDialog(const FileDialogRequest& request) {
  if (FileDialog) return FileDialog(this, request);
  QFileDialog dialog(this);
  dialog.setAcceptMode(request.kind == FileDialogRequest::Kind::Open ? QFileDialog::AcceptOpen
                                                                     : QFileDialog::AcceptSave);
  dialog.setFileMode(request.kind == FileDialogRequest::Kind::Open ? QFileDialog::ExistingFile
                                                                   : QFileDialog::AnyFile);
  dialog.setNameFilters(request.filters);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.directory.isEmpty()) dialog.setDirectory(request.directory);
  // Saving asks before it replaces a file: a converted program may be all
  // that is left of an afternoon's work.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void TMainform::HandleCommandLine() {
  const CommandLineRequest request = ReadCommandLine(arguments_);
  switch (request.kind) {
    case CommandLineRequest::Kind::Splash:
      if (ShowSplash) ShowSplash();
      break;
    case CommandLineRequest::Kind::Clipboard:
      Quelle->Clear();
      // Say so when there was nothing to paste, rather than claim NC data.
      SetStatus(Quelle->PasteFromClipboard()
                    ? QStringLiteral("NC-Daten aus Zwischenablage eingefügt")
                    : QStringLiteral("Zwischenablage enthält keinen Text"));
      break;
    case CommandLineRequest::Kind::File: {
      const QString path = QString::fromStdString(request.path);
      if (!QFileInfo(path).isFile()) break;  // no such file: nothing to do
      LoadSource(path);
      SetStatus("NC-Datei " + QString::fromStdString(request.first) + " geladen");
      Ziel->Clear();
      break;
    }
  }
}

void TMainform::LoadSource(const QString& path) {
  // The pane reads the whole file before it replaces anything, so a file
  // that cannot be read leaves the user's source as it was.
  const QString previousStatus = StatusText();
  SetStatus("NC-Datei " + path + " wird geladen ...");
  StatusBar->repaint();
  try {
    Quelle->LoadFromFile(path);
  } catch (...) {
    SetStatus(previousStatus);
    throw;
  }
}

void TMainform::Button_LadenClick() {
  Guarded([this] {
    const QString path =
        RunFileDialog({FileDialogRequest::Kind::Open, FromBytes(settings_.quell()),
                       {"*.nc (*.nc)", "*.cnc (*.cnc)", "*.* (*)"}, "nc"});
    if (path.isEmpty()) return;
    LoadSource(path);
    SetStatus("NC-Datei " + path + " geladen");
    Ziel->Clear();
  });
}

void TMainform::WandelnClick() {
  Guarded([this] {
    // Cancel means no conversion: the result pane may hold a program the
    // user has not saved yet.
    if (Rohteil == nullptr || !Rohteil->Run()) return;
    const long double diameter = Rohteil->Diameter();
    if (diameter == 0) return;
    auto highlighter = std::make_unique<TNCSyn>();
    Ziel->SetHighlighter(highlighter.get());
    zielHighlighter_ = std::move(highlighter);
    Ziel->Clear();
    ConvertWithProgress(diameter);
  });
}

void TMainform::ConvertWithProgress(long double diameter) {
  conversion_.Settings() = settings_.Published();
  ConversionTask task(conversion_, diameter, Quelle->Lines(), settings_.HeaderLines(),
                      settings_.FooterLines());
  {
    InputBlocker blocker;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QTimer progress;
    progress.setInterval(200);
    connect(&progress, &QTimer::timeout, this, [&] {
      // Short runs finish before anyone would miss a progress text.
      if (clock.elapsed() < 500 || task.SourceLineCount() == 0) return;
      const auto percent = task.LinesDone() * 100 / task.SourceLineCount();
      SetStatus(QStringLiteral("Konvertierung läuft ... %1 %").arg(percent));
    });
    progress.start();
    std::thread worker([&task, &loop] {
      task.Run();
      QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (clock.elapsed() >= 500) {
      SetStatus(QStringLiteral("Ergebnis wird angezeigt ..."));
      StatusBar->repaint();
    }
    Ziel->AppendJoinedLines(task.TargetText(), task.TargetLineCount());
  }
  if (task.Error()) {
    SetStatus({});
    throw std::runtime_error(*task.Error());
  }
  SetStatus(QStringLiteral("Konvertierung beendet"));
}

void TMainform::PLT_SpeichernClick() {
  Guarded([this] {
    const QString path =
        RunFileDialog({FileDialogRequest::Kind::Save, FromBytes(settings_.ziel()),
                       {"*.min (*.min)", "*.nc (*.nc)", "*.* (*)"}, "min"});
    if (path.isEmpty()) return;
    Ziel->SaveToFile(path);
    SetStatus("NC-Daten (Mantel) in " + path + " gespeichert");
  });
}

void TMainform::AlsNCDateispeichern1Click() {
  Guarded([this] {
    const QString path = RunFileDialog({FileDialogRequest::Kind::Save,
                                        FromBytes(settings_.quell()),
                                        {"*.nc (*.nc)", "*.* (*)"}, "nc"});
    if (path.isEmpty()) return;
    Quelle->SaveToFile(path);
  });
}

void TMainform::Button_EinstellungenClick() {
  Guarded([this] {
    if (ShowSettings) ShowSettings();
  });
}

void TMainform::Info1Click() {
  Guarded([this] {
    if (ShowInfo) ShowInfo();
  });
}

void TMainform::Beenden1Click() { close(); }

}  // namespace torvane
