// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: open, convert, save, settings, info, quit.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include <exception>
#include <functional>
#include <utility>
#include <thread>

#include "ConversionTask.h"
#include "EditorPane.h"
#include "FileFilters.h"
#include "TMainform.h"
#include "WarningList.h"
#include "app/text/QtText.h"
#include "app/widgets/ErrorReport.h"
#include "app/widgets/TXPSpeedButton.h"
#include "app/dialogs/TRohteil.h"
#include "conversion/Conversion.h"
#include "highlighter/NCSyn.h"
#include "MainWindowRules.h"
#include "settings/Settings.h"

namespace torvane {
namespace {

QString FromBytes(const std::string& bytes) { return BytesToQString(bytes); }

// Said with the status of a text that a pane shows without colours for its
// size, so that their absence is no riddle.
QString PlainTextNote(const EditorPane& pane) {
  if (!pane.PlainText()) return {};
  return QStringLiteral(" – ohne Farben (über %1 MB)").arg(EditorPane::kPlainTextBytes >> 20);
}

// Keeps the user's hands off the window while a long job runs: input is
// swallowed, painting goes on. Only the way out stays open: Escape, and
// the mouse on the cancel button.
class InputBlocker : public QObject {
 public:
  InputBlocker(QWidget* cancelButton, std::function<void()> cancel)
      : cancelButton_(cancelButton), cancel_(std::move(cancel)) {
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~InputBlocker() override {
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
        if (watched == cancelButton_) return false;
        event->ignore();
        return true;
      case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) cancel_();
        event->ignore();
        return true;
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

 private:
  QWidget* cancelButton_;
  std::function<void()> cancel_;
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
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (!request.title.isEmpty()) dialog.setWindowTitle(request.title);
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
      break;  // the splash came with the window (showEvent)
    case CommandLineRequest::Kind::Clipboard:
      if (!ConfirmUnsavedWork()) break;
      Quelle->Clear();
      sourcePath_.clear();
      // Say so when there was nothing to paste, rather than claim NC data.
      SetStatus(Quelle->PasteFromClipboard()
                    ? QStringLiteral("NC-Daten aus Zwischenablage eingefügt")
                    : QStringLiteral("Zwischenablage enthält keinen Text"));
      // Taken as it came, like a file just loaded.
      Quelle->SetEdited(false);
      break;
    case CommandLineRequest::Kind::File: {
      const QString path = QString::fromStdString(request.path);
      if (!QFileInfo(path).isFile()) break;  // no such file: nothing to do
      LoadSource(path);
      SetStatus("NC-Datei " + QString::fromStdString(request.first) + " geladen" +
                PlainTextNote(*Quelle));
      ClearResult();
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
  sourcePath_ = path;
}

void TMainform::ClearResult() {
  Ziel->Clear();
  ShowWarnings({});
  ShowResultComplete();
}

void TMainform::Button_LadenClick() {
  Guarded([this] {
    if (!ConfirmUnsavedWork()) return;
    const QString path =
        RunFileDialog({FileDialogRequest::Kind::Open, FromBytes(settings_.quell()),
                       {NcProgramFilter(), AllFilesFilter()}, "nc", {},
                       QStringLiteral("NC-Programm öffnen")});
    if (path.isEmpty()) return;
    LoadSource(path);
    SetStatus("NC-Datei " + path + " geladen" + PlainTextNote(*Quelle));
    ClearResult();
  });
}

void TMainform::WandelnClick() {
  Guarded([this] {
    // Cancel means no conversion: the result pane may hold a program the
    // user has not saved yet. The dialog takes only diameters above 0.
    if (Rohteil == nullptr || !Rohteil->Run()) return;
    ConvertWithProgress(Rohteil->Diameter());
  });
}

void TMainform::CancelConversion() {
  if (runningTask_ != nullptr) runningTask_->Cancel();
}

void TMainform::ConvertWithProgress(long double diameter) {
  conversion_.Settings() = settings_.Published();
  // A cancelled run must leave no trace, not even in the state that one
  // run hands to the next (the direction words in force).
  const Conversion before = conversion_;
  ConversionTask task = SourceTask(diameter);
  task.CheckResult();
  runningTask_ = &task;
  {
    InputBlocker blocker(BAbbrechen, [this] { CancelConversion(); });
    const qint64 took = WaitForTask(task, QStringLiteral("Konvertierung läuft ... %1 %"));
    if (!task.CancelRequested()) {
      if (took >= 500) {
        SetStatus(QStringLiteral("Ergebnis wird angezeigt ..."));
        BAbbrechen->show();
        StatusBar->repaint();
      }
      ShowTaskResult(task);
    }
    runningTask_ = nullptr;
    BAbbrechen->hide();
    if (task.CancelRequested()) {
      conversion_ = before;
      SetStatus(QStringLiteral("Konvertierung vom Benutzer abgebrochen – MANTEL unverändert"));
      return;
    }
  }
  Quelle->MarkLine(-1);
  if (task.Error()) {
    // The lines written so far stay for diagnosis, marked as incomplete.
    ShowResultIncomplete(task.ErrorLine());
    if (task.ErrorLine() > 0) ShowSourceLine(task.ErrorLine());
    throw std::runtime_error(*task.Error());
  }
  ShowResultComplete();
  const QString done =
      FromBytes(ConversionDoneText(diameter, task.Warnings().size())) + PlainTextNote(*Ziel);
  // The check has read on while MANTEL filled; what is left is short.
  if (const std::optional<CheckOutcome>& outcome = task.FinishCheck()) {
    ShowCheck(*outcome, done + QStringLiteral(" – "));
  } else {
    SetStatus(done);
  }
}

ConversionTask TMainform::SourceTask(long double diameter) {
  // The source is read straight from its pane, which takes no input until
  // the run is over; an empty pane may still hold one empty line.
  const std::string_view document = Quelle->DocumentText();
  return document.empty()
             ? ConversionTask(conversion_, diameter, Quelle->Lines(), settings_.HeaderLines(),
                              settings_.FooterLines())
             : ConversionTask(conversion_, diameter, document,
                              static_cast<std::size_t>(Quelle->LineCount()),
                              settings_.HeaderLines(), settings_.FooterLines());
}

qint64 TMainform::WaitForTask(ConversionTask& task, const QString& running) {
  QEventLoop loop;
  QElapsedTimer clock;
  clock.start();
  QTimer progress;
  progress.setInterval(200);
  connect(&progress, &QTimer::timeout, this, [&] {
    // Short runs finish before anyone would miss a progress text.
    if (clock.elapsed() < 500 || task.SourceLineCount() == 0 || task.CancelRequested()) return;
    const auto percent = task.LinesDone() * 100 / task.SourceLineCount();
    SetStatus(running.arg(percent));
    BAbbrechen->show();
  });
  progress.start();
  if (WhileConverting) QTimer::singleShot(0, this, WhileConverting);
  std::thread worker([&task, &loop] {
    task.Run();
    QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  progress.stop();
  return clock.elapsed();
}

void TMainform::PruefenClick() {
  Guarded([this] {
    if (Ziel->LineCount() == 0 || (Ziel->LineCount() == 1 && Ziel->LineAt(0).empty())) {
      SetStatus(QStringLiteral("MANTEL ist leer – nichts zu prüfen"));
      return;
    }
    // The diameter the result was written for; a result loaded without a
    // conversion asks for it.
    long double diameter = conversion_.Diameter();
    if (diameter <= 0) {
      if (Rohteil == nullptr || !Rohteil->Run()) return;
      diameter = Rohteil->Diameter();
    }
    // The check converts the source once more without writing anything;
    // that run must leave no trace in the last conversion's state.
    const Conversion before = conversion_;
    conversion_.Settings() = settings_.Published();
    ConversionTask task = SourceTask(diameter);
    task.CheckDocument(Ziel->DocumentText());
    runningTask_ = &task;
    {
      InputBlocker blocker(BAbbrechen, [this] { CancelConversion(); });
      WaitForTask(task, QStringLiteral("Prüfung läuft ... %1 %"));
    }
    runningTask_ = nullptr;
    BAbbrechen->hide();
    conversion_ = before;
    if (task.CancelRequested()) {
      SetStatus(QStringLiteral("Prüfung vom Benutzer abgebrochen"));
      return;
    }
    if (task.Error()) {
      if (task.ErrorLine() > 0) ShowSourceLine(task.ErrorLine());
      SetStatus(QStringLiteral("Prüfung nicht möglich: die Quelle lässt sich nicht wandeln"), true);
      throw std::runtime_error(*task.Error());
    }
    if (task.Outcome()) ShowCheck(*task.Outcome(), QString());
  });
}

void TMainform::ShowTaskResult(ConversionTask& task) {
  // The result goes into a document of its own with a highlighter of its
  // own; the earlier ones stay aside until the last line is in, so that Esc
  // meanwhile leaves MANTEL as it was.
  const std::size_t total = task.TargetLineCount();
  const bool wasIncomplete = resultIncomplete_;
  const QString detail = incompleteDetail_;
  const QString header = Label2->text();
  const std::vector<ConversionWarning> warnings = shownWarnings_;
  auto highlighter = std::make_unique<TNCSyn>();
  EditorPane::KeptDocument kept = Ziel->SetDocumentAside(task.Target().size());
  Ziel->SetHighlighter(highlighter.get());
  // Until every line is in, MANTEL holds part of this result: should putting
  // them in fail, neither the old "complete" nor the old warnings may stay,
  // and saving must ask.
  ShowWarnings(task.Warnings());
  ShowResultNotLoaded(0, total);
  bool whole = false;
  Ziel->setUpdatesEnabled(false);
  try {
    if (AppendResult) {
      AppendResult(task.Target(), total);
      whole = true;
    } else {
      whole = Ziel->AppendJoinedLines(task.Target(), total, [&task] {
        QCoreApplication::processEvents();
        return task.CancelRequested();
      });
    }
  } catch (...) {
    Ziel->setUpdatesEnabled(true);
    Ziel->LetGo(kept);
    zielHighlighter_ = std::move(highlighter);
    ShowResultNotLoaded(static_cast<std::size_t>(Ziel->LineCount()), total);
    SetStatus(QStringLiteral("Ergebnis nicht vollständig angezeigt – MANTEL unvollständig"));
    throw;
  }
  Ziel->setUpdatesEnabled(true);
  if (!whole) {
    Ziel->PutBack(kept);
    Ziel->SetHighlighter(zielHighlighter_.get());
    ShowWarnings(warnings);
    RestoreResultState(wasIncomplete, detail, header);
    return;
  }
  Ziel->LetGo(kept);
  zielHighlighter_ = std::move(highlighter);
}

void TMainform::ShowWarnings(const std::vector<ConversionWarning>& warnings) {
  shownWarnings_ = warnings;
  Warnungen->SetWarnings(warnings);
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
