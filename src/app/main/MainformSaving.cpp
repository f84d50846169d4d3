// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's care for the user's work: saving the result and the
// source, the question before unsaved work is dropped, and pointing at the
// source line a message names.

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

#include "EditorPane.h"
#include "FileFilters.h"
#include "TMainform.h"
#include "app/text/QtText.h"
#include "app/widgets/ErrorReport.h"
#include "readback/ResultCheck.h"
#include "settings/Settings.h"

namespace torvane {

int TMainform::Ask(const Question& question) {
  if (AskUser) return AskUser(this, question);
  QMessageBox box(QMessageBox::Question, ApplicationTitle(), question.text, QMessageBox::NoButton,
                  this);
  box.setInformativeText(question.detail);
  std::vector<QPushButton*> buttons;
  for (const QString& caption : question.buttons)
    buttons.push_back(box.addButton(caption, QMessageBox::ActionRole));
  box.setDefaultButton(buttons[static_cast<std::size_t>(question.preferred)]);
  box.setEscapeButton(buttons[static_cast<std::size_t>(question.cancel)]);
  box.exec();
  for (std::size_t i = 0; i < buttons.size(); ++i)
    if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
  return question.cancel;
}

bool TMainform::ConfirmUnsavedWork() {
  const bool source = Quelle->Edited();
  const bool result = Ziel->Edited();
  if (!source && !result) return true;
  QStringList what;
  if (source) what << QStringLiteral("Das NC-Programm (XYZ) wurde seit dem Laden geändert.");
  if (result) what << QStringLiteral("Das Ergebnis (MANTEL) ist nicht gespeichert.");
  const int answer = Ask({QStringLiteral("Änderungen speichern?"), what.join('\n'),
                          {QStringLiteral("&Speichern"), QStringLiteral("&Verwerfen"),
                           QStringLiteral("&Abbrechen")},
                          2,
                          0});
  if (answer == 1) return true;
  if (answer != 0) return false;
  // A save the user cancels keeps the work, and so the window.
  return (!source || SaveSource()) && (!result || SaveResult());
}

void TMainform::closeEvent(QCloseEvent* event) {
  if (!ConfirmUnsavedWork()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TMainform::PLT_SpeichernClick() { SaveResult(); }

void TMainform::AlsNCDateispeichern1Click() { SaveSource(); }

QString TMainform::SaveFolder(const std::string& setting) const {
  // The folder of the settings, or beside the source when none is set.
  QString folder = BytesToQString(setting);
  if (folder.isEmpty() && !sourcePath_.isEmpty()) folder = QFileInfo(sourcePath_).absolutePath();
  return folder;
}

bool TMainform::SaveResult() {
  bool saved = false;
  Guarded([&] {
    if (Ziel->LineCount() == 0) {
      SetStatus(QStringLiteral("MANTEL ist leer – nichts gespeichert"));
      return;
    }
    if (resultIncomplete_) {
      const int answer =
          Ask({resultCheckFailed_
                   ? QStringLiteral("Die Prüfung des Ergebnisses ist fehlgeschlagen. "
                                    "Trotzdem speichern?")
                   : QStringLiteral("Das Ergebnis ist unvollständig. Trotzdem speichern?"),
               incompleteDetail_,
               {QStringLiteral("Trotzdem &speichern"), QStringLiteral("&Abbrechen")},
               1,
               1});
      if (answer != 0) return;
    }
    // The source's name with the result's extension.
    const QFileInfo source(sourcePath_);
    const QString path = RunFileDialog(
        {FileDialogRequest::Kind::Save, SaveFolder(settings_.ziel()),
         {MantelProgramFilter(), NcProgramFilter(), AllFilesFilter()},
         "min", sourcePath_.isEmpty() ? QString() : source.completeBaseName() + ".min",
         QStringLiteral("Ergebnis MANTEL speichern unter")});
    if (path.isEmpty()) return;
    Ziel->SaveToFile(path);
    Ziel->SetEdited(false);
    SetStatus("NC-Daten (Mantel) in " + path + " gespeichert");
    saved = true;
  });
  return saved;
}

bool TMainform::SaveSource() {
  bool saved = false;
  Guarded([&] {
    const QFileInfo source(sourcePath_);
    // Named in the title: after the question before closing, this dialog
    // and the result's follow each other, and only the title tells them apart.
    const QString path = RunFileDialog(
        {FileDialogRequest::Kind::Save, SaveFolder(settings_.quell()),
         {NcProgramFilter(), AllFilesFilter()}, "nc", source.fileName(),
         QStringLiteral("Quellprogramm XYZ (DIN/ISO) speichern unter")});
    if (path.isEmpty()) return;
    Quelle->SaveToFile(path);
    Quelle->SetEdited(false);
    sourcePath_ = path;
    saved = true;
  });
  return saved;
}

void TMainform::ShowSourceLine(std::size_t line) {
  if (line == 0) return;
  Quelle->MarkLine(static_cast<int>(line) - 1);
  Quelle->setFocus();
}

namespace {

void PaintHeader(QLabel* label, const QColor& colour, const QString& text) {
  QWidget* header = label->parentWidget();
  QPalette palette = header->palette();
  palette.setColor(QPalette::Window, colour);
  header->setPalette(palette);
  label->setText(text);
  label->adjustSize();
}

}  // namespace

void TMainform::ShowResultComplete() {
  resultIncomplete_ = false;
  resultCheckFailed_ = false;
  incompleteDetail_.clear();
  PaintHeader(Label2, QColor(0, 0, 128), QStringLiteral("MANTEL"));
}

void TMainform::ShowResultIncomplete(std::size_t line) {
  resultIncomplete_ = true;
  resultCheckFailed_ = false;
  const QString where = line > 0 ? QStringLiteral(" in Zeile %1").arg(line) : QString();
  incompleteDetail_ =
      QStringLiteral("Die Konvertierung wurde%1 abgebrochen; MANTEL enthält nur die Zeilen bis "
                     "dahin.")
          .arg(where);
  // Dark red instead of navy: the header says it at a glance.
  PaintHeader(Label2, QColor(160, 0, 0),
              QStringLiteral("MANTEL – unvollständig (abgebrochen%1)").arg(where));
  SetStatus(QStringLiteral("Konvertierung abgebrochen%1 – Ergebnis unvollständig").arg(where));
}

void TMainform::ShowCheck(const CheckOutcome& outcome, const QString& before) {
  const QString said = BytesToQString(outcome.Summary(false));
  if (outcome.passed) {
    // A result mended by hand and checked again is whole once more; one
    // that was cut short for another reason stays so.
    if (resultCheckFailed_) ShowResultComplete();
    Ziel->MarkLine(-1);
    SetStatus(before + QStringLiteral("geprüft: ") + said);
    return;
  }
  resultIncomplete_ = true;
  resultCheckFailed_ = true;
  const QString where =
      outcome.resultLine > 0 ? QStringLiteral(" in Zeile %1").arg(outcome.resultLine) : QString();
  incompleteDetail_ = QStringLiteral("Die Prüfung des Ergebnisses ist fehlgeschlagen: ") + said;
  PaintHeader(Label2, QColor(160, 0, 0), QStringLiteral("MANTEL – Prüfung fehlgeschlagen") + where);
  SetStatus(before + QStringLiteral("Prüfung fehlgeschlagen") + where + QStringLiteral(": ") + said,
            true);
  if (outcome.resultLine > 0) {
    // The line marked as an error line is, and shown.
    const int index = static_cast<int>(outcome.resultLine) - 1;
    Ziel->MarkLine(index);
    Ziel->setCursorPosition(index, 0);
    Ziel->ensureLineVisible(index);
  }
}

void TMainform::RestoreResultState(bool incomplete, const QString& detail,
                                   const QString& header) {
  resultIncomplete_ = incomplete;
  incompleteDetail_ = detail;
  PaintHeader(Label2, incomplete ? QColor(160, 0, 0) : QColor(0, 0, 128), header);
}

void TMainform::ShowResultNotLoaded(std::size_t shown, std::size_t total) {
  resultIncomplete_ = true;
  resultCheckFailed_ = false;
  incompleteDetail_ =
      QStringLiteral("MANTEL enthält nur %1 der %2 Zeilen des Ergebnisses.").arg(shown).arg(total);
  PaintHeader(Label2, QColor(160, 0, 0),
              QStringLiteral("MANTEL – unvollständig (%1 von %2 Zeilen)").arg(shown).arg(total));
}

}  // namespace torvane
