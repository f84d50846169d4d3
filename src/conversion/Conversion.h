#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/ConversionState.h"
#include "conversion/LineSink.h"

namespace torvane {

// A run stopped at a source line. The message names the 1-based line so that
// the user finds the block in the source pane or file.
class ConversionError : public std::runtime_error {
 public:
  ConversionError(std::size_t line, const std::string& reason)
      : std::runtime_error("Zeile " + std::to_string(line) + ": " + reason),
        line_(line),
        reason_(reason) {}
  std::size_t line() const { return line_; }
  const std::string& reason() const { return reason_; }

 private:
  std::size_t line_;
  std::string reason_;
};

// Something in the source that the run converted but the user should know
// about (an inch program, a radius too short for its chord, ...). `line` is
// the 1-based source line; the text is German, Windows-1252.
struct ConversionWarning {
  std::size_t line = 0;
  std::string text;
  bool operator==(const ConversionWarning&) const = default;
};

// An arc that cannot be converted (start and end point coincide).
class ArcError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Polar angle of (px, py) around (cx, cy) in degrees, 0 to 360.
long double PointAngle(long double px, long double py, long double cx, long double cy,
                       long double rAbs);

// Wraps a flat XYZ program around a cylinder: X becomes Z along the axis,
// Y the rotary-axis angle, Z the radial position X = D + Z.
class Conversion {
 public:
  Conversion() = default;
  explicit Conversion(ConversionSettings settings) : settings_(std::move(settings)) {}

  ConversionSettings& Settings() { return settings_; }
  const ConversionSettings& Settings() const { return settings_; }
  const ConversionState& State() const { return state_; }
  // The warnings of the last run, in source order; every run starts afresh.
  const std::vector<ConversionWarning>& Warnings() const { return warnings_; }

  // The whole run: header lines as they are, every source line converted,
  // footer lines. Raises ConversionError naming the source line that stopped
  // it; the lines appended before stay in `target`.
  void RunConversion(long double diameter, LineSource& source,
                     const std::vector<std::string>& header,
                     const std::vector<std::string>& footer, LineSink& target);
  void RunConversion(long double diameter, const std::vector<std::string>& source,
                     const std::vector<std::string>& header,
                     const std::vector<std::string>& footer, std::vector<std::string>& target);

  // The pieces of a run, for callers and tests that drive blocks one by one.
  void BeginRun(long double diameter, LineSink& target);
  void AddLine(std::string_view line);
  void ConvertBlock(std::string_view line);

  static long double ReadWordValue(char letter, std::string_view line);
  void UpdateAngle(long double y);
  void AppendAngleWord(std::string& line, long double y);
  void AppendDirectionWord(std::string& line);
  void ConvertArc(long double x1, long double y1, long double x2, long double y2, long double r);

 private:
  std::string_view CodeOf(std::string_view line);
  // The word's value when its letter stands at `at` (npos: absent).
  static long double ReadWordValueAt(std::string_view line, std::size_t at);
  void ReadMotionMode(std::string_view code);
  void AppendValue(std::string& out, long double value);
  void WriteStraightMove(bool planeWord, bool zWord);
  // A linearised arc's line: feed code, the axial word for source X, the
  // angle word for source Y.
  void WriteFeedLine(long double x, long double y);

  struct StepTrig {
    long double sine = 0;
    long double cosine = 0;
  };
  // Sine and cosine of index * step degrees.
  const StepTrig& StepTable(int step, std::size_t index);

  ConversionSettings settings_;
  ConversionState state_;
  std::vector<ConversionWarning> warnings_;
  long double degreesPerUnit_ = 0;
  LineSink* target_ = nullptr;
  // Scratch buffers reused from block to block: a long program would
  // otherwise allocate for every line.
  std::string code_;
  std::string line_;
  std::string numbered_;
  std::vector<StepTrig> stepTable_;
  int stepTableDegrees_ = 0;
};

}  // namespace torvane
