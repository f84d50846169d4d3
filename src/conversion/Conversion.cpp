#include "conversion/Conversion.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "conversion/FloatError.h"
#include "conversion/NCMath.h"

namespace torvane {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
// 180/pi as the machine programs have always been computed with.
constexpr long double kDegreesPerRadian = 57.29577951308232L;

constexpr long double kPow10[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                  1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of decimal digits (a point may stand among them, `fractionDigits`
// counts the digits after it). Up to 19 significant digits the quotient of two
// exact extended reals is correctly rounded; longer runs go through
// from_chars, which is exact too.
long double DecimalValue(std::string_view digits, int fractionDigits) {
  std::uint64_t mantissa = 0;
  int significant = 0;
  bool small = true;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (digits[i] == '.') continue;
    if (significant == 0 && digits[i] == '0') continue;
    if (++significant > 19) {
      small = false;
      break;
    }
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(digits[i] - '0');
  }
  if (small && fractionDigits <= 19) {
    return static_cast<long double>(mantissa) / kPow10[fractionDigits];
  }
  long double value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Out of range with a non-zero digit before the point is too large;
    // otherwise it is too small to matter and reads as 0.
    const std::string_view whole = digits.substr(0, digits.find('.'));
    if (whole.find_first_of("123456789") != std::string_view::npos)
      throw FloatError(FloatError::Kind::Overflow);
    return 0;
  }
  return CheckReal(value);
}

// The collected text of an address word, blanks removed, read the forgiving
// way NC programs have always been read: a malformed number counts its digits
// up to the fault as one whole number, without sign or point.
long double ParseWordText(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t bodyStart = i;
  bool point = false;
  int fractionDigits = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      if (point) ++fractionDigits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (i == text.size()) {
    const long double value = DecimalValue(text.substr(bodyStart), fractionDigits);
    return negative ? -value : value;
  }
  std::string digits;
  for (std::size_t j = bodyStart; j < i; ++j)
    if (IsDigit(text[j])) digits += text[j];
  return DecimalValue(digits, 0);
}

// Sine and cosine of an angle in degrees. Taking out the quarter turns in
// degrees first is exact (whole multiples of 90 off a value below a few
// thousand), and leaves the library an argument within a quarter of pi,
// where it needs no costly reduction of its own.
void SinCosDegrees(long double degrees, long double& sine, long double& cosine) {
  const long double quarters = std::rint(degrees / 90);
  const long double rest = degrees - quarters * 90;
  const long double radians = rest * kPi / 180;
  long double s = 0;
  long double c = 0;
#if (defined(__x86_64__) || defined(__i386__)) && !defined(TORVANE_PORTABLE_MATH)
  // Within a quarter of pi the FPU's own instruction is accurate to the last
  // bit or so, and several times faster than the library's routines.
  __asm__("fsincos" : "=t"(c), "=u"(s) : "0"(radians));
#else
  s = std::sin(radians);
  c = std::cos(radians);
#endif
  switch (std::llrint(quarters) & 3) {
    case 0: sine = s; cosine = c; break;
    case 1: sine = c; cosine = -s; break;
    case 2: sine = -s; cosine = -c; break;
    default: sine = -c; cosine = s; break;
  }
}

}  // namespace

long double PointAngle(long double px, long double py, long double cx, long double cy,
                       long double rAbs) {
  long double f = CheckedDivide(CheckReal(px - cx), rAbs);
  if (f > 1) f = 1;
  if (f < -1) f = -1;
  long double a = std::atan2(std::sqrt(1 - f * f), f) * kDegreesPerRadian;
  if (cy > py) a = 360 - a;
  return a;
}

const Conversion::StepTrig& Conversion::StepTable(int step, std::size_t index) {
  if (stepTableDegrees_ != step) {
    // One row per whole step up to a full turn: a sweep never exceeds 360.
    stepTable_.clear();
    for (long long turn = 0; turn <= 360; turn += step) {
      StepTrig row;
      SinCosDegrees(static_cast<long double>(turn), row.sine, row.cosine);
      stepTable_.push_back(row);
    }
    stepTableDegrees_ = step;
  }
  return stepTable_[index];
}

long double Conversion::ReadWordValue(char letter, std::string_view line) {
  return ReadWordValueAt(line, line.find(letter));
}

