// SPDX-License-Identifier: GPL-3.0-or-later
// Times the desktop program's open and convert commands on a large
// program, against reading the same file into memory in the same run.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "EditorPane.h"
#include "MemoryUse.h"
#include "BenchWindow.h"
#include "TMainform.h"

using namespace torvane;

namespace {

// The resident and the peak resident memory so far, in MB, as the system
// counts them.
std::pair<double, double> Memory() {
  std::ifstream status("/proc/self/status");
  std::string line;
  double rss = 0, peak = 0;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) rss = std::stod(line.substr(6)) / 1024;
    if (line.rfind("VmHWM:", 0) == 0) peak = std::stod(line.substr(6)) / 1024;
  }
  return {rss, peak};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: mainform_bench PROGRAM.nc SETTINGS_DIR [RESULT.min]\n");
    return 2;
  }
  // As the desktop program does.
  TakeLargeBlocksFromTheSystem();
  QApplication application(argc, argv);
  const QString program = QString::fromLocal8Bit(argv[1]);

  QElapsedTimer clock;
  clock.start();
  {
    std::ifstream file(argv[1], std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::printf("baseline: read %zu bytes\n", bytes.size());
  }
  const double baseline = static_cast<double>(clock.nsecsElapsed()) / 1e9;

  BenchWindow window(argv[2], program, 1200, 800);
  TMainform& mainform = window.mainform;
  TRohteil& rohteil = window.rohteil;
  const QStringList& errors = window.errors;

  clock.restart();
  mainform.Button_LadenClick();
  QApplication::processEvents();
  const double open = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  const auto afterOpen = Memory();

  clock.restart();
  QTimer::singleShot(0, [&rohteil] { rohteil.XPSpeedButton3Click(); });
  mainform.WandelnClick();
  QApplication::processEvents();
  const double convert = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  const auto afterConvert = Memory();

  // Esc while converting again: from the key to the window taking input,
  // with the first result still in MANTEL. Pressed at several moments of
  // the run; the slowest answer counts.
  const int resultLines = mainform.Ziel->LineCount();
  double slowestCancel = 0;
  for (const int after : {100, 300, 600, 900}) {
    QElapsedTimer sinceCancel;
    mainform.WhileConverting = [&mainform, &sinceCancel, after] {
      QTimer::singleShot(after, &mainform, [&mainform, &sinceCancel] {
        sinceCancel.start();
        mainform.CancelConversion();
      });
    };
    QTimer::singleShot(0, [&rohteil] { rohteil.XPSpeedButton3Click(); });
    mainform.WandelnClick();
    if (sinceCancel.isValid()) {
      const double seconds = static_cast<double>(sinceCancel.nsecsElapsed()) / 1e9;
      std::printf("  Esc after %4d ms: window free after %.3f s\n", after, seconds);
      slowestCancel = std::max(slowestCancel, seconds);
    }
    if (mainform.Ziel->LineCount() != resultLines) std::printf("error: cancel touched MANTEL\n");
  }
  mainform.WhileConverting = nullptr;

  const int lines = mainform.Quelle->LineCount();
  // The limits hold for 1,000,000 source lines; longer programs may take
  // proportionally longer.
  const double scale = std::max(1.0, lines / 1e6);
  std::printf("%-34s %8.3f s  %8s\n", "read file into memory (baseline)", baseline, "1.0x");
  std::printf("%-34s %8.3f s  %7.1fx  (%d lines)  target < %.2f s: %s\n", "open command", open,
              open / baseline, lines, 0.5 * scale, open < 0.5 * scale ? "ok" : "OVER");
  std::printf("%-34s %8.3f s  %7.1fx  (%d lines out)  target < %.2f s: %s\n",
              "convert command, result shown", convert, convert / baseline,
              mainform.Ziel->LineCount(), 1.5 * scale, convert < 1.5 * scale ? "ok" : "OVER");
  std::printf("%-34s %8.3f s  %8s  target < 0.50 s: %s\n", "cancel while converting (slowest)",
              slowestCancel, "", slowestCancel < 0.5 ? "ok" : "OVER");
  // The result as saved, for comparing with what torvane-convert writes.
  if (argc > 3) mainform.Ziel->SaveToFile(QString::fromLocal8Bit(argv[3]));
  std::printf("memory after open: %.0f MB (peak %.0f MB); after convert: %.0f MB (peak %.0f MB)\n",
              afterOpen.first, afterOpen.second, afterConvert.first, afterConvert.second);
  for (const QString& error : errors) std::printf("error: %s\n", qPrintable(error));
  return errors.isEmpty() ? 0 : 1;
}
