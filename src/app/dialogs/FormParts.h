// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QWidget;

namespace torvane {

class TXPSpeedButton;

// Building blocks the program's windows share, so that their strips, boxes
// and buttons look alike.

// The windows' face: "MS Sans Serif" where it exists, else a sans-serif face
// of similar width, so that the fixed layouts keep their room.
QFont FormFont(int pixelSize = 11, bool bold = false);

// Colours given as 32-bit values with red in the lowest byte.
QColor ColourValue(quint32 value);

inline const QColor kNavy(0, 0, 128);
inline const QColor kSilver(192, 192, 192);
inline const QColor kHoverBlue(193, 224, 255);  // 16769217
inline const QColor kFieldYellow(255, 255, 128);

// A navy bar with a bold white caption.
QLabel* MakeStrip(QWidget* parent, const QString& caption, const QRect& geometry,
                  const QFont& font);
// A label whose top-left corner sits at `at`, sized to its text.
QLabel* MakeLabel(QWidget* parent, const QString& text, const QPoint& at);
// A box filled with `fill`, outlined by a one-pixel pen unless `outline` is
// invalid.
QFrame* MakeBox(QWidget* parent, const QRect& geometry, const QColor& fill,
                const QColor& outline = QColor(Qt::black));
// A flat command button: silver at rest, light blue under the mouse and
// while pressed, hand cursor.
TXPSpeedButton* MakeButton(QWidget* parent, const QString& caption, const QPixmap& glyph,
                           const QRect& geometry);
// An input field with the light-yellow background of the settings dialog.
void PaintFieldYellow(QLineEdit* field);

}  // namespace torvane
