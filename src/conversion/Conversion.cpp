#include "conversion/Conversion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "conversion/FloatError.h"
#include "conversion/LineFormatter.h"
#include "conversion/MachineDialect.h"

namespace torvane {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr std::size_t kNone = std::string_view::npos;

}  // namespace

void Conversion::BeginRun(long double diameter) {
  state_ = ConversionState{};
  warnings_.clear();
  warningsLeftOut_ = 0;
  firstLeftOutLine_ = 0;
  pendingMachinePositions_.clear();
  inchWarned_ = false;
  lineNumber_ = 0;
  state_.diameter = CheckReal(diameter);
  state_.circumference = CheckReal(kPi * diameter);
  // The quotient once per run: every angle is 360 - y * (360 / circumference).
  degreesPerUnit_ = CheckedDivide(360, state_.circumference);
}

void Conversion::EndRun() {
  if (!pendingMachinePositions_.empty()) {
    // No move follows: the machine position is the program's end position
    // and leaves the part alone.
    for (const MachinePositionBlock& block : pendingMachinePositions_) {
      Warn(block.line, block.code + " (Maschinenposition) weggelassen");
    }
    std::stable_sort(warnings_.begin(), warnings_.end(),
                     [](const ConversionWarning& a, const ConversionWarning& b) {
                       return a.line < b.line;
                     });
  }
  if (warningsLeftOut_ > 0) {
    warnings_.push_back({firstLeftOutLine_, "und " + std::to_string(warningsLeftOut_) +
                                                " weitere Warnungen ab dieser Zeile"});
  }
}

void Conversion::RunConversion(long double diameter, LineSource& source,
                               const std::vector<std::string>& header,
                               const std::vector<std::string>& footer, LineSink& target) {
  try {
    BeginRun(diameter);
  } catch (const FloatError& error) {
    throw ConversionError(0, error.what());
  }
  LineFormatter formatter(settings_, target);
  formatter_ = &formatter;
  try {
    ConvertRun(source, header, footer);
  } catch (...) {
    formatter_ = nullptr;
    // The lines before the stop stay in the target; what went wrong
    // there too matters less than the stop.
    try {
      formatter.Finish();
    } catch (...) {
    }
    throw;
  }
  formatter_ = nullptr;
  formatter.Finish();
}

