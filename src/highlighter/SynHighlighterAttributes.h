// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace torvane {

// Colours are 32-bit values with red in the lowest byte, then green, then
// blue, as the program's settings and the panes store them.
using TColor = std::uint32_t;

// The attribute has no colour of its own: the pane draws with its own.
inline constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor RGBColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return TColor{red} | (TColor{green} << 8) | (TColor{blue} << 16);
}

// A set of font styles, one bit each.
enum TFontStyle : std::uint8_t {
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};
using TFontStyles = std::uint8_t;

// One drawing attribute of a highlighter: colours and font style of the
// tokens drawn with it. The owner learns of every real change through the
// change handler, so that panes repaint only when something differs.
class TSynHighlighterAttributes {
 public:
  using ChangeHandler = std::function<void(TSynHighlighterAttributes&)>;

  explicit TSynHighlighterAttributes(std::string name) : name_(std::move(name)) {}
  TSynHighlighterAttributes(const TSynHighlighterAttributes&) = delete;
  TSynHighlighterAttributes& operator=(const TSynHighlighterAttributes&) = delete;

  const std::string& Name() const { return name_; }

  TColor Background() const { return background_; }
  TColor Foreground() const { return foreground_; }
  TFontStyles Style() const { return style_; }

  void SetBackground(TColor value) { Assign(background_, value); }
  void SetForeground(TColor value) { Assign(foreground_, value); }
  void SetStyle(TFontStyles value) { Assign(style_, value); }

  void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }

 private:
  template <typename T>
  void Assign(T& field, T value) {
    if (field == value) return;
    field = value;
    if (onChange_) onChange_(*this);
  }

  const std::string name_;
  TColor background_ = clNone;
  TColor foreground_ = clNone;
  TFontStyles style_ = 0;
  ChangeHandler onChange_;
};

}  // namespace torvane
