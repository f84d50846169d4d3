// Drives the real main window: command line, open, convert, save, the
// cylinder dialog and the error report, with file dialogs and message boxes
// answered by the test.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "EditorPane.h"
#include "TMainform.h"
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
      lastRequest = request;
      return dialogAnswer;
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
             (QStringList{"*.nc (*.nc)", "*.cnc (*.cnc)", "*.* (*)"}));
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
                                << "Konvertierung beendet" << QStringList{};
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
    QCOMPARE(program.mainform->StatusText(), QString("Konvertierung beendet"));
  }

  void conversionErrorShowsTheLinesSoFar() {
    Program program;
    program.mainform->Quelle->SetLines({"G1 X10 Y0", "G2 X0 Y-10", "G1 X5"});
    program.Convert("100");
    QCOMPARE(program.mainform->Ziel->Lines(),
             (std::vector<std::string>{"G01 Z10.000 C0.000 M15"}));
    QCOMPARE(program.errors,
             QStringList{QStringLiteral("Zeile 2: Gleitkommadivision durch Null.")});
    QCOMPARE(program.mainform->StatusText(), QString());
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
  }

  void panesSplitEvenly() {
    Program program;
    program.mainform->show();
    // Find a window width that gives the main area 641 pixels.
    QSplitter* haupt = program.mainform->Panel_Haupt;
    program.mainform->resize(700, 500);
    QApplication::processEvents();
    const int extra = program.mainform->width() - haupt->contentsRect().width();
    program.mainform->resize(641 + extra, 500);
    QApplication::processEvents();
    QCOMPARE(haupt->contentsRect().width(), 641);
    QCOMPARE(haupt->sizes().at(0), 320);
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
  }
};

QTEST_MAIN(MainformTest)
#include "MainformTest.moc"
