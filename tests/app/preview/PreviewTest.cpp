// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the preview offscreen for a known program and looks at the
// picture where the seam, a rapid, a cut and the highlighted move must be;
// and drives it inside the main window, caret and click.

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QFile>
#include <QToolButton>
#include <QWheelEvent>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>

#include "EditorPane.h"
#include "PreviewPath.h"
#include "TMainform.h"
#include "PreviewCanvas.h"
#include "PreviewPanel.h"
#include "app/dialogs/TRohteil.h"
#include "conversion/Conversion.h"
#include "settings/Settings.h"
#include "text/LineFile.h"

using namespace torvane;

namespace {

// On this diameter the circumference is 360: y is 360 minus the angle.
const long double kDiameter = 360 / std::numbers::pi_v<long double>;

ConversionSettings Settings3Decimals() {
  ConversionSettings settings;
  settings.eg0 = "G00";
  settings.eg1 = "G01";
  settings.axis = "C";
  settings.edp = "M15";
  settings.edn = "M16";
  settings.type = 1;
  settings.format.DeziPunkt = true;
  settings.format.NNullen = true;
  settings.format.Nachkomma = 3;
  return settings;
}

// A rapid away from the seam, a cut along Z, a cut across the circumference.
const std::vector<std::string> kProgram = {
    "%",                              // 1: header, not a move
    "G00 Z20.000 C300.000 M16",       // 2: rapid to y = 60, the angle falling
    "G01 Z80.000",                    // 3: cut along Z
    "G01 Z80.000 C250.000",           // 4: cut to y = 110
};

bool IsColour(QRgb pixel, QColor want, int tolerance = 40) {
  return std::abs(qRed(pixel) - want.red()) <= tolerance &&
         std::abs(qGreen(pixel) - want.green()) <= tolerance &&
         std::abs(qBlue(pixel) - want.blue()) <= tolerance;
}

bool IsBackground(QRgb pixel) { return qRed(pixel) > 235 && qGreen(pixel) > 235 && qBlue(pixel) > 235; }

// How many of the pixels along a screen line are drawn, and how many are not.
struct Along {
  int inked = 0;
  int blank = 0;
};
Along Sample(const QImage& image, QPointF from, QPointF to, double inset = 0.15) {
  Along along;
  constexpr int kSteps = 60;
  for (int i = 0; i <= kSteps; ++i) {
    const double t = inset + (1 - 2 * inset) * i / kSteps;
    const QPoint p = (from + (to - from) * t).toPoint();
    if (IsBackground(image.pixel(p)))
      ++along.blank;
    else
      ++along.inked;
  }
  return along;
}

}  // namespace

class PreviewTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<PreviewPanel> panel_;
  PreviewCanvas* canvas_ = nullptr;

  QImage Picture() { return canvas_->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QPointF At(double x, double y) const { return canvas_->ScreenPoint(x, y, 0); }

 private slots:
  void init() {
    panel_ = std::make_unique<PreviewPanel>();
    panel_->resize(900, 600);
    panel_->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel_.get()));
    panel_->ShowProgram(kProgram, Settings3Decimals(), kDiameter, false);
    canvas_ = panel_->Canvas();
    canvas_->SetMode(PreviewCanvas::Mode::Flat);
  }
  void cleanup() { panel_.reset(); }

  void readsTheProgram() {
    QCOMPARE(canvas_->Path()->MoveCount(), std::size_t{3});
    QCOMPARE(panel_->Summary()->text(),
             QStringLiteral("3 Bewegungen · nicht gelesen (Vorspann, Nachspann, eigener Text): Zeile 1"));
  }

  void flatPictureShowsSeamRapidAndCut() {
    const QImage image = Picture();
    // The seam at y = 0 runs dash-dotted in black, a colour no depth has,
    // across the whole strip.
    int black = 0;
    for (int x = static_cast<int>(At(30, 0).x()); x < At(70, 0).x(); ++x)
      if (IsColour(image.pixel(x, static_cast<int>(std::lround(At(0, 0).y()))), QColor(0, 0, 0), 30))
        ++black;
    QVERIFY2(black > 20, qPrintable(QString::number(black)));
    // The rapid from the start to (20, 60) is dashed: ink and gaps.
    const Along rapid = Sample(image, At(0, 0), At(20, 60));
    QVERIFY2(rapid.inked >= 15 && rapid.blank >= 15,
             qPrintable(QString("%1 inked, %2 blank").arg(rapid.inked).arg(rapid.blank)));
    // The cuts are solid.
    QCOMPARE(Sample(image, At(20, 60), At(80, 60)).blank, 0);
    QCOMPARE(Sample(image, At(80, 60), At(80, 110)).blank, 0);
  }

  // A cut along Z at C90, 10 below the surface of a diameter of 40, in the
  // first view (the middle of the path, between the start at C0 and the
  // cut, faces the viewer) and turned either way, one of which brings it
  // near the edge of the outline: the path's blue shows through the skin,
  // inside the outline.
  void deepCutShowsThroughTheSkin_data() {
    QTest::addColumn<double>("turn");
    QTest::newRow("first view") << 0.0;
    QTest::newRow("turned one way") << 30.0;
    QTest::newRow("turned the other way") << -30.0;
  }
  void deepCutShowsThroughTheSkin() {
    QFETCH(double, turn);
    panel_->ShowProgram({"G00 Z0.000 X42.000 C90.000", "G01 X30.000", "G01 Z40.000"},
                        Settings3Decimals(), 40, false);
    canvas_->SetMode(PreviewCanvas::Mode::Cylinder);
    canvas_->Rotate(turn, 0);
    const QImage image = Picture();
    const double y = static_cast<double>(canvas_->Path()->Circumference()) * 3 / 4;
    const QPointF deep = canvas_->ScreenPoint(20, y, -10);
    const QPointF axis = canvas_->ScreenPoint(20, y, -40);
    const QPointF surface = canvas_->ScreenPoint(20, y, 0);
    // Nearer the axis on the screen than the surface is, so inside the outline.
    QVERIFY(std::abs(deep.y() - axis.y()) < std::abs(surface.y() - axis.y()) ||
            std::abs(turn) < 1);
    int blue = 0;
    for (int dy = -1; dy <= 1; ++dy) {
      const QRgb pixel = image.pixel(deep.toPoint() + QPoint(0, dy));
      if (qBlue(pixel) > qRed(pixel) + 60 && qBlue(pixel) > qGreen(pixel) + 40) ++blue;
    }
    QVERIFY2(blue > 0, qPrintable(QString::number(image.pixel(deep.toPoint()), 16)));
  }

  // The first 3D view, and the view fitted after zooming in, hold the
  // whole part: both ends of the cylinder all around, above the legend.
  void viewHoldsTheWholePart_data() {
    QTest::addColumn<double>("diameter");
    QTest::addColumn<double>("length");
    QTest::newRow("short and wide") << 200.0 << 10.0;
    QTest::newRow("long and thin") << 10.0 << 300.0;
    QTest::newRow("as long as wide") << 50.0 << 50.0;
  }
  void viewHoldsTheWholePart() {
    QFETCH(double, diameter);
    QFETCH(double, length);
    const auto number = [](double value) { return QString::number(value, 'f', 3).toStdString(); };
    panel_->ShowProgram({"G00 Z0.000 X" + number(diameter + 2) + " C0.000",
                         "G01 X" + number(diameter - 1), "G01 Z" + number(length)},
                        Settings3Decimals(), diameter, false);
    canvas_->SetMode(PreviewCanvas::Mode::Cylinder);
    const QRect room(0, 0, canvas_->width(), canvas_->height() - 50);
    const double circumference = static_cast<double>(canvas_->Path()->Circumference());
    const auto fits = [&] {
      for (const double x : {0.0, length})
        for (int i = 0; i < 16; ++i)
          if (!room.contains(canvas_->ScreenPoint(x, circumference * i / 16, 0).toPoint())) return false;
      return true;
    };
    QVERIFY(fits());
    for (int i = 0; i < 6; ++i) {
      QWheelEvent wheel(QPointF(100, 100), canvas_->mapToGlobal(QPointF(100, 100)), {}, {0, 120},
                        Qt::NoButton, {}, Qt::NoScrollPhase, false);
      QApplication::sendEvent(canvas_, &wheel);
    }
    QVERIFY(!fits());
    panel_->ButtonFit->click();
    QVERIFY(fits());
  }

  // With continuous angles the first move turns as written, from the
  // first line on: examples/continuous-axis starts with 28.648 degrees on
  // a diameter of 40, a short arc, not a ring around the part.
  void continuousFirstMoveIsAShortArc() {
    const std::string example = std::string(TORVANE_EXAMPLES_DIR) + "continuous-axis/";
    Settings settings(example + "settings/");
    settings.LoadSettings();
    QFile file(QString::fromStdString(example + "expected.min"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    panel_->ShowProgram(SplitLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))).lines,
                        settings.Published(), 40, false);
    const PreviewPath& path = *canvas_->Path();
    const std::vector<float>& y = path.FlatY();
    const double turned = std::abs(y[path.LastVertex(0)] - y[path.FirstVertex(0) - 1]) * 360 /
                          static_cast<double>(path.Circumference());
    QVERIFY2(std::abs(turned - 28.648) < 0.01, qPrintable(QString::number(turned)));
  }

  void caretHighlightsItsMove_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("flat") << static_cast<int>(PreviewCanvas::Mode::Flat);
    QTest::newRow("cylinder") << static_cast<int>(PreviewCanvas::Mode::Cylinder);
  }
  void caretHighlightsItsMove() {
    QFETCH(int, mode);
    canvas_->SetMode(static_cast<PreviewCanvas::Mode>(mode));
    // The middle of the cut along the circumference, line 4.
    const QPoint middle = canvas_->ScreenPoint(80, 85, 0).toPoint();
    const QColor highlight(220, 0, 220);
    QVERIFY(!IsColour(Picture().pixel(middle), highlight));
    panel_->SetCaretLine(4);
    QCOMPARE(canvas_->HighlightedMove(), 2u);
    QVERIFY(IsColour(Picture().pixel(middle), highlight));
    // A line without a move highlights nothing.
    panel_->SetCaretLine(1);
    QCOMPARE(canvas_->HighlightedMove(), PreviewPath::kNoMove);
    QVERIFY(!IsColour(Picture().pixel(middle), highlight));
  }

  void clickOnAMoveNamesItsLine() {
    Picture();
    QSignalSpy clicked(panel_.get(), &PreviewPanel::LineClicked);
    QTest::mouseClick(canvas_, Qt::LeftButton, {}, At(50, 60).toPoint());
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().value<std::size_t>(), std::size_t{3});
    QCOMPARE(canvas_->HighlightedMove(), 1u);
  }

  void unreadableFormatIsSaid() {
    ConversionSettings settings = Settings3Decimals();
    settings.format.DeziPunkt = false;
    settings.format.NNullen = false;
    panel_->ShowProgram(kProgram, settings, kDiameter, false);
    QVERIFY(canvas_->Path() == nullptr);
  }

  // Inside the main window: the result pane's caret and the preview's
  // click meet on the same line, and edits are read again.
  void followsTheResultPane() {
    QTemporaryDir dir;
    for (const char* name : {"main.ini", "vorspann.plt", "nachspann.plt"})
      std::filesystem::copy_file(std::string(TORVANE_DEFAULTS_DIR) + name,
                                 dir.filePath(name).toStdString());
    Settings settings(dir.path().toStdString());
    Conversion conversion;
    TMainform mainform(settings, conversion);
    TRohteil rohteil(&mainform);
    mainform.Rohteil = &rohteil;
    mainform.resize(1000, 800);
    mainform.show();
    mainform.FormShow();
    mainform.Ziel->SetLines(kProgram);
    QVERIFY(!mainform.Vorschau->isVisible());
    mainform.Vorschau1->setChecked(true);
    QVERIFY(mainform.Vorschau->isVisible());
    PreviewCanvas* canvas = mainform.Vorschau->Canvas();
    QTRY_VERIFY(canvas->Path() != nullptr);
    QCOMPARE(canvas->Path()->MoveCount(), std::size_t{3});

    mainform.Ziel->setCursorPosition(2, 4);
    QTRY_COMPARE(canvas->HighlightedMove(), 1u);

    // The middle of line 4's cut: angle 275 on the dialog's diameter 100.
    canvas->SetMode(PreviewCanvas::Mode::Flat);
    canvas->grab();
    const double y = 85 * static_cast<double>(canvas->Path()->Circumference()) / 360;
    QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->ScreenPoint(80, y, 0).toPoint());
    int line = 0;
    int index = 0;
    mainform.Ziel->getCursorPosition(&line, &index);
    QCOMPARE(line, 3);
    // Its line is selected in MANTEL and lies in the pane's visible range.
    QCOMPARE(mainform.Ziel->selectedText(), QStringLiteral("G01 Z80.000 C250.000"));
    const int first = mainform.Ziel->firstVisibleLine();
    QVERIFY(first <= 3 && 3 < first + mainform.Ziel->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));

    mainform.Ziel->append("\nG01 Z90.000");
    QTRY_COMPARE(canvas->Path()->MoveCount(), std::size_t{4});
  }
};

QTEST_MAIN(PreviewTest)
#include "PreviewTest.moc"
