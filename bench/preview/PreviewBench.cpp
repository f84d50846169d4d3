// SPDX-License-Identifier: GPL-3.0-or-later
// Times the preview on a large converted program in the desktop program:
// the first picture after the conversion and the frames while turning the
// cylinder, each against QPainter drawing as many plain lines.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <cstdio>
#include <vector>

#include "EditorPane.h"
#include "PreviewPath.h"
#include "TMainform.h"
#include "PreviewCanvas.h"
#include "PreviewPanel.h"
#include "BenchWindow.h"

using namespace torvane;

namespace {

double Seconds(const QElapsedTimer& clock) { return static_cast<double>(clock.nsecsElapsed()) / 1e9; }

// The baseline: the same number of lines, from the program's own flat
// path scaled into the picture, drawn by QPainter in one call.
double PlainDraw(const PreviewPath& path, QSize size, std::size_t count) {
  std::vector<QLineF> lines;
  lines.reserve(count);
  const double sx = (size.width() - 20) / std::max(1.0f, path.MaxX() - path.MinX());
  const double sy = (size.height() - 20) / std::max(1.0f, path.MaxY() - path.MinY());
  for (std::size_t i = 1; i < path.VertexCount() && lines.size() < count; ++i) {
    lines.emplace_back(10 + (path.FlatX()[i - 1] - path.MinX()) * sx,
                       10 + (path.FlatY()[i - 1] - path.MinY()) * sy,
                       10 + (path.FlatX()[i] - path.MinX()) * sx,
                       10 + (path.FlatY()[i] - path.MinY()) * sy);
  }
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  QElapsedTimer clock;
  clock.start();
  constexpr int kRounds = 3;
  for (int round = 0; round < kRounds; ++round) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::blue, 0));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
  }
  return Seconds(clock) / kRounds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: preview_bench PROGRAM.nc SETTINGS_DIR\n");
    return 2;
  }
  QApplication application(argc, argv);
  const QString program = QString::fromLocal8Bit(argv[1]);
  BenchWindow window(argv[2], program, 1400, 1000);
  TMainform& mainform = window.mainform;
  TRohteil& rohteil = window.rohteil;
  Conversion& conversion = window.conversion;
  const QStringList& errors = window.errors;
  mainform.Button_LadenClick();
  QTimer::singleShot(0, [&rohteil] { rohteil.XPSpeedButton3Click(); });
  mainform.WandelnClick();
  QApplication::processEvents();

  // Its parts first, for the record: the pane's lines, the reading and
  // laying out, the drawing.
  PreviewCanvas* canvas = mainform.Vorschau->Canvas();
  QElapsedTimer clock;
  clock.start();
  const std::vector<std::string> paneLines = mainform.Ziel->Lines();
  const double fetch = Seconds(clock);
  clock.restart();
  mainform.Vorschau->ShowProgram(paneLines, conversion.Settings(), conversion.Diameter(),
                                 false);
  const double layout = Seconds(clock);
  mainform.Vorschau->ShowNothing({});

  // Showing the preview reads the result pane and draws the first picture.
  clock.restart();
  mainform.Vorschau1->setChecked(true);
  canvas->repaint();
  const double first = Seconds(clock);
  const PreviewPath* path = canvas->Path();
  if (path == nullptr) {
    std::fprintf(stderr, "no picture\n");
    return 1;
  }

  constexpr int kFrames = 40;
  clock.restart();
  for (int frame = 0; frame < kFrames; ++frame) {
    canvas->Rotate(4, frame % 2 == 0 ? 1 : -1);
    canvas->repaint();
  }
  const double turn = Seconds(clock) / kFrames;
  const std::size_t drawn = canvas->DrawnSegments();

  canvas->SetMode(PreviewCanvas::Mode::Flat);
  clock.restart();
  for (int frame = 0; frame < kFrames / 4; ++frame) {
    canvas->ResetView();
    canvas->repaint();
  }
  const double flat = Seconds(clock) / (kFrames / 4);

  const std::size_t lines = static_cast<std::size_t>(mainform.Ziel->LineCount());
  const double baseline = PlainDraw(*path, canvas->size(), lines);
  std::printf("picture %dx%d, %zu lines, %zu moves, %zu vertices, %zu segments drawn\n",
              canvas->width(), canvas->height(), lines, path->MoveCount(), path->VertexCount(),
              drawn);
  std::printf("%-44s %8.3f s  %7s\n", "plain QPainter draw of as many lines", baseline, "1.00x");
  std::printf("%-44s %8.3f s  %7.2fx\n", "first picture (read, lay out, draw)", first,
              first / baseline);
  std::printf("%-44s %8.3f s\n", "  of which the pane's lines", fetch);
  std::printf("%-44s %8.3f s\n", "  of which reading and laying out", layout);
  std::printf("%-44s %8.3f s  %7.2fx  (%.0f frames/s)\n", "one frame turning the cylinder", turn,
              turn / baseline, 1 / turn);
  std::printf("%-44s %8.3f s  %7.2fx\n", "one frame of the flat view", flat, flat / baseline);
  for (const QString& error : errors) std::printf("error: %s\n", qPrintable(error));
  std::printf("targets: first picture < 1 s, turning >= 20 frames/s\n");
  return errors.isEmpty() ? 0 : 1;
}
