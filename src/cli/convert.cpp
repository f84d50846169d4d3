// SPDX-License-Identifier: GPL-3.0-or-later
// torvane-convert: the conversion of the desktop program for scripts and
// pipelines. Streams the source, so memory stays flat for any length, and
// hands the result over only when the whole run succeeded.

#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/StreamLines.h"
#include "conversion/Conversion.h"
#include "readback/CheckThread.h"
#include "readback/ResultCheck.h"
#include "text/LineFile.h"
#include "text/Windows1252.h"

namespace {

using namespace torvane;

constexpr int kConversionFailed = 1;
constexpr int kUsageOrIoFailed = 2;
constexpr int kCheckFailed = 3;

constexpr const char* kUsage =
    "Aufruf: torvane-convert [-d D | --diameter D] [-s DIR | --settings DIR]\n"
    "                        [-o DATEI | --output DATEI] [--set SCHLÜSSEL=WERT]...\n"
    "                        [--check] [EINGABE]\n"
    "\n"
    "Wandelt ein ebenes XYZ-NC-Programm (DIN/ISO) in ein Programm für die\n"
    "Mantelfläche eines Zylinders mit Rundachse.\n"
    "\n"
    "  -d, --diameter D   Zylinderdurchmesser, größer als 0 (Vorgabe 100)\n"
    "  -s, --settings DIR Ordner mit main.ini, vorspann.plt, nachspann.plt\n"
    "                     (Vorgabe: der Ordner des Programms, installiert\n"
    "                     ~/.config/torvane)\n"
    "  -o, --output DATEI Ergebnis in DATEI statt auf die Standardausgabe\n"
    "      --set S=W      setzt den Schlüssel S aus [convert] für diesen Lauf\n"
    "                     auf W, ohne main.ini zu ändern (mehrfach möglich),\n"
    "                     z. B. --set efeed=2 --set etol=0.01\n"
    "      --check        prüft das Ergebnis, bevor es geschrieben wird: abgefahren\n"
    "                     wie auf der Maschine muss es auf der Bahn der Quelle\n"
    "                     liegen\n"
    "  EINGABE            Quelldatei; \"-\" oder keine: Standardeingabe\n"
    "      --help         diese Hilfe\n"
    "      --version      Version anzeigen\n"
    "\n"
    "Ausgabezeilen enden mit CR LF. Rückgabewert: 0 Erfolg, 1 Fehler bei der\n"
    "Konvertierung (nichts wird geschrieben), 2 falscher Aufruf oder Dateifehler,\n"
    "3 Prüfung fehlgeschlagen (nichts wird geschrieben).\n";

const Reporter Report("torvane-convert");

// The result goes somewhere private first, so that a failed run hands
// nothing over: for a file, its replacement beside it (the same safe way the
// desktop program saves, links and permissions included); for standard
// output, an anonymous file.
struct PendingOutput {
  std::unique_ptr<FileReplacement> replacement;
  File file;
};

// `problem` says why there is none (a pipe or a device at the target, ...).
std::optional<PendingOutput> OpenPendingOutput(const std::string& target, std::string& problem) {
  PendingOutput pending;
  problem = CannotCreateMessage(target.empty() ? "(Zwischendatei)" : target);
  if (target.empty()) {
    pending.file.reset(std::tmpfile());
    if (!pending.file) return std::nullopt;
    return pending;
  }
  try {
    pending.replacement = std::make_unique<FileReplacement>(target);
  } catch (const FileError& error) {
    problem = error.what();
    return std::nullopt;
  }
  const int fd = ::dup(pending.replacement->Descriptor());
  if (fd < 0) return std::nullopt;
  pending.file.reset(::fdopen(fd, "wb"));
  if (!pending.file) {
    ::close(fd);
    return std::nullopt;
  }
  return pending;
}

// Ctrl-C or a kill ends a run without a trace: nothing is written through
// -o, no temporary file stays, and the process ends by the signal, as the
// shell and scripts expect.
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void OnStopSignal(int signal) { stopSignal = signal; }

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a read waiting on a pipe returns at once.
  action.sa_flags = 0;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

[[noreturn]] void EndBySignal() {
  const int signal = stopSignal;
  Report(std::string("Abgebrochen (SIG") + sigabbrev_np(signal) + "), nichts geschrieben");
  std::signal(signal, SIG_DFL);
  std::raise(signal);
  std::_Exit(128 + signal);
}

// Ends the source at the first signal.
class StoppableSource : public LineSource {
 public:
  explicit StoppableSource(LineSource& source) : source_(source) {}
  bool Next(std::string_view& line) override { return stopSignal == 0 && source_.Next(line); }