void Conversion::ConvertRun(LineSource& source, const std::vector<std::string>& header,
                            const std::vector<std::string>& footer) {
  for (const std::string& line : header) AddLine(line);
  // Inverse time holds for the whole program, between header and footer.
  if (settings_.efeed == 2) AddLine(settings_.eg93);
  std::string_view line;
  while (source.Next(line)) {
    ++lineNumber_;
    try {
      ConvertBlock(line);
    } catch (const FloatError& error) {
      throw ConversionError(lineNumber_, error.what());
    }
  }
  EndRun();
  if (settings_.efeed == 2) AddLine(settings_.eg94);
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

void Conversion::AddLine(std::string_view line) { formatter_->AddText(line); }

void Conversion::AngleWord(OutputLine& line, long double y) {
  if (state_.angleKnown && y == state_.lastAngleY) {
    state_.angleChanged = false;
    return;
  }
  state_.previousAngle = state_.currentAngle;
  state_.currentAngle = RotaryAngle(y, degreesPerUnit_, settings_.erot == 1, settings_.einv);
  state_.angleChanged = !state_.angleKnown || state_.currentAngle != state_.previousAngle;
  state_.angleKnown = true;
  state_.lastAngleY = y;
  if (!state_.angleChanged) return;
  // Angles are whole thousandths of a degree: written from those.
  line.words |= OutputLine::kAngle;
  line.angleThousandths = std::rint(state_.currentAngle * 1000);
}

void Conversion::DirectionWord(OutputLine& line) {
  // A continuous axis turns the way the angle's sign says: no direction word.
  if (!state_.angleChanged || settings_.erot == 1) return;
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
  line.words |= positive ? OutputLine::kPositive : OutputLine::kNegative;
  state_.positiveInForce = positive;
  state_.negativeInForce = !positive;
}

void Conversion::WriteStraightMove(bool planeWord, bool zWord, long double zBefore) {
  const bool rapid = state_.motion == MotionMode::Rapid;
  OutputLine& line =
      formatter_->NewLine(rapid ? OutputLine::Code::Rapid : OutputLine::Code::Feed);
  // A block with a plane word and Z writes both in one line: axial first,
  // then radial.
  if (planeWord) {
    line.words |= OutputLine::kAxial;
    line.axial = CheckReal(state_.currentX);
  }
  if (zWord) {
    line.words |= OutputLine::kRadial;
    line.radial = CheckReal(state_.diameter + state_.currentZ);
  }
  AngleWord(line, state_.currentY);
  if (rapid && state_.angleChanged && (zBefore < 0 || state_.currentZ < 0)) {
    Warn("Eilgang dreht die Rundachse bei Z unter 0 (Werkzeug im Material)");
  }
  DirectionWord(line);
  // The line moves along X only when it writes the axial word, and radially
  // only when it writes the radial one; the angle always follows Y.
  const long double length = MoveTo(planeWord ? state_.currentX : state_.toolX, state_.currentY,
                                    zWord ? state_.currentZ : state_.toolZ);
  if (!rapid) {
    if (settings_.efeed == 2 && length == 0 && !state_.angleChanged) {
      // A feed move that goes nowhere (a repeated depth) has no time to
      // give, and a control in inverse time refuses a feed line without F.
      // It moves nothing, so it is left out, and the user told. (A line
      // that carries the run's first angle is never left out.)
      Warn("Vorschubbewegung der L\xE4nge 0 ausgelassen: inverse Zeit (" + settings_.eg93 +
           ") hat daf\xFCr kein F");
      return;
    }
    FeedWord(line, length);
  }
  formatter_->Emit();
}

long double Conversion::MoveTo(long double x, long double y, long double z) {
  // Only inverse time needs the length, or even the tool's place.
  if (settings_.efeed != 2) return 0;
  const long double dx = CheckReal(x - state_.toolX);
  const long double dy = CheckReal(y - state_.toolY);
  const long double dz = CheckReal(z - state_.toolZ);
  state_.toolX = x;
  state_.toolY = y;
  state_.toolZ = z;
  return CheckReal(std::sqrt(dx * dx + dy * dy + dz * dz));
}

void Conversion::FeedWord(OutputLine& line, long double length) {
  if (settings_.efeed == 1) {
    if (!state_.feedKnown || (state_.feedWritten && state_.writtenFeed == state_.feed)) return;
    line.words |= OutputLine::kFeed;
    line.feed = CheckReal(state_.feed);
    state_.feedWritten = true;
    state_.writtenFeed = state_.feed;
    return;
  }
  if (settings_.efeed != 2) return;
  if (!state_.feedKnown) {
    Refuse("Vorschubbewegung ohne Vorschub: inverse Zeit (" + settings_.eg93 +
           ") braucht vorher ein F");
  }
  if (state_.feed <= 0) {
    Refuse("Vorschub F muss f\xFCr inverse Zeit (" + settings_.eg93 +
           ") gr\xF6\xDF" "er als 0 sein");
  }
  if (length == 0) {
    Refuse("Vorschubbewegung der L\xE4nge 0: inverse Zeit (" + settings_.eg93 +
           ") hat daf\xFCr kein F");
  }
  // Per minute: the move takes length / F minutes, so the control runs it
  // in the programmed time with F / length.
  line.words |= OutputLine::kFeed;
  line.feed = CheckReal(CheckedDivide(state_.feed, length));
}

void Conversion::ConvertBlock(std::string_view rawLine) {
  const std::string_view code = CodeOf(rawLine);
  BlockWords words;
  ScanBlock(code, words);
  const bool hasX = words.at[kX] != kNone;
  const bool hasY = words.at[kY] != kNone;
  const bool hasZ = words.at[kZ] != kNone;
  const bool hasR = words.at[kR] != kNone;
  const bool hasCentre = words.at[kI] != kNone || words.at[kJ] != kNone;
  const bool arcMode =
      state_.motion == MotionMode::Clockwise || state_.motion == MotionMode::CounterClockwise;
  // Without feed words in the output the F is not even read, so a program
  // converts exactly as it always has.
  if (words.at[kF] != kNone && settings_.efeed != 0) {
    state_.feed = ReadWord(code, words, kF);
    state_.feedKnown = true;
  }

  if (!words.machinePosition.empty()) {
    // The block's axis words are the machine move's, not a move of the
    // part; they are checked but not converted.
    for (const Word word : {kX, kY, kZ, kR}) {
      if (words.at[word] != kNone) ReadWord(code, words, word);
    }
    if (pendingMachinePositions_.size() < kMaxWarnings) {
      pendingMachinePositions_.push_back({lineNumber_, std::string(words.machinePosition)});
    }
    return;
  }
  const bool moves = hasX || hasY || hasZ || (arcMode && hasCentre);
  if (moves && !pendingMachinePositions_.empty()) {
    const MachinePositionBlock& block = pendingMachinePositions_.front();
    throw ConversionError(block.line, block.code +
                                          " f\xE4hrt eine Maschinenposition an, die die "
                                          "Konvertierung nicht kennt, und danach folgen "
                                          "noch Bewegungen");
  }

  // In G91 the axis words are increments from where the tool stands.
  const long double zBefore = state_.currentZ;
  auto axis = [&](long double& current, long double value) {
    current = state_.incremental ? CheckReal(current + value) : value;
  };
  if (hasX) {
    state_.previousX = state_.currentX;
    axis(state_.currentX, ReadWord(code, words, kX));
  }
  if (hasY) {
    state_.previousY = state_.currentY;
    axis(state_.currentY, ReadWord(code, words, kY));
  }
  if (hasZ) axis(state_.currentZ, ReadWord(code, words, kZ));
  if (hasR) {
    state_.currentR = ReadWord(code, words, kR);
    state_.radiusGiven = true;
  }

  const bool planeWord = hasX || hasY;
  if (!arcMode) {
    if (planeWord || hasZ) WriteStraightMove(planeWord, hasZ, zBefore);
    return;
  }
  if (!planeWord && !hasCentre && state_.currentZ == zBefore) return;
  if (state_.plane != Plane::XY) {
    Refuse(std::string("Kreisbogen in der Ebene ") +
           (state_.plane == Plane::ZX ? "G18" : "G19") +
           " wird nicht unterst\xFCtzt (nur G17, Ebene XY)");
  }
  // Some controls read P in an arc block as a number of full turns.
  if (words.at[kP] != kNone) {
    Refuse("Kreisbogen mit P (mehrere Uml\xE4ufe) wird nicht unterst\xFCtzt");
  }
  // The arc starts where the tool stood before the block.
  if (!hasY) state_.previousY = state_.currentY;
  if (!hasX) state_.previousX = state_.currentX;
  ArcBlock arc{};
  arc.x1 = state_.previousX;
  arc.y1 = state_.previousY;
  arc.x2 = state_.currentX;
  arc.y2 = state_.currentY;
  arc.z1 = zBefore;
  arc.z2 = state_.currentZ;
  if (hasR || (!hasCentre && state_.radiusGiven)) {
    // R wins over I and J, as on most controls.
    if (hasCentre) Warn("R und I/J im selben Satz: R gilt, I und J werden nicht beachtet");
    arc.r = state_.currentR;
  } else if (hasCentre) {
    const long double i = words.at[kI] != kNone ? ReadWord(code, words, kI) : 0;
    const long double j = words.at[kJ] != kNone ? ReadWord(code, words, kJ) : 0;
    arc.byCentre = true;
    arc.cx = state_.centreAbsolute ? i : CheckReal(arc.x1 + i);
    arc.cy = state_.centreAbsolute ? j : CheckReal(arc.y1 + j);
  } else {
    Refuse("Kreisbogen ohne Radius (R) oder Mittelpunkt (I, J)");
  }
  ConvertArc(arc);
}

}  // namespace torvane
