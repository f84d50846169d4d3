// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real main window: command line, open, convert, save, the
// cylinder dialog and the error report, with file dialogs and message boxes
// answered by the test.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "EditorPane.h"
#include "ConversionTask.h"
#include "TMainform.h"
#include "WarningList.h"
#include "app/text/QtText.h"
#include "app/widgets/TXPSpeedButton.h"
#include "app/widgets/ErrorReport.h"
#include "app/dialogs/TRohteil.h"
#include "conversion/Conversion.h"
#include "settings/Settings.h"

using namespace torvane;

namespace {

void WriteFile(const QString& path, const std::string& content) {
  std::ofstream(path.toStdString(), std::ios::binary) << content;
}

std::string ReadFile(const QString& path) {
  std::ifstream file(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// One program run: settings folder, windows, captured error reports.
struct Program {
  QTemporaryDir dir;
  std::unique_ptr<Settings> settings;
  Conversion conversion;
  std::unique_ptr<TMainform> mainform;
  std::unique_ptr<TRohteil> rohteil;
  QStringList errors;
  int splashes = 0;
  QString dialogAnswer;  // what the next file dialog returns
  FileDialogRequest lastRequest;
  int fileDialogs = 0;
  QStringList questions;  // text, then detail, of every question asked
  QStringList answers;    // captions (without "&") to choose, in turn

  explicit Program(std::vector<std::string> arguments = {"-"}) {
    for (const char* name : {"main.ini", "vorspann.plt", "nachspann.plt"})
      std::filesystem::copy_file(std::string(TORVANE_DEFAULTS_DIR) + name,
                                 dir.filePath(name).toStdString());
    settings = std::make_unique<Settings>(dir.path().toStdString());
    mainform = std::make_unique<TMainform>(*settings, conversion);
    rohteil = std::make_unique<TRohteil>(mainform.get());
    mainform->Rohteil = rohteil.get();
    mainform->ShowSplash = [this] { ++splashes; };
    mainform->FileDialog = [this](QWidget*, const FileDialogRequest& request) {
      ++fileDialogs;
      lastRequest = request;
      return dialogAnswer;
    };
    mainform->AskUser = [this](QWidget*, const Question& question) {
      questions << question.text << question.detail;
      const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
      for (int i = 0; i < question.buttons.size(); ++i)
        if (QString(question.buttons[i]).remove('&') == answer) return i;
      return question.cancel;
    };
    SetErrorReportHook([this](QWidget*, const QString& message) { errors << message; });
    if (arguments != std::vector<std::string>{"-"}) mainform->SetArguments(arguments);
    mainform->FormShow();
  }
  ~Program() { SetErrorReportHook({}); }

  // Answers the cylinder dialog: types `text` and accepts, or cancels when
  // `text` is null; an invalid text is followed by a cancel.
  void Convert(const char* text) {
    QTimer::singleShot(0, [this, text] {
      if (text == nullptr) {
        rohteil->AbbruchClick();
        return;
      }
      rohteil->ZYL2_R->setText(text);
      rohteil->XPSpeedButton3Click();
      if (rohteil->isVisible()) rohteil->AbbruchClick();
    });
    mainform->WandelnClick();
  }
};

}  // namespace

class MainformTest : public QObject {
  Q_OBJECT

 private slots:
  void commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("splashes");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("createFile");

    QTest::newRow("none: splash") << QStringList{} << "" << 1 << "" << "" << false;
    QTest::newRow("/C with text") << QStringList{"/C"} << "G1 X5" << 0
                                  << QStringLiteral("NC-Daten aus Zwischenablage eingefügt")
                                  << "G1 X5" << false;
    QTest::newRow("/C without text") << QStringList{"/C"} << "" << 0
                                     << QStringLiteral("Zwischenablage enthält keinen Text")
                                     << "" << false;
    QTest::newRow("/c is a file name") << QStringList{"/c"} << "G1 X5" << 0 << "" << ""
                                       << false;
    QTest::newRow("/C and x") << QStringList{"/C", "x"} << "G1 X5" << 0 << "" << "" << false;
    QTest::newRow("unknown name") << QStringList{"nowhere.nc"} << "" << 0 << "" << "" << false;
    QTest::newRow("quoted path with blanks")
        << QStringList{"@/my part.nc"} << "" << 0 << "NC-Datei @/my part.nc geladen"
        << "G0 X1" << true;
  }

  void commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, clipboard);
    QFETCH(int, splashes);
    QFETCH(QString, status);
    QFETCH(QString, source);
    QFETCH(bool, createFile);

