// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the editor pane on a program of a million lines (~30 MB).
//
// Limits: loading the file into a pane and showing its first screen under
// 1 s; typing a character at the end of it under 16 ms. Every figure is also
// given as a multiple of reading the same file through a small buffer,
// measured in the same run, so that results from different machines
// compare. (Reading it into one large block is no steady yardstick: whether
// the allocator hands out fresh pages or reuses old ones changes its time
// twentyfold.)

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "EditorPane.h"
#include "text/LineFile.h"
#include "highlighter/NCSyn.h"

using namespace torvane;
using Sci = QsciScintillaBase;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Time(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return Ms(Clock::now() - start);
}

double Best(int runs, const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) best = std::min(best, Time(work));
  return best;
}

// Reads the file from start to end through one small buffer.
void ReadThrough(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return;
  static char buffer[1 << 16];
  while (std::fread(buffer, 1, sizeof buffer, file) == sizeof buffer) {
  }
  std::fclose(file);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Blocks as a CAM system writes them: numbered moves with three axes.
std::vector<std::string> Program(int lines) {
  std::vector<std::string> program;
  program.reserve(static_cast<std::size_t>(lines));
  char buffer[64];
  for (int i = 0; i < lines; ++i) {
    std::snprintf(buffer, sizeof buffer, "N%07d G01 X%.3f Y%.3f", i + 1, (i % 2000) * 0.125, (i % 977) * -0.25);
    program.emplace_back(buffer);
  }
  return program;
}

void ShowPane(EditorPane& pane) {
  pane.resize(900, 700);
  pane.show();
  QApplication::processEvents();
}

// A key press as the window system delivers it, then the repaint it causes.
double TypeAtEnd(EditorPane& pane, QChar c) {
  return Time([&] {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&pane, &press);
    pane.repaint();
  });
}

double Keystrokes(EditorPane& pane, int count) {
  pane.ExecuteCommand(ecEditorBottom);
  pane.repaint();
  std::vector<double> times;
  for (int i = 0; i < count; ++i) times.push_back(TypeAtEnd(pane, QChar(u'0' + i % 10)));
  return Median(times);
}

struct Row {
  const char* name;
  double ms;
  double limit;  // 0 when there is none
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int lineCount = argc > 1 ? std::atoi(argv[1]) : 1000000;

  QTemporaryDir dir;
  const std::string path = dir.filePath("program.nc").toStdString();
  const std::vector<std::string> program = Program(lineCount);
  SaveLineFile(path, program, LineEnding::CRLF);
  const std::string bytes = ReadWholeFile(path);
  std::printf("program: %d lines, %.1f MB\n\n", lineCount, bytes.size() / 1e6);

  std::vector<Row> rows;
  const double baseline = Best(5, [&] { ReadThrough(path); });
  rows.push_back({"read the file (baseline)", baseline, 0});
  rows.push_back({"read the file into memory", Best(3, [&] { ReadWholeFile(path); }), 0});
  rows.push_back({"split into lines (core)", Best(3, [&] { LoadLineFile(path); }), 0});

  {
    TNCSyn syn;
    EditorPane pane;
    pane.SetHighlighter(&syn);
    ShowPane(pane);
    rows.push_back({"load into a pane and show the first screen", Time([&] {
                      pane.LoadFromFile(std::filesystem::path(path));
                      pane.repaint();
                    }),
                    500});
    rows.push_back({"then jump to the end", Time([&] {
                      pane.ExecuteCommand(ecEditorBottom);
                      pane.repaint();
                    }),
                    0});
    rows.push_back({"type a character at the end (median of 50)", Keystrokes(pane, 50), 16});
    rows.push_back({"type at the start, then jump to the end", Time([&] {
                      pane.ExecuteCommand(ecEditorTop);
                      TypeAtEnd(pane, QChar(u'N'));
                      pane.ExecuteCommand(ecEditorBottom);
                      pane.repaint();
                    }),
                    0});
    rows.push_back({"all lines back out of the pane", Time([&] { pane.Lines(); }), 0});
    rows.push_back({"save the pane", Time([&] { pane.SaveToFile(std::filesystem::path(path + ".out")); }), 0});

    // What the editor's per-insert notifications would cost if they were on.
    pane.SendScintilla(Sci::SCI_SETMODEVENTMASK, Sci::SC_MODEVENTMASKALL);
    rows.push_back({"type at the end with insert notifications on (median of 5)", Keystrokes(pane, 5), 0});
  }
  {
    TNCSyn syn;
    EditorPane pane;
    pane.SetHighlighter(&syn);
    ShowPane(pane);
    rows.push_back({"append all lines in one block and show", Time([&] {
                      pane.AppendLines(program);
                      pane.repaint();
                    }),
                    0});
  }
  {
    TNCSyn syn;
    EditorPane pane;
    pane.SetHighlighter(&syn);
    ShowPane(pane);
    rows.push_back({"append the lines one by one and show", Time([&] {
                      for (const std::string& line : program) pane.AppendLine(line);
                      pane.repaint();
                    }),
                    0});
  }

  bool ok = true;
  std::printf("%-62s %10s %10s\n", "", "ms", "x read");
  for (const Row& r : rows) {
    const bool within = r.limit == 0 || r.ms < r.limit;
    ok = ok && within;
    std::printf("%-62s %10.2f %10.2f", r.name, r.ms, r.ms / baseline);
    if (r.limit > 0) std::printf("   limit %.0f ms: %s", r.limit, within ? "ok" : "EXCEEDED");
    std::printf("\n");
  }
  return ok ? 0 : 1;
}
