// SPDX-License-Identifier: GPL-3.0-or-later
// Shows two panes with NC text, as the main window will: the source with
// the NC highlighter on the left, a converted program on the right. For
// looking at the colours and the gutter; closes itself after the number of
// milliseconds given as its argument, if any.

#include <QApplication>
#include <QHBoxLayout>
#include <QTimer>
#include <QWidget>

#include "EditorPane.h"
#include "highlighter/NCSyn.h"

using namespace torvane;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("TORVANE 1.0");
  auto* layout = new QHBoxLayout(&window);
  auto* quelle = new EditorPane;
  auto* ziel = new EditorPane;
  layout->addWidget(quelle);
  layout->addWidget(ziel);

  TNCSyn quelleSyn;
  TNCSyn zielSyn;
  quelle->SetHighlighter(&quelleSyn);
  quelle->SetLines({
      "%",
      "(KONTUR 1 - TASCHE \xC4U\xDF" "ERE)",
      "N10 G00 X0 Y0 Z5",
      "N20 G01 Z-1.5 F200",
      "N30 G01 X40.0 Y0",
      "N40 G02 X50 Y10 R10",
      "N50 G01 Y40 (KANTE)",
      "N60 g03 x40 y50 r10",
      "N70 G01 X-12.5 Y50",
      "N80 M30;Ende",
      "[a(b)c] {x} <y>",
  });
  ziel->SetHighlighter(&zielSyn);
  ziel->AppendLines({"G00 Z0.000 C0.000 X105.000", "G01 X97.000 M15", "G01 Z40.000 C0.000",
                     "G01 Z50.000 C11.459", "G01 C45.837", "M30"});

  window.resize(1100, 420);
  window.show();
  quelle->setFocus();
  if (argc > 1) QTimer::singleShot(std::atoi(argv[1]), &app, &QApplication::quit);
  return app.exec();
}
