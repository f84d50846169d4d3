// SPDX-License-Identifier: GPL-3.0-or-later
// torvane-check: replays a converted program as the machine runs it and
// lays it over the path of its source. It checks results of any origin,
// edited by hand or written by another tool, in flat memory.

#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CommandLine.h"
#include "cli/StreamLines.h"
#include "conversion/Conversion.h"
#include "readback/ResultCheck.h"
#include "text/FloatText.h"
#include "text/LineFile.h"
#include "text/Windows1252.h"

namespace {

using namespace torvane;

constexpr int kOffThePath = 1;
constexpr int kUsageOrIoFailed = 2;

constexpr const char* kUsage =
    "Aufruf: torvane-check [-d D | --diameter D] [-s DIR | --settings DIR]\n"
    "                      [--set SCHLÜSSEL=WERT]... [--tol T] QUELLE ERGEBNIS\n"
    "\n"
    "Prüft ein gewandeltes Programm: ERGEBNIS wird abgefahren, wie die Maschine\n"
    "es ausführt, und muss auf der Bahn von QUELLE liegen, in ihrer Reihenfolge,\n"
    "mit Eilgängen als Eilgänge und Vorschüben als Vorschübe.\n"
    "\n"
    "  -d, --diameter D   Zylinderdurchmesser des Ergebnisses (Vorgabe 100)\n"
    "  -s, --settings DIR Ordner mit main.ini, vorspann.plt, nachspann.plt, mit\n"
    "                     denen das Ergebnis geschrieben wurde\n"
    "      --set S=W      setzt den Schlüssel S aus [convert] für diese Prüfung\n"
    "      --tol T        erlaubte Abweichung einer Position (Vorgabe: die Rundung\n"
    "                     des Zahlenformats; Sehnen linearisierter Kreisbögen\n"
    "                     dürfen zusätzlich um ihren Sehnenfehler abweichen)\n"
    "  QUELLE, ERGEBNIS   Dateien; eine der beiden darf \"-\" sein (Standardeingabe)\n"
    "      --help         diese Hilfe\n"
    "      --version      Version anzeigen\n"
    "\n"
    "Rückgabewert: 0 Ergebnis liegt auf der Bahn, 1 Ergebnis weicht ab oder ist\n"
    "nicht lesbar, 2 falscher Aufruf, Datei- oder Quellfehler.\n";

const Reporter Report("torvane-check");

}  // namespace

int main(int argc, char** argv) {
  std::string diameterText = "100";
  std::string settingsDir;
  std::string toleranceText;
  CommandLine line;
  if (const auto error = ParseCommandLine(argc, argv,
                                          {{"-d", "--diameter", &diameterText},
                                           {"-s", "--settings", &settingsDir},
                                           {"", "--tol", &toleranceText}},
                                          {}, line)) {
    return Report.Usage(*error);
  }
  if (AnsweredHelpOrVersion(line, Report, kUsage, TORVANE_VERSION)) return 0;
  if (line.operands.size() != 2) return Report.Usage("Erwartet werden QUELLE und ERGEBNIS");
  const std::string& sourceName = line.operands[0];
  const std::string& resultName = line.operands[1];
  if (sourceName == "-" && resultName == "-") {
    return Report.Usage("Nur eine der beiden Dateien kann die Standardeingabe sein");
  }
  long double tolerance = 0;
  if (!toleranceText.empty()) {
    const std::optional<long double> value = StrToFloatStrict(toleranceText);
    if (!value) return Report.Usage(InvalidFloatMessage(toleranceText));
    if (!(*value > 0) || *value > 1e6L) {
      return Report.Usage(Cp1252("Die Toleranz muss größer als 0 sein (") + toleranceText + ")");
    }
    tolerance = *value;
  }
  RunSettings run;
  if (const auto problem = LoadRunSettings(diameterText, settingsDir, line.overrides, run)) {
    if (problem->usage) return Report.Usage(problem->message);
    Report(problem->message);
    return kUsageOrIoFailed;
  }
  for (const std::string& warning : run.warnings) Report(warning);

  ResultCheck check(run.published, run.diameter, run.settings->HeaderLines(),
                    run.settings->FooterLines(), tolerance);
  if (!check.Unreadable().empty()) {
    return Report.Usage(Cp1252("Das Ergebnis ist mit diesen Einstellungen nicht lesbar: ") +
                      check.Unreadable());
  }
  const File sourceFile = OpenForReading(sourceName);
  if (!sourceFile) {
    Report(CannotOpenMessage(sourceName));
    return kUsageOrIoFailed;
  }
  const File resultFile = OpenForReading(resultName);
  if (!resultFile) {
    Report(CannotOpenMessage(resultName));
    return kUsageOrIoFailed;
  }

  StreamLineSource source(sourceFile.get());
  StreamLineSource result(resultFile.get());
  Conversion conversion(run.published);
  CheckOutcome outcome;
  try {
    outcome = CheckConversion(conversion, check, run.diameter, source, result);
  } catch (const ConversionError& error) {
    Report("Quelle " + sourceName + ": " + error.what());
    return kUsageOrIoFailed;
  } catch (const std::bad_alloc&) {
    Report("Nicht genug Arbeitsspeicher");
    return kUsageOrIoFailed;
  }
  for (const auto& [stream, name] : {std::pair{&source, &sourceName}, {&result, &resultName}}) {
    if (stream->Failed()) {
      Report(CannotOpenMessage(*name));
      return kUsageOrIoFailed;
    }
  }
  if (!outcome.passed) {
    Report(outcome.message);
    return kOffThePath;
  }
  const std::string summary = ToTerminalText(outcome.Summary()) + "\n";
  std::fwrite(summary.data(), 1, summary.size(), stdout);
  return 0;
}
