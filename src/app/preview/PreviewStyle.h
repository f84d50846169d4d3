// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

#include <cmath>

// Colours, margins and number formats the preview's drawing shares.
namespace torvane::preview {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadians = kPi / 180;

inline const QColor kBackground(246, 247, 249);
inline const QColor kRapid(70, 70, 70);
// The depth colours run from blue through green and yellow to red, the
// highlight is magenta: the seam is black, dash-dotted, so that it reads as
// neither a cut nor a rapid.
inline const QColor kSeam(0, 0, 0);
inline const QColor kHighlight(220, 0, 220);
inline const QColor kInk(40, 40, 40);
// Room for the flat view's scales and titles, and the legend below.
constexpr int kLeftMargin = 84;
constexpr int kBottomMargin = 66;
// The band at the bottom of the cylinder view that the legend and the
// axes take.
constexpr int kLegendBand = 64;

// A step of 1, 2 or 5 times a power of ten, near `rough`.
inline double NiceStep(double rough) {
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * power >= rough) return factor * power;
  return 10 * power;
}

// Angle steps that divide the turn, so that the seam is a tick.
inline double NiceAngleStep(double rough) {
  for (const double step : {1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 45.0, 90.0})
    if (step >= rough) return step;
  return 180;
}

// Told to the user, so with the German decimal comma.
inline QString Number(double value, int decimals = 3) {
  return QString::number(value, 'f', decimals).replace(u'.', u',');
}

}  // namespace torvane::preview
