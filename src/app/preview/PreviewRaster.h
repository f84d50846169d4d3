// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace torvane {

// One-pixel lines written straight into an image's pixels. For a program of
// a million lines this is several times faster than QPainter, whose general
// stroker costs more per segment than the few pixels each segment covers.
class LineRaster {
 public:
  // `image` must be Format_ARGB32_Premultiplied or Format_RGB32. Every
  // pixel keeps the rank of what was drawn on it: a line covers only pixels
  // of its own rank or a higher one, so that what matters most stays on top
  // whatever the order of drawing.
  // Lines are clipped to `clip`, a rectangle inside the image.
  LineRaster(QImage& image, QRect clip);

  // From (x0, y0) to (x1, y1) in pixel coordinates, clipped to the image.
  // `dash` > 0 draws `dash` pixels, leaves `dash` out, and so on; `phase`
  // counts the pixels along the stroke so that a dashed move keeps its
  // rhythm over many segments.
  void Line(float x0, float y0, float x1, float y1, QRgb color, std::uint8_t rank, int dash,
            int& phase);

 private:
  QRgb* bits_;
  int width_;
  QRect clip_;
  qsizetype stride_;  // in pixels
  std::vector<std::uint8_t> ranks_;  // 255 above the background
};

}  // namespace torvane