long double Conversion::ReadWordValueAt(std::string_view line, std::size_t at) {
  if (at == std::string_view::npos || at + 1 >= line.size()) return 0;

  // Collect blanks, signs, points and digits; blanks vanish. A "+" counts
  // only as the word's sign, before any other character.
  char buffer[64];
  std::string overflow;
  std::size_t length = 0;
  bool onlyBlanks = true;
  auto push = [&](char c) {
    if (length < sizeof buffer) {
      buffer[length++] = c;
    } else {
      if (overflow.empty()) overflow.assign(buffer, length);
      overflow += c;
      ++length;
    }
  };
  for (std::size_t i = at + 1; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ' ') continue;
    if (c == '-' || c == '.' || IsDigit(c) || (c == '+' && onlyBlanks)) {
      push(c);
      onlyBlanks = false;
      continue;
    }
    break;
  }
  if (length == 0) return 0;
  const std::string_view text =
      overflow.empty() ? std::string_view(buffer, length) : std::string_view(overflow);
  return ParseWordText(text);
}

std::string_view Conversion::CodeOf(std::string_view line) {
  bool hasComment = false;
  for (const char c : line) {
    if (c == '(' || c == ';') {
      hasComment = true;
      break;
    }
  }
  if (!hasComment) return line;
  // Comments take no part in finding words: "(" up to the first ")" (or the
  // line's end when unclosed), and ";" to the end of the line.
  code_.clear();
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ';') break;
    if (c == '(') {
      const std::size_t close = line.find(')', i + 1);
      if (close == std::string_view::npos) break;
      i = close;
      continue;
    }
    code_ += c;
  }
  return code_;
}

void Conversion::ReadMotionMode(std::string_view code) {
  // G words are numbers: G0/G00 rapid, G1/G01 feed, G2/G02 clockwise,
  // G3/G03 counter-clockwise; any other G number leaves the mode, and of
  // several motion words the last one wins.
  std::size_t at = code.find('G');
  while (at != std::string_view::npos) {
    std::size_t i = at + 1;
    while (i < code.size() && code[i] == ' ') ++i;
    const std::size_t digitsStart = i;
    unsigned number = 0;
    while (i < code.size() && IsDigit(code[i])) {
      if (number < 1000) number = number * 10 + static_cast<unsigned>(code[i] - '0');
      ++i;
    }
    const bool hasDigits = i > digitsStart;
    const bool extendedCode = i < code.size() && code[i] == '.';  // G2.1 and the like
    if (hasDigits && !extendedCode) {
      switch (number) {
        case 0: state_.motion = MotionMode::Rapid; break;
        case 1: state_.motion = MotionMode::Feed; break;
        case 2: state_.motion = MotionMode::Clockwise; break;
        case 3: state_.motion = MotionMode::CounterClockwise; break;
        default: break;
      }
    }
    at = code.find('G', at + 1);
  }
}

void Conversion::AppendValue(std::string& out, long double value) {
  AppendFormatNC(out, settings_.format, CheckReal(value));
}

void Conversion::BeginRun(long double diameter, LineSink& target) {
  target_ = &target;
  state_ = ConversionState{};
  warnings_.clear();
  state_.blockCounter = settings_.format.Satzstart;
  state_.diameter = CheckReal(diameter);
  state_.circumference = CheckReal(kPi * diameter);
  // The quotient once per run: every angle is 360 - y * (360 / circumference).
  degreesPerUnit_ = CheckedDivide(360, state_.circumference);
}

void Conversion::RunConversion(long double diameter, LineSource& source,
                               const std::vector<std::string>& header,
                               const std::vector<std::string>& footer, LineSink& target) {
  try {
    BeginRun(diameter, target);
  } catch (const FloatError& error) {
    throw ConversionError(0, error.what());
  }
  for (const std::string& line : header) AddLine(line);
  std::string_view line;
  std::size_t number = 0;
  while (source.Next(line)) {
    ++number;
    try {
      ConvertBlock(line);
    } catch (const FloatError& error) {
      throw ConversionError(number, error.what());
    } catch (const ArcError& error) {
      throw ConversionError(number, error.what());
    }
  }
  for (const std::string& footerLine : footer) AddLine(footerLine);
}