 private:
  LineSource& source_;
};

bool CopyToStdout(std::FILE* from) {
  std::rewind(from);
  std::string buffer(1 << 20, '\0');
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), from)) > 0) {
    if (std::fwrite(buffer.data(), 1, got, stdout) != got) return false;
  }
  return !std::ferror(from) && std::fflush(stdout) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  InstallStopHandlers();
  std::string diameterText = "100";
  std::string settingsDir;
  std::string output;
  CommandLine line;
  if (const auto error = ParseCommandLine(argc, argv,
                                          {{"-d", "--diameter", &diameterText},
                                           {"-s", "--settings", &settingsDir},
                                           {"-o", "--output", &output}},
                                          {"--check"}, line)) {
    return Report.Usage(*error);
  }
  if (line.operands.size() > 1) return Report.Usage("Nur eine Eingabedatei ist erlaubt");
  const std::string inputName = line.operands.empty() ? "-" : line.operands.front();
  const bool check = std::ranges::find(line.flags, "--check") != line.flags.end();
  if (AnsweredHelpOrVersion(line, Report, kUsage, TORVANE_VERSION)) return 0;
  RunSettings run;
  if (const auto problem = LoadRunSettings(diameterText, settingsDir, line.overrides, run)) {
    if (problem->usage) return Report.Usage(problem->message);
    Report(problem->message);
    return kUsageOrIoFailed;
  }
  for (const std::string& warning : run.warnings) Report(warning);
  const Settings& settings = *run.settings;

  const File inputFile = OpenForReading(inputName);
  if (!inputFile) {
    if (stopSignal != 0) EndBySignal();
    Report(CannotOpenMessage(inputName));
    return kUsageOrIoFailed;
  }
  std::FILE* const input = inputFile.get();

  std::string outputProblem;
  std::optional<PendingOutput> pending = OpenPendingOutput(output, outputProblem);
  if (!pending) {
    Report(outputProblem);
    return kUsageOrIoFailed;
  }
  auto discard = [&pending] {
    pending->file.reset();
    pending->replacement.reset();
  };
  // Before each step that hands something over: a signal meanwhile ends the
  // run with nothing written.
  auto endIfSignalled = [&discard] {
    if (stopSignal == 0) return;
    discard();
    EndBySignal();
  };

  Conversion conversion(run.published);
  // The result is checked beside the run, as it is written, and handed
  // over only when the check passed.
  std::optional<ResultCheck> checker;
  std::optional<CheckThread> checkThread;
  if (check) {
    checker.emplace(run.published, run.diameter, settings.HeaderLines(), settings.FooterLines());
    if (!checker->Unreadable().empty()) {
      discard();
      return Report.Usage(Cp1252("Prüfung nicht möglich: ") + checker->Unreadable());
    }
    checkThread.emplace(*checker);
    // The check takes the second core: the lines are formatted where they
    // are made.
    conversion.RecordSourcePath(&*checkThread);
    conversion.FormatOnSecondThread(false);
  }
  std::optional<CheckOutcome> outcome;
  StreamLineSource stream(input);
  StoppableSource source(stream);
  bool written = false;
  std::optional<std::string> conversionError;
  std::optional<std::string> resourceError;
  {
    // The sink must be gone before the file it writes to is discarded.
    StreamLineSink sink(pending->file.get());
    if (checkThread) {
      sink.TeeTo([&checkThread](std::string_view text) { checkThread->ResultText(text); });
    }
    try {
      conversion.RunConversion(run.diameter, source, settings.HeaderLines(), settings.FooterLines(),
                               sink);
      for (const ConversionWarning& warning : conversion.Warnings()) {
        Report("Warnung: Zeile " + std::to_string(warning.line) + ": " + warning.text);
      }
      written = sink.Flush();
      if (checkThread) outcome = checkThread->Finish();
    } catch (const ConversionError& error) {
      conversionError = error.what();
      sink.Discard();
    } catch (const std::bad_alloc&) {
      // A line longer than the memory: no result, but no crash either.
      resourceError = "Nicht genug Arbeitsspeicher";
      sink.Discard();
    }
  }
  endIfSignalled();
  if (conversionError || resourceError) {
    discard();
    Report(conversionError ? *conversionError : *resourceError);
    return conversionError ? kConversionFailed : kUsageOrIoFailed;
  }
  if (stream.Failed()) {
    discard();
    Report(inputName == "-" ? std::string("Standardeingabe kann nicht gelesen werden")
                                : CannotOpenMessage(inputName));
    return kUsageOrIoFailed;
  }
  const std::string shownOutput = output.empty() ? "die Standardausgabe" : output;
  if (!written) {
    discard();
    Report(CannotWriteMessage(shownOutput));
    return kUsageOrIoFailed;
  }

  if (outcome) {
    if (!outcome->passed) {
      discard();
      Report(Cp1252("Prüfung fehlgeschlagen, nichts geschrieben: ") + outcome->Summary());
      return kCheckFailed;
    }
    Report(Cp1252("geprüft: ") + outcome->Summary());
  }

  endIfSignalled();
  if (output.empty()) {
    if (!CopyToStdout(pending->file.get())) {
      Report(CannotWriteMessage(shownOutput));
      return kUsageOrIoFailed;
    }
    return 0;
  }
  if (std::fclose(pending->file.release()) != 0) {
    discard();
    Report(CannotWriteMessage(shownOutput));
    return kUsageOrIoFailed;
  }
  endIfSignalled();
  try {
    pending->replacement->Commit();
  } catch (const FileError& error) {
    discard();
    Report(error.what());
    return kUsageOrIoFailed;
  }
  return 0;
}
