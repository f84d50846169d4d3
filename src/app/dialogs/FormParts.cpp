// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/FormParts.h"

#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "app/widgets/TXPSpeedButton.h"

namespace torvane {

QFont FormFont(int pixelSize, bool bold) {
  QFont font;
  // Helvetica-like faces come closest to the widths the layouts were made
  // for; a wide face would push labels into the fields beside them.
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
  font.setStyleHint(QFont::SansSerif);
  // Those faces still run about five percent wider than the original at
  // this size; narrowing them keeps labels clear of the lines beside them.
  const QString face = QFontInfo(font).family();
  if (!face.startsWith(QLatin1String("MS Sans Serif")) &&
      !face.startsWith(QLatin1String("Microsoft Sans Serif")))
    font.setStretch(95);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

QColor ColourValue(quint32 value) {
  return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QLabel* MakeStrip(QWidget* parent, const QString& caption, const QRect& geometry,
                  const QFont& font) {
  auto* strip = new QLabel(caption, parent);
  strip->setGeometry(geometry);
  strip->setFont(font);
  strip->setIndent(6);
  strip->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  strip->setAutoFillBackground(true);
  QPalette palette = strip->palette();
  palette.setColor(QPalette::Window, kNavy);
  palette.setColor(QPalette::WindowText, Qt::white);
  strip->setPalette(palette);
  return strip;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QPoint& at) {
  auto* label = new QLabel(text, parent);
  label->move(at);
  label->adjustSize();
  return label;
}

QFrame* MakeBox(QWidget* parent, const QRect& geometry, const QColor& fill,
                const QColor& outline) {
  auto* box = new QFrame(parent);
  box->setGeometry(geometry);
  box->setAutoFillBackground(fill.isValid());
  QPalette palette = box->palette();
  if (fill.isValid()) palette.setColor(QPalette::Window, fill);
  if (outline.isValid()) {
    palette.setColor(QPalette::WindowText, outline);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
  }
  box->setPalette(palette);
  return box;
}

TXPSpeedButton* MakeButton(QWidget* parent, const QString& caption, const QPixmap& glyph,
                           const QRect& geometry) {
  auto* button = new TXPSpeedButton(parent);
  button->setGeometry(geometry);
  button->SetCaption(caption);
  if (!glyph.isNull()) button->SetGlyph(glyph);
  button->SetBrushNormal(kSilver);
  button->SetBrushActive(kHoverBlue);
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

void PaintFieldYellow(QLineEdit* field) {
  // A style sheet rather than the palette: the platform style may ignore a
  // palette base colour, and the thin border keeps the fields compact.
  field->setStyleSheet(QStringLiteral(
      "QLineEdit { border: 1px solid #7a7a7a; background: #ffff80; padding: 0px 2px; }"
      "QLineEdit:read-only { background: #ffff80; }"));
}

}  // namespace torvane