void Conversion::RunConversion(long double diameter, const std::vector<std::string>& source,
                               const std::vector<std::string>& header,
                               const std::vector<std::string>& footer,
                               std::vector<std::string>& target) {
  VectorSource lines(source);
  VectorSink sink(target);
  RunConversion(diameter, lines, header, footer, sink);
}

void Conversion::AddLine(std::string_view line) {
  if (!settings_.enum_) {
    target_->Append(line);
    return;
  }
  if (!line.empty() && line.front() == '-') {
    // A leading "-" asks for a line without block number.
    target_->Append(line.substr(1));
    return;
  }
  numbered_.clear();
  numbered_ += settings_.format.Satzzeichen;
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, state_.blockCounter);
  numbered_.append(digits, result.ptr);
  numbered_ += ' ';
  numbered_ += line;
  target_->Append(numbered_);
  // 32-bit block numbers wrap around like the controllers' counters.
  state_.blockCounter = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(state_.blockCounter) +
      static_cast<std::uint32_t>(settings_.format.Satzschritt));
}

void Conversion::UpdateAngle(long double y) {
  if (y == state_.lastAngleY) {
    state_.angleChanged = false;
    return;
  }
  state_.previousAngle = state_.currentAngle;
  long double a = CheckReal(360 - y * degreesPerUnit_);
  // Thousandths of a degree, ties to even (rint rounds in the default mode
  // without nearbyint's costly save and restore of the FPU state).
  a = CheckReal(std::rint(CheckReal(a * 1000))) / 1000;
  if (a == 360) a = 0;
  state_.currentAngle = a;
  state_.angleChanged = state_.currentAngle != state_.previousAngle;
  state_.lastAngleY = y;
}

void Conversion::AppendAngleWord(std::string& line, long double y) {
  UpdateAngle(y);
  if (!state_.angleChanged) return;
  line += ' ';
  line += settings_.axis;
  AppendValue(line, state_.currentAngle);
}

void Conversion::AppendDirectionWord(std::string& line) {
  if (!state_.angleChanged) return;
  const long double previous = state_.previousAngle;
  const long double current = state_.currentAngle;
  bool positive = false;
  // Angle 0 is read as 360 when moving onto it from above or off it upwards:
  // the rotary axis keeps turning the same way across the seam.
  if (previous > 0 && current == 0 && !state_.positiveInForce) {
    positive = true;
  } else if (previous == 0 && current > 0 && !state_.negativeInForce) {
    positive = false;
  } else if (current < previous && !state_.negativeInForce) {
    positive = false;
  } else if (current > previous && !state_.positiveInForce) {
    positive = true;
  } else {
    return;
  }
  line += ' ';
  line += positive ? settings_.edp : settings_.edn;
  state_.positiveInForce = positive;
  state_.negativeInForce = !positive;
}

void Conversion::WriteStraightMove(bool planeWord, bool zWord) {
  line_.clear();
  const bool rapid = state_.motion == MotionMode::Rapid;
  line_ += rapid ? settings_.eg0 : settings_.eg1;
  // A block with a plane word and Z writes both in one line: axial first,
  // then radial.
  if (planeWord) {
    line_ += " Z";
    AppendValue(line_, state_.currentX);
  }
  if (zWord) {
    line_ += " X";
    AppendValue(line_, CheckReal(state_.diameter + state_.currentZ));
  }
  AppendAngleWord(line_, state_.currentY);
  AppendDirectionWord(line_);
  AddLine(line_);
}

void Conversion::WriteFeedLine(long double x, long double y) {
  line_.clear();
  line_ += settings_.eg1;
  line_ += " Z";
  AppendValue(line_, x);
  AppendAngleWord(line_, y);
  AppendDirectionWord(line_);
  AddLine(line_);
}

