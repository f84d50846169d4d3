// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewRaster.h"

#include <algorithm>
#include <cmath>

namespace torvane {

LineRaster::LineRaster(QImage& image, QRect clip)
    : bits_(reinterpret_cast<QRgb*>(image.bits())),
      width_(image.width()),
      clip_(clip.intersected(image.rect())),
      stride_(image.bytesPerLine() / 4),
      ranks_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(image.height()), 255) {}

void LineRaster::Line(float x0, float y0, float x1, float y1, QRgb color, std::uint8_t rank,
                       int dash, int& phase) {
  // Clip to the image (Liang-Barsky): a zoomed-in view may hold segments
  // thousands of pixels long of which only a few are on screen.
  const float dx = x1 - x0;
  const float dy = y1 - y0;
  float t0 = 0;
  float t1 = 1;
  if (clip_.isEmpty()) return;
  const auto minX = static_cast<float>(clip_.left());
  const auto minY = static_cast<float>(clip_.top());
  const auto maxX = static_cast<float>(clip_.right());
  const auto maxY = static_cast<float>(clip_.bottom());
  const float p[4] = {-dx, dx, -dy, dy};
  const float q[4] = {x0 - minX, maxX - x0, y0 - minY, maxY - y0};
  // Most segments lie inside: they need no division.
  const bool inside = x0 >= minX && x1 >= minX && y0 >= minY && y1 >= minY && x0 <= maxX &&
                      x1 <= maxX && y0 <= maxY && y1 <= maxY;
  for (int i = inside ? 4 : 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return;
      continue;
    }
    const float t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return;
      t1 = std::min(t1, t);
    }
  }
  const float ax = x0 + t0 * dx;
  const float ay = y0 + t0 * dy;
  const float bx = x0 + t1 * dx;
  const float by = y0 + t1 * dy;
  const int steps = static_cast<int>(std::ceil(std::max(std::fabs(bx - ax), std::fabs(by - ay))));
  const float stepX = steps > 0 ? (bx - ax) / static_cast<float>(steps) : 0;
  const float stepY = steps > 0 ? (by - ay) / static_cast<float>(steps) : 0;
  float x = ax + 0.5f;
  float y = ay + 0.5f;
  for (int i = 0; i <= steps; ++i, x += stepX, y += stepY) {
    if (dash > 0 && ((phase++ / dash) & 1) != 0) continue;
    const int px = std::clamp(static_cast<int>(x), clip_.left(), clip_.right());
    const int py = std::clamp(static_cast<int>(y), clip_.top(), clip_.bottom());
    std::uint8_t& pixelRank = ranks_[static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) +
                                     static_cast<std::size_t>(px)];
    if (rank > pixelRank) continue;
    pixelRank = rank;
    bits_[py * stride_ + px] = color;
  }
}

}  // namespace torvane