    QTemporaryDir files;
    std::vector<std::string> args;
    for (QString argument : arguments) {
      argument.replace("@", files.path());
      args.push_back(argument.toStdString());
    }
    if (createFile) WriteFile(files.filePath("my part.nc"), "G0 X1\r\n");
    status.replace("@", files.path());
    QApplication::clipboard()->setText(clipboard);

    Program program(args);
    program.mainform->show();  // the splash comes with the window
    QCOMPARE(program.splashes, splashes);
    QCOMPARE(program.mainform->StatusText(), status);
    QCOMPARE(QString::fromStdString(program.mainform->Quelle->LineAt(0)), source);
    QVERIFY(program.errors.isEmpty());
  }

  void openAndCancel() {
    Program program;
    program.mainform->Quelle->SetLines({"G1 X1"});
    program.mainform->Ziel->SetLines({"result"});
    program.dialogAnswer = "";
    program.mainform->Button_LadenClick();
    QCOMPARE(program.mainform->Quelle->LineAt(0), std::string("G1 X1"));
    QCOMPARE(program.mainform->Ziel->LineAt(0), std::string("result"));
    QCOMPARE(program.mainform->StatusText(), QString());
    QCOMPARE(program.lastRequest.filters,
             (QStringList{"NC-Programme (*.nc *.cnc)", "Alle Dateien (*)"}));
  }

  void openLoadsAndClearsTheResult() {
    Program program;
    QTemporaryDir files;
    const QString path = files.filePath("part.nc");
    WriteFile(path, "G0 X1\nG1 Y2\n");
    program.mainform->Ziel->SetLines({"result"});
    program.dialogAnswer = path;
    program.mainform->Button_LadenClick();
    QCOMPARE(program.mainform->Quelle->Lines(), (std::vector<std::string>{"G0 X1", "G1 Y2"}));
    QCOMPARE(program.mainform->Ziel->LineCount(), 0);
    QCOMPARE(program.mainform->StatusText(), "NC-Datei " + path + " geladen");
  }

  void failedOpenKeepsTheSource() {
    Program program;
    program.mainform->Quelle->SetLines({"unsaved work"});
    program.mainform->Ziel->SetLines({"result"});
    program.dialogAnswer = "/no/such/file.nc";
    program.mainform->Button_LadenClick();
    QCOMPARE(program.errors,
             QStringList{QStringLiteral("Datei /no/such/file.nc kann nicht geöffnet werden.")});
    QCOMPARE(program.mainform->Quelle->LineAt(0), std::string("unsaved work"));
    QCOMPARE(program.mainform->Ziel->LineAt(0), std::string("result"));
  }

  void convert_data() {
    QTest::addColumn<QString>("typed");  // "<cancel>" cancels
    QTest::addColumn<QStringList>("result");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("errors");

    QTest::newRow("accept 100") << "100" << QStringList{"G01 Z10.000 X102.000 C0.000 M15"}
                                << QStringLiteral("Konvertierung beendet (Ø 100) – geprüft: Abweichung "
                                                   "höchstens 0,0000 mm")
                                << QStringList{};
    QTest::newRow("accept 63.5") << "63.5" << QStringList{"G01 Z10.000 X65.500 C0.000 M15"}
                                 << QStringLiteral("Konvertierung beendet (Ø 63,5) – geprüft: Abweichung "
                                                   "höchstens 0,0000 mm")
                                 << QStringList{};
    QTest::newRow("accept 50,5") << "50,5" << QStringList{"G01 Z10.000 X52.500 C0.000 M15"}
                                 << QStringLiteral("Konvertierung beendet (Ø 50,5) – geprüft: Abweichung "
                                                   "höchstens 0,0000 mm")
                                 << QStringList{};
    QTest::newRow("-40 refused") << "-40" << QStringList{"previous"} << ""
                                 << QStringList{QStringLiteral(
                                        "Der Durchmesser muss größer als 0 sein.")};
    QTest::newRow("cancel keeps the result") << "<cancel>" << QStringList{"previous"} << ""
                                             << QStringList{};
    QTest::newRow("0 refused") << "0" << QStringList{"previous"} << ""
                               << QStringList{QStringLiteral(
                                      "Der Durchmesser muss größer als 0 sein.")};
    QTest::newRow("empty field") << "" << QStringList{"previous"} << ""
                                 << QStringList{QStringLiteral(
                                        "'' ist kein gültiger Gleitkommawert.")};
  }

  void convert() {
    QFETCH(QString, typed);
    QFETCH(QStringList, result);
    QFETCH(QString, status);
    QFETCH(QStringList, errors);

    Program program;
    program.mainform->Quelle->SetLines({"G1 X10 Y0 Z2"});
    program.mainform->Ziel->SetLines({"previous"});
    const QByteArray text = typed.toUtf8();
    program.Convert(typed == "<cancel>" ? nullptr : text.constData());
    QStringList got;
    for (const std::string& line : program.mainform->Ziel->Lines())
      got << QString::fromStdString(line);
    QCOMPARE(got, result);
    QCOMPARE(program.mainform->StatusText(), status);
    QCOMPARE(program.errors, errors);
  }

  void emptySourceGivesHeaderThenFooterByteForByte() {
    Program program;
    program.settings->Controls().SetEVorspann("%\r\n\r\n(\xC4\xD6\xDC \x80\x81)");
    program.settings->Controls().SetENachspann("M30\r\n");
    program.Convert("100");
    QCOMPARE(program.mainform->Ziel->Lines(),
             (std::vector<std::string>{"%", "", "(\xC4\xD6\xDC \x80\x81)", "M30"}));
    QCOMPARE(program.mainform->StatusText(),
             QStringLiteral("Konvertierung beendet (Ø 100) – geprüft: Abweichung höchstens 0,0000 mm"));
    QVERIFY(program.mainform->Warnungen->isHidden());
  }

  // The lines written before the error stay, marked incomplete; the caret
  // stands on the source line the error names, which is marked.
  void conversionErrorShowsTheLinesSoFar() {
    Program program;
    program.mainform->Quelle->SetLines({"G1 X10 Y0", "G2 X0 Y-10 R0", "G1 X5"});
    program.Convert("100");
    QCOMPARE(program.mainform->Ziel->Lines(),
             (std::vector<std::string>{"G01 Z10.000 C0.000 M15"}));
    QCOMPARE(program.errors,
             QStringList{QStringLiteral("Zeile 2: Kreisbogen mit Radius 0 (R0).")});
    QCOMPARE(program.mainform->StatusText(),
             QStringLiteral("Konvertierung abgebrochen in Zeile 2 – Ergebnis unvollständig"));
    QCOMPARE(program.mainform->Label2->text(),
             QStringLiteral("MANTEL – unvollständig (abgebrochen in Zeile 2)"));
    QCOMPARE(program.mainform->Quelle->MarkedLine(), 1);
    int line = -1, column = -1;
    program.mainform->Quelle->getCursorPosition(&line, &column);
    QCOMPARE(line, 1);
    QCOMPARE(column, 0);

    // The next run that ends clears the mark and the note.
    program.mainform->Quelle->SetLines({"G1 X10 Y0"});
    program.mainform->Quelle->MarkLine(0);
    program.Convert("100");
    QCOMPARE(program.mainform->Quelle->MarkedLine(), -1);
    QCOMPARE(program.mainform->Label2->text(), QStringLiteral("MANTEL"));
  }

  void saveIncompleteResultAsks_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("Trotzdem speichern") << "Trotzdem speichern" << true;
    QTest::newRow("Abbrechen") << "Abbrechen" << false;
  }

  void saveIncompleteResultAsks() {
    QFETCH(QString, answer);
    QFETCH(bool, written);
    Program program;
    QTemporaryDir files;
    program.mainform->Quelle->SetLines({"G1 X10 Y0", "G2 X0 Y-10"});
    program.Convert("100");
    program.answers << answer;
    program.dialogAnswer = files.filePath("out.min");
    program.mainform->PLT_SpeichernClick();
    QCOMPARE(program.questions,
             (QStringList{QStringLiteral("Das Ergebnis ist unvollständig. Trotzdem speichern?"),
                          QStringLiteral("Die Konvertierung wurde in Zeile 2 abgebrochen; MANTEL "
                                         "enthält nur die Zeilen bis dahin.")}));
    QCOMPARE(QFile::exists(program.dialogAnswer), written);
    if (written)
      QCOMPARE(ReadFile(program.dialogAnswer), std::string("G01 Z10.000 C0.000 M15\r\n"));
  }

  // A result that cannot be put into MANTEL whole is marked incomplete with
  // how much of it is there, the earlier warnings go, and saving asks.
  void failedAppendLeavesTheResultIncomplete() {
    Program program;
    QTemporaryDir files;
    program.mainform->Quelle->SetLines({"G1 X0 Y0", "G2 X20 Y0 R5"});  // a warning
    program.Convert("100");
    QCOMPARE(program.mainform->Warnungen->count(), 1);
    program.mainform->Quelle->SetLines({"G1 X10 Y0", "G2 X0 Y-10 R10"});
    program.mainform->AppendResult = [&](const SpillText&, std::size_t) {
      program.mainform->Ziel->AppendLines({"G01 Z10.000 C0.000 M15"});
      throw std::runtime_error("Nicht genug Arbeitsspeicher");
    };
    program.Convert("100");
    QCOMPARE(program.errors, QStringList{QStringLiteral("Nicht genug Arbeitsspeicher.")});
    QCOMPARE(program.mainform->Label2->text(),
             QStringLiteral("MANTEL – unvollständig (1 von 10 Zeilen)"));
    QCOMPARE(program.mainform->Warnungen->count(), 0);
    program.answers << "Abbrechen";
    program.dialogAnswer = files.filePath("out.min");
    program.mainform->PLT_SpeichernClick();
    QCOMPARE(program.questions,
             (QStringList{QStringLiteral("Das Ergebnis ist unvollständig. Trotzdem speichern?"),
                          QStringLiteral("MANTEL enthält nur 1 der 10 Zeilen des Ergebnisses.")}));
    QVERIFY(!QFile::exists(program.dialogAnswer));
  }

  // A result edited by hand and checked again: off the path it is marked
  // like an incomplete one and saving asks; mended, it is whole again.
  void checkAfterHandEdits() {
    Program program;
    QTemporaryDir files;
    program.mainform->Quelle->SetLines({"G1 X10 Y0", "G2 X0 Y-10 R10"});
    program.Convert("100");
    std::vector<std::string> lines = program.mainform->Ziel->Lines();
    const std::string converted = lines.at(2);
    const std::size_t at = converted.find(" C") + 2;
    lines[2] = converted.substr(0, at) + "1" + converted.substr(at);  // 100 degrees further
    program.mainform->Ziel->SetLines(lines);
    program.mainform->PruefenClick();
    QVERIFY2(program.mainform->StatusText().startsWith(
                 QStringLiteral("Prüfung fehlgeschlagen in Zeile 3: Zeile 3 des Ergebnisses liegt ")),
             qPrintable(program.mainform->StatusText()));
    QCOMPARE(program.mainform->Label2->text(),
             QStringLiteral("MANTEL – Prüfung fehlgeschlagen in Zeile 3"));
    QCOMPARE(program.mainform->Ziel->MarkedLine(), 2);
    program.answers << "Abbrechen";
    program.dialogAnswer = files.filePath("out.min");
    program.mainform->PLT_SpeichernClick();
    QCOMPARE(program.questions.value(0),
             QStringLiteral("Die Prüfung des Ergebnisses ist fehlgeschlagen. Trotzdem speichern?"));
    QVERIFY(!QFile::exists(program.dialogAnswer));

    lines[2] = converted;
    program.mainform->Ziel->SetLines(lines);
    program.mainform->PruefenClick();
    QVERIFY2(program.mainform->StatusText().startsWith(QStringLiteral("geprüft: Abweichung höchstens")),
             qPrintable(program.mainform->StatusText()));
    QCOMPARE(program.mainform->Label2->text(), QStringLiteral("MANTEL"));
    QCOMPARE(program.errors, QStringList{});
  }

  void saveEmptyResultIsRefused() {
    Program program;
    program.mainform->PLT_SpeichernClick();
    QCOMPARE(program.fileDialogs, 0);
    QCOMPARE(program.mainform->StatusText(), QStringLiteral("MANTEL ist leer – nichts gespeichert"));
  }

  // Closing, and opening another file, ask before unsaved work is dropped.
  void unsavedWorkAsks_data() {
    QTest::addColumn<QString>("command");  // "close" or "open"
    QTest::addColumn<bool>("editSource");
    QTest::addColumn<bool>("convert");      // a result not saved yet
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("saveAs");    // what the save dialog returns
    QTest::addColumn<QString>("detail");    // empty: no question
    QTest::addColumn<bool>("goesOn");

    const QString source = QStringLiteral("Das NC-Programm (XYZ) wurde seit dem Laden geändert.");
    const QString result = QStringLiteral("Das Ergebnis (MANTEL) ist nicht gespeichert.");
    QTest::newRow("close, nothing unsaved") << "close" << false << false << "" << "" << "" << true;
    QTest::newRow("close, edited, Abbrechen")
        << "close" << true << false << "Abbrechen" << "" << source << false;
    QTest::newRow("close, edited, Verwerfen")
        << "close" << true << false << "Verwerfen" << "" << source << true;
    QTest::newRow("close, both, Verwerfen")
        << "close" << true << true << "Verwerfen" << "" << source + "\n" + result << true;
    QTest::newRow("close, result, Speichern")
        << "close" << false << true << "Speichern" << "out.min" << result << true;
    QTest::newRow("close, result, Speichern, save dialog cancelled")
        << "close" << false << true << "Speichern" << "" << result << false;
    QTest::newRow("open, result saved") << "open" << false << false << "" << "" << "" << true;
    QTest::newRow("open, result, Abbrechen")
        << "open" << false << true << "Abbrechen" << "" << result << false;
    QTest::newRow("open, edited, Verwerfen")
        << "open" << true << false << "Verwerfen" << "" << source << true;
  }

  void unsavedWorkAsks() {
    QFETCH(QString, command);
    QFETCH(bool, editSource);
    QFETCH(bool, convert);
    QFETCH(QString, answer);
    QFETCH(QString, saveAs);
    QFETCH(QString, detail);
    QFETCH(bool, goesOn);

    QTemporaryDir files;
    const QString loaded = files.filePath("part.nc");
    const QString other = files.filePath("other.nc");
    WriteFile(loaded, "G1 X10 Y0\n");
    WriteFile(other, "G1 X20 Y0\n");
    Program program({loaded.toStdString()});
    program.mainform->show();
    QApplication::processEvents();  // the show's own start-up, before any edit
    if (editSource) program.mainform->Quelle->insert("(x)");
    if (convert) program.Convert("100");
    program.answers << answer;
    program.dialogAnswer = saveAs.isEmpty() ? QString() : files.filePath(saveAs);
    if (command == "close") {
      QCOMPARE(program.mainform->close(), goesOn);
      QCOMPARE(program.mainform->isVisible(), !goesOn);
    } else {
      // The save dialog is not asked here, the open dialog answers.
      program.dialogAnswer = other;
      program.mainform->Button_LadenClick();
      QCOMPARE(program.mainform->Quelle->LineAt(0), std::string(goesOn ? "G1 X20 Y0" : "G1 X10 Y0"));
    }
    QCOMPARE(program.questions.size(), detail.isEmpty() ? 0 : 2);
    if (!detail.isEmpty()) {
      QCOMPARE(program.questions[0], QStringLiteral("Änderungen speichern?"));
      QCOMPARE(program.questions[1], detail);
    }
    if (!saveAs.isEmpty())
      QCOMPARE(ReadFile(files.filePath(saveAs)), std::string("G01 Z10.000 C0.000 M15\r\n"));
  }

  // A running conversion stops on Escape or on the status bar's button;
  // the result pane and the state one run hands to the next stay as they
  // were.
  void cancelRunningConversion_data() {
    QTest::addColumn<bool>("byButton");
    QTest::newRow("Escape") << false;
    QTest::newRow("Abbrechen in the status bar") << true;
  }

  void cancelRunningConversion() {
    QFETCH(bool, byButton);
    Program program;
    program.mainform->show();
    std::vector<std::string> source;
    for (int i = 0; i < 200000; ++i) source.push_back("G1 X1 Y" + std::to_string(i % 50));
    program.mainform->Quelle->SetLines(source);
    program.mainform->Ziel->SetLines({"previous"});
    program.mainform->WhileConverting = [&] {
      if (byButton)
        QTest::mouseClick(program.mainform->BAbbrechen, Qt::LeftButton);
      else
        QTest::keyClick(program.mainform.get(), Qt::Key_Escape);
    };
    program.Convert("100");
    program.mainform->WhileConverting = nullptr;
    QCOMPARE(program.mainform->Ziel->Lines(), std::vector<std::string>{"previous"});
    QCOMPARE(program.mainform->StatusText(),
             QStringLiteral("Konvertierung vom Benutzer abgebrochen – MANTEL unverändert"));
    QVERIFY(program.errors.isEmpty());
    QVERIFY(program.mainform->BAbbrechen->isHidden());

    // The next run converts as the first run of a program does.
    program.mainform->Quelle->SetLines({"G1 X10 Y0 Z2"});
    program.Convert("100");
    QCOMPARE(program.mainform->Ziel->Lines(),
             std::vector<std::string>{"G01 Z10.000 X102.000 C0.000 M15"});
  }

  void warningsShowTheirLines() {
    Program program;
    program.mainform->show();
    program.mainform->Quelle->SetLines({"G20", "G1 X1", "G1 X2", "G1 X3"});
    WarningList* list = program.mainform->Warnungen;
    list->SetWarnings({{1, "Zoll-Programm"}, {3, "Radius zu kurz f\xFCr die Sehne"}});
    QVERIFY(list->isVisible());
    QCOMPARE(list->item(1)->text(), QStringLiteral("Zeile 3: Radius zu kurz für die Sehne"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(program.mainform->Quelle->MarkedLine(), 2);
    int line = -1, column = -1;
    program.mainform->Quelle->getCursorPosition(&line, &column);
    QCOMPARE(line, 2);
    list->SetWarnings({});
    QVERIFY(list->isHidden());
  }

  // The conversion reads the source pane's document directly; it must see
  // exactly the lines the pane gives, whatever the file's breaks and code
  // page.
  void sourceFromTheDocumentAsFromItsLines_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("LF") << QByteArray("G1 X10 Y0 Z2\nG1 X20 Y5\n");
    QTest::newRow("CR LF, no final break") << QByteArray("G1 X10 Y0 Z2\r\n\r\nG1 X20 Y5");
    QTest::newRow("lone CR") << QByteArray("G1 X10 Y0\rG1 X20 Y5\r\r");
    QTest::newRow("Windows-1252") << QByteArray("(M\xFCller \x80)\r\nG1 X10 Y0\r\n");
    QTest::newRow("UTF-8") << QByteArray("(M\xC3\xBCller \xE2\x82\xAC \xE2\x84\xA2)\nG1 X10 Y0\n");
    QTest::newRow("error on line 2") << QByteArray("G1 X10 Y0\nG2 X20 Y0 R1\nG1 X0\n");
  }

  void sourceFromTheDocumentAsFromItsLines() {
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const QString path = dir.filePath("source.nc");
    WriteFile(path, file.toStdString());
    EditorPane pane;
    pane.LoadFromFile(path);
    Conversion byLines, byDocument;
    ConversionTask want(byLines, 100, pane.Lines(), {"%"}, {"M30"});
    ConversionTask got(byDocument, 100, pane.DocumentText(), std::size_t(pane.LineCount()), {"%"},
                       {"M30"});
    want.Run();
    got.Run();
    QCOMPARE(got.Target().ToString(), want.Target().ToString());
    QCOMPARE(got.TargetLineCount(), want.TargetLineCount());
    QCOMPARE(got.Error(), want.Error());
    QCOMPARE(got.ErrorLine(), want.ErrorLine());
    QCOMPARE(got.SourceLineCount(), want.SourceLineCount());
  }

  void conversionDoneText_data() {
    QTest::addColumn<double>("diameter");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<QString>("text");
    QTest::newRow("no warnings") << 63.5 << 0 << QStringLiteral("Konvertierung beendet (Ø 63,5)");
    QTest::newRow("one") << 100.0 << 1 << QStringLiteral("Konvertierung beendet (Ø 100), 1 Warnung");
    QTest::newRow("three")
        << 0.25 << 3 << QStringLiteral("Konvertierung beendet (Ø 0,25), 3 Warnungen");
  }

  void conversionDoneText() {
    QFETCH(double, diameter);
    QFETCH(int, warnings);
    QFETCH(QString, text);
    QCOMPARE(BytesToQString(ConversionDoneText(diameter, std::size_t(warnings))), text);
  }

  void savedNumberFormatAppliesToTheNextConversion() {
    Program program;
    program.mainform->Quelle->SetLines({"G1 X10 Y0"});
    program.settings->Controls().SetDown(ToggleControl::EENNullen, false);
    program.settings->SaveSettings();
    program.Convert("100");
    QCOMPARE(program.mainform->Ziel->LineAt(0), std::string("G01 Z10 C0 M15"));
  }

  void saveResultWritesCrLf() {
    Program program;
    QTemporaryDir files;
    program.mainform->Ziel->SetLines({"G01 Z1", "M30"});
    program.dialogAnswer = files.filePath("out.min");
    program.mainform->PLT_SpeichernClick();
    QCOMPARE(ReadFile(program.dialogAnswer), std::string("G01 Z1\r\nM30\r\n"));
    QCOMPARE(program.mainform->StatusText(),
             "NC-Daten (Mantel) in " + program.dialogAnswer + " gespeichert");
    QCOMPARE(program.lastRequest.defaultSuffix, QString("min"));
    QCOMPARE(program.lastRequest.fileName, QString());  // no source file: no name
  }

  // The save dialogs propose the source file's name, the result with
  // ".min", in the source's folder when no folder is set.
  void saveDialogsProposeTheSourceName() {
    QTemporaryDir files;
    const QString loaded = files.filePath("welle.links.nc");
    WriteFile(loaded, "G1 X10 Y0\n");
    Program program({loaded.toStdString()});
    program.Convert("100");
    program.mainform->PLT_SpeichernClick();
    QCOMPARE(program.lastRequest.fileName, QString("welle.links.min"));
    QCOMPARE(program.lastRequest.directory, files.path());
    program.mainform->AlsNCDateispeichern1Click();
    QCOMPARE(program.lastRequest.fileName, QString("welle.links.nc"));
  }

  void panesSplitEvenly() {
    Program program;
    program.mainform->show();
    // Find a window width that gives the main area 801 pixels (wider than
    // the narrowest window the toolbar allows).
    QSplitter* haupt = program.mainform->Panel_Haupt;
    program.mainform->resize(700, 500);
    QApplication::processEvents();
    const int extra = program.mainform->width() - haupt->contentsRect().width();
    program.mainform->resize(801 + extra, 500);
    QApplication::processEvents();
    QCOMPARE(haupt->contentsRect().width(), 801);
    QCOMPARE(haupt->sizes().at(0), 400);
  }

  // At its narrowest the window shows every toolbar button whole, side by
  // side, whatever room their captions need in the face at hand.
  void toolbarFitsAtTheMinimumWidth_data() {
    QTest::addColumn<int>("pixelSize");  // 0: the window's own face
    QTest::newRow("own face") << 0;
    QTest::newRow("captions wider than the common width") << 17;
  }

  void toolbarFitsAtTheMinimumWidth() {
    QFETCH(int, pixelSize);
    Program program;
    TMainform& form = *program.mainform;
    if (pixelSize > 0) {
      QFont font = form.font();
      font.setPixelSize(pixelSize);
      form.setFont(font);
    }
    form.show();
    QApplication::processEvents();
    form.resize(100, 300);
    QApplication::processEvents();
    QCOMPARE(form.width(), form.minimumWidth());
    QVERIFY(form.minimumWidth() >= 540);
    const QList<TXPSpeedButton*> buttons = {form.XPSpeedButton1, form.XPSpeedButton3,
                                            form.XPSpeedButton2, form.Button_Einstellungen,
                                            form.Button_Vorschau};
    QList<QWidget*> row;
    for (TXPSpeedButton* button : buttons) {
      QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->Caption()));
      row << button;
    }
    row << form.Panel1;
    for (int i = 1; i < row.size(); ++i)
      QVERIFY2(row[i - 1]->geometry().right() < row[i]->x(), qPrintable(QString::number(i)));
    QVERIFY(row.last()->geometry().right() < form.Panel2->width());
  }

  // Every file dialog says in its title what it opens or which pane it
  // saves, and offers the files by their names. Saving before closing
  // brings two save dialogs in a row, told apart only by their titles.
  void fileDialogsSayWhatTheyAreFor_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("filters");  // of the first dialog
    const QString nc = QStringLiteral("NC-Programme (*.nc *.cnc)");
    const QString all = QStringLiteral("Alle Dateien (*)");
    const QString source = QStringLiteral("Quellprogramm XYZ (DIN/ISO) speichern unter");
    const QString result = QStringLiteral("Ergebnis MANTEL speichern unter");
    QTest::newRow("open") << "open" << QStringList{QStringLiteral("NC-Programm öffnen")}
                          << QStringList{nc, all};
    QTest::newRow("save the result")
        << "save result" << QStringList{result}
        << QStringList{QStringLiteral("MANTEL-Programme (*.min)"), nc, all};
    QTest::newRow("save the source")
        << "save source" << QStringList{source} << QStringList{nc, all};
    QTest::newRow("close with both panes changed, Speichern")
        << "close" << QStringList{source, result} << QStringList{nc, all};
  }

  void fileDialogsSayWhatTheyAreFor() {
    QFETCH(QString, command);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, filters);

    QTemporaryDir files;
    Program program;
    QList<FileDialogRequest> requests;
    program.mainform->FileDialog = [&](QWidget*, const FileDialogRequest& request) {
      requests << request;
      if (request.kind == FileDialogRequest::Kind::Open) return QString();
      return files.filePath(
          QStringLiteral("%1.%2").arg(requests.size()).arg(request.defaultSuffix));
    };
    program.mainform->show();
    QApplication::processEvents();
    if (command == "open") {
      program.mainform->Button_LadenClick();
    } else {
      program.mainform->Quelle->SetLines({"G1 X10 Y0"});
      program.Convert("100");
      if (command == "save result") program.mainform->PLT_SpeichernClick();
      if (command == "save source") program.mainform->AlsNCDateispeichern1Click();
      if (command == "close") {
        program.mainform->Quelle->insert("(x)");
        program.answers << "Speichern";
        QVERIFY(program.mainform->close());
      }
    }
    QStringList got;
    for (const FileDialogRequest& request : requests) got << request.title;
    QCOMPARE(got, titles);
    QCOMPARE(requests.first().filters, filters);
  }

  // The warning list is as tall as its rows, up to a third of the result
  // pane, where it scrolls; a row's tool tip holds its whole text.
  void warningListGrowsWithItsRows_data() {
    QTest::addColumn<int>("warnings");
    QTest::addColumn<int>("windowHeight");
    QTest::addColumn<bool>("capped");
    QTest::newRow("one") << 1 << 700 << false;
    QTest::newRow("five, more than the old four rows") << 5 << 700 << false;
    QTest::newRow("forty: a third of the pane") << 40 << 700 << true;
    QTest::newRow("five in a low window: a third of the pane") << 5 << 300 << true;
  }

  void warningListGrowsWithItsRows() {
    QFETCH(int, warnings);
    QFETCH(int, windowHeight);
    QFETCH(bool, capped);

    Program program;
    program.mainform->resize(900, windowHeight);
    program.mainform->show();
    std::vector<ConversionWarning> list;
    const std::string longText(300, 'w');
    for (int i = 1; i <= warnings; ++i)
      list.push_back({std::size_t(i), i == 1 ? longText : "kurz"});
    WarningList* rows = program.mainform->Warnungen;
    rows->SetWarnings(list);
    QApplication::processEvents();

    const int pane = program.mainform->Panel_Rechts->height();
    QVERIFY2(rows->height() <= pane / 3,
             qPrintable(QStringLiteral("%1 of %2").arg(rows->height()).arg(pane)));
    if (capped) {
      QCOMPARE(rows->height(), pane / 3);
      QVERIFY(rows->verticalScrollBar()->maximum() > 0);
    } else {
      QCOMPARE(rows->verticalScrollBar()->maximum(), 0);  // every row in sight
    }
    for (int i = 0; i < rows->count(); ++i)
      QCOMPARE(rows->item(i)->toolTip(), rows->item(i)->text());
    QVERIFY(rows->item(0)->toolTip().endsWith(QString::fromStdString(longText)));
  }

  void screenshotAfterConversion() {
    const QByteArray folder = qgetenv("TORVANE_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("set TORVANE_SCREENSHOT_DIR to keep a picture");
    Program program;
    program.mainform->resize(1100, 620);
    program.mainform->show();
    program.mainform->Quelle->LoadFromFile(QString(TORVANE_DEFAULTS_DIR) +
                                           "../../examples/slot-numbered/source.nc");
    program.Convert("60");
    QApplication::processEvents();
    program.mainform->grab().save(QString(folder) + "/mainform.png");
    // How the warning list looks under the result, with the first warning's
    // line shown in the source.
    program.mainform->Warnungen->SetWarnings(
        {{2, "Beispiel: Radius zu kurz f\xFCr die Sehne"}, {4, "Beispiel: Zoll-Programm"}});
    program.mainform->Warnungen->setCurrentRow(0);
    emit program.mainform->Warnungen->LineChosen(2);
    QApplication::processEvents();
    program.mainform->grab().save(QString(folder) + "/mainform-warnings.png");
  }
};

QTEST_MAIN(MainformTest)
#include "MainformTest.moc"