void Conversion::ConvertBlock(std::string_view rawLine) {
  const std::string_view code = CodeOf(rawLine);
  ReadMotionMode(code);

  // Where each word stands first, in one pass over the block.
  constexpr std::size_t kNone = std::string_view::npos;
  std::size_t xAt = kNone;
  std::size_t yAt = kNone;
  std::size_t zAt = kNone;
  std::size_t rAt = kNone;
  for (std::size_t i = 0; i < code.size(); ++i) {
    std::size_t* first = nullptr;
    switch (code[i]) {
      case 'X': first = &xAt; break;
      case 'Y': first = &yAt; break;
      case 'Z': first = &zAt; break;
      case 'R': first = &rAt; break;
      default: continue;
    }
    if (*first == kNone) *first = i;
  }
  const bool hasX = xAt != kNone;
  const bool hasY = yAt != kNone;
  const bool hasZ = zAt != kNone;
  if (hasX) {
    state_.previousX = state_.currentX;
    state_.currentX = ReadWordValueAt(code, xAt);
  }
  if (hasY) {
    state_.previousY = state_.currentY;
    state_.currentY = ReadWordValueAt(code, yAt);
  }
  if (hasZ) state_.currentZ = ReadWordValueAt(code, zAt);
  if (rAt != kNone) state_.currentR = ReadWordValueAt(code, rAt);

  const bool planeWord = hasX || hasY;
  switch (state_.motion) {
    case MotionMode::Rapid:
    case MotionMode::Feed:
      if (planeWord || hasZ) WriteStraightMove(planeWord, hasZ);
      break;
    case MotionMode::Clockwise:
    case MotionMode::CounterClockwise:
      if (!planeWord) break;
      // The arc starts where the tool stood before the block.
      if (!hasY) state_.previousY = state_.currentY;
      if (!hasX) state_.previousX = state_.currentX;
      ConvertArc(state_.previousX, state_.previousY, state_.currentX, state_.currentY,
                 state_.currentR);
      break;
  }
}

void Conversion::ConvertArc(long double x1, long double y1, long double x2, long double y2,
                            long double r) {
  // With arc output switched off the block only moves the remembered position.
  if (settings_.type != 1 && settings_.type != 2) return;

  const bool clockwise = state_.motion == MotionMode::Clockwise;
  long double cx = 0;
  long double cy = 0;
  if (ArcCenter(clockwise ? 1 : 0, cx, cy, x1, y1, x2, y2, r) ==
      ArcCenterReport::CoincidentPoints) {
    throw ArcError("Start- und Endpunkt des Kreisbogens fallen zusammen");
  }

  long double rAbs = std::fabs(r);
  if (r != 0) {
    // A radius shorter than half the chord cannot reach both points; step
    // on the half circle through them instead of a circle that misses one.
    const long double halfChord = CheckReal(std::hypot(x2 - x1, y2 - y1) / 2);
    if (rAbs < halfChord) rAbs = halfChord;
  }
  const long double start = PointAngle(x1, y1, cx, cy, rAbs);
  const long double end = PointAngle(x2, y2, cx, cy, rAbs);

  long double sweep = 0;
  if (clockwise)
    sweep = end < start ? start - end : 360 - end + start;
  else
    sweep = end > start ? end - start : 360 - start + end;
  // Whole degrees, ties to even; the sweep lies between 0 and 360.
  int remaining = static_cast<int>(std::lrint(sweep));

  if (settings_.type == 1) {
    // A step below one degree would never finish the arc.
    const int step = settings_.deg < 1 ? 1 : settings_.deg;
    bool first = true;
    // Step j lies j whole steps from the start: its sine and cosine follow
    // from the start's and the step table's by the angle-sum rule, as
    // accurate as evaluating each point afresh and several times cheaper.
    long double startSine = 0;
    long double startCosine = 0;
    SinCosDegrees(start, startSine, startCosine);
    std::size_t j = 0;
    while (remaining > 0) {
      // The first pass stands on the start point, which the previous line
      // has reached already.
      if (!first) {
        const StepTrig& turn = StepTable(step, j);
        const long double sine = clockwise
                                     ? startSine * turn.cosine - startCosine * turn.sine
                                     : startSine * turn.cosine + startCosine * turn.sine;
        const long double cosine = clockwise
                                       ? startCosine * turn.cosine + startSine * turn.sine
                                       : startCosine * turn.cosine - startSine * turn.sine;
        WriteFeedLine(CheckReal(cosine * rAbs + cx), CheckReal(sine * rAbs + cy));
      }
      remaining -= step;
      first = false;
      ++j;
    }
    WriteFeedLine(x2, y2);
    return;
  }

  line_.clear();
  line_ += clockwise ? settings_.eg2 : settings_.eg3;
  line_ += " Z";
  AppendValue(line_, x2);
  AppendAngleWord(line_, y2);
  line_ += ' ';
  line_ += settings_.erad;
  AppendValue(line_, r);
  AppendDirectionWord(line_);
  AddLine(line_);
}

}  // namespace torvane
