// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/Conversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "conversion/FloatError.h"
#include "conversion/LineFormatter.h"
#include "conversion/MachineDialect.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr std::size_t kNone = std::string_view::npos;

// Whole thousandths of a degree reduced into one turn, [0, 360000); fmod is
// exact, so the reduced angle keeps every digit of the written one.
long double ReducedThousandths(long double thousandths) {
  long double reduced = std::fmod(thousandths, 360000.0L);
  if (reduced < 0) reduced += 360000;
  return reduced == 0 ? 0 : reduced;  // never -0, which would be written with its sign
}

}  // namespace

void Conversion::BeginRun(long double diameter) {
  state_ = ConversionState{};
  warnings_.clear();
  warningsLeftOut_ = 0;
  firstLeftOutLine_ = 0;
  pendingMachinePositions_.clear();
  inchWarned_ = false;
  units_ = Units::Unnamed;
  moved_ = false;
  endLine_ = 0;
  afterEndWarned_ = false;
  for (int k = 0; k < 3; ++k) {
    shift_[k] = localShift_[k] = g92_[k] = g92Kept_[k] = 0;
  }
  shifted_ = false;
  g92ZeroKnown_ = true;
  g92KeptKnown_ = true;
  workSystem_ = 1;
  depthUnknown_ = false;
  depthNamed_ = false;
  cycle_ = CycleState{};
  returnToInitial_ = true;
  motionEnded_ = false;
  ReadNeutralCodes(settings_.eneutral, neutralCodes_);
  lineNumber_ = 0;
  state_.diameter = CheckReal(diameter);
  state_.circumference = CheckReal(kPi * diameter);
  // The quotient once per run: every angle is 360 - y * (360 / circumference).
  degreesPerUnit_ = CheckedDivide(360, state_.circumference);
  // A modulo axis reaches a new angle in less than a whole turn, the way
  // of the word in force; without words, the shorter way.
  longestTurn_ = settings_.erot == 1            ? std::numeric_limits<long double>::infinity()
                 : DirectionWordsWritten() ? 360
                                           : 180;
  // Lengths of turns are measured on the cylinder of the diameter; the
  // tool tip turns on its radius plus the depth.
  feedAtToolRadius_ = settings_.efeed == 2 && settings_.efrad == 1;
  toolRadius_ = state_.diameter / 2;
  feedCap_ = settings_.efmax > 0 ? settings_.efmax : std::numeric_limits<long double>::infinity();
  feedCapWarned_ = false;
  // A continuous axis's angles are never reduced: their differences are
  // the turns.
  reduceAngles_ = settings_.ereduce && settings_.erot != 1;
  watchWinding_ = settings_.erot == 1 && settings_.ewind > 0;
  windingWarned_ = false;
  lowestAngle_ = std::numeric_limits<long double>::infinity();
  highestAngle_ = -std::numeric_limits<long double>::infinity();
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
  LineFormatter formatter(settings_, target, formatOnSecondThread_);
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
  // The last move is done: a continuous axis is set back into one turn
  // before the mode switch and the footer, so that the next program's
  // first angle does not unwind every turn this one collected.
  if (settings_.erot == 1 && !settings_.eunw.empty() && state_.angleKnown) AddLine(UnwindLine());
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

bool Conversion::DirectionWordsWritten() const {
  return settings_.erot != 1 && !settings_.edp.empty() && !settings_.edn.empty();
}

std::int64_t Conversion::LongTurnPieces(long double y) const {
  if (!state_.angleKnown) return 1;
  const long double most = longestTurn_;
  const long double turn = std::fabs(
      TrueRotaryAngle(y, degreesPerUnit_, false, settings_.einv) - state_.currentAngle);
  if (turn < most) return 1;
  // Pieces a degree short of the limit stay clear of it after their angles
  // are rounded.
  return static_cast<std::int64_t>(std::ceil(turn / (most - 1)));
}

void Conversion::AngleWord(OutputLine& line, long double y) {
  if (state_.angleKnown && y == state_.lastAngleY) {
    state_.angleChanged = false;
    return;
  }
  const bool continuous = settings_.erot == 1;
  state_.previousAngle = state_.currentAngle;
  state_.currentAngle = TrueRotaryAngle(y, degreesPerUnit_, continuous, settings_.einv);
  if (std::fabs(state_.currentAngle - state_.previousAngle) >= longestTurn_ &&
      state_.angleKnown) {
    RefuseTurn();  // straight moves come here in pieces; an arc's line cannot be cut
  }
  state_.angleChanged = !state_.angleKnown || state_.currentAngle != state_.previousAngle;
  state_.angleKnown = true;
  state_.lastAngleY = y;
  if (!state_.angleChanged) return;
  if (watchWinding_) [[unlikely]] WatchWinding();
  // Angles are whole thousandths of a degree: written from those.
  line.words |= OutputLine::kAngle;
  long double thousandths = std::rint(WrittenAngle(state_.currentAngle, continuous) * 1000);
  // Reduced only where written: the direction words and the turn checks
  // keep to the true angle, since the turn the axis makes is the same.
  if (reduceAngles_) [[unlikely]] thousandths = ReducedThousandths(thousandths);
  line.angleThousandths = thousandths;
}

void Conversion::WatchWinding() {
  lowestAngle_ = std::min(lowestAngle_, state_.currentAngle);
  highestAngle_ = std::max(highestAngle_, state_.currentAngle);
  if (windingWarned_ || highestAngle_ - lowestAngle_ <= settings_.ewind * 360) return;
  windingWarned_ = true;
  char turns[64];
  const auto end = std::to_chars(turns, turns + sizeof turns, settings_.ewind).ptr;
  Warn("Rundachse fortlaufend: die Winkel umfassen hier mehr als " +
       std::string(turns, end) + " Umdrehungen (" + settings_.axis +
       ThousandthsText(std::rint(lowestAngle_ * 1000)) + " bis " + settings_.axis +
       ThousandthsText(std::rint(highestAngle_ * 1000)) + ")");
}

std::string Conversion::ThousandthsText(long double thousandths) const {
  std::string text(kMaxFormatNCLength + 32, '\0');
  const char* end = WriteFormatNCThousandths(text.data(), settings_.format, thousandths);
  text.resize(static_cast<std::size_t>(end - text.data()));
  return text;
}

std::string Conversion::UnwindLine() const {
  // The final angle as written, reduced: where the axis stands within its
  // turn.
  const std::string angle =
      ThousandthsText(ReducedThousandths(std::rint(state_.currentAngle * 1000)));
  const std::string_view pattern = settings_.eunw;
  std::string line;
  std::size_t from = 0;
  for (std::size_t at; (at = pattern.find("{C}", from)) != kNone; from = at + 3) {
    line.append(pattern.substr(from, at - from));
    line += angle;
  }
  line.append(pattern.substr(from));
  return line;
}

void Conversion::RefuseTurn() const {
  Refuse(DirectionWordsWritten()
             ? Cp1252("Ein Satz dreht die Rundachse um 360° oder mehr: das kann eine "
                      "Modulo-Rundachse nicht in einem Satz ausführen")
             : Cp1252("Ein Satz dreht die Rundachse um 180° oder mehr: ohne Drehrichtungswörter "
                      "nimmt die Modulo-Rundachse den kürzeren Weg"));
}

void Conversion::DirectionWord(OutputLine& line) {
  // A continuous axis turns the way the angle's sign says: no direction word.
  if (!state_.angleChanged || settings_.erot == 1) return;
  // The word names the turn the axis truly makes, measured before 360 is
  // written as 0: onto the seam from below 360 the angle still rises, off
  // it downwards it falls. (The first angle of a run rises or falls from
  // -1.)
  const long double previous = state_.previousAngle;
  const long double current = state_.currentAngle;
  if (current == previous) return;
  const bool positive = current > previous;
  if (positive ? state_.positiveInForce : state_.negativeInForce) return;
  line.words |= positive ? OutputLine::kPositive : OutputLine::kNegative;
  state_.positiveInForce = positive;
  state_.negativeInForce = !positive;
}

void Conversion::WriteStraightMove(bool planeWord, bool zWord, long double xBefore,
                                   long double yBefore, long double zBefore) {
  if (recorder_) [[unlikely]] RecordStraight(xBefore, yBefore, zBefore);
  const std::int64_t pieces = TurnPieces(state_.currentY);
  if (pieces > 1) {
    // A turn the axis cannot make in one line: the same straight move in
    // the flat, cut into equal pieces (the machine interpolates angle,
    // axial and radial position together, so every piece lies on it).
    const long double x = state_.currentX;
    const long double y = state_.currentY;
    const long double z = state_.currentZ;
    const long double count = static_cast<long double>(pieces);
    long double zFrom = zBefore;
    for (std::int64_t k = 1; k < pieces; ++k) {
      const long double done = static_cast<long double>(k) / count;
      state_.currentX = CheckReal(xBefore + (x - xBefore) * done);
      state_.currentY = CheckReal(yBefore + (y - yBefore) * done);
      state_.currentZ = CheckReal(zBefore + (z - zBefore) * done);
      WriteStraightPiece(planeWord, zWord, zFrom);
      zFrom = state_.currentZ;
    }
    state_.currentX = x;
    state_.currentY = y;
    state_.currentZ = z;
    zBefore = zFrom;
  }
  WriteStraightPiece(planeWord, zWord, zBefore);
}

SourceMove Conversion::SourceMoveBetween(long double x1, long double y1, long double z1,
                                         long double x2, long double y2, long double z2) const {
  SourceMove move;
  move.line = lineNumber_;
  move.inches = units_ == Units::Inch;
  move.x1 = static_cast<double>(x1);
  move.y1 = static_cast<double>(y1);
  move.z1 = static_cast<double>(z1);
  move.x2 = static_cast<double>(x2);
  move.y2 = static_cast<double>(y2);
  move.z2 = static_cast<double>(z2);
  return move;
}

void Conversion::RecordStraight(long double xBefore, long double yBefore, long double zBefore) {
  SourceMove move = SourceMoveBetween(xBefore, yBefore, zBefore, state_.currentX,
                                      state_.currentY, state_.currentZ);
  move.kind = state_.motion == MotionMode::Rapid ? SourceMove::Kind::Rapid : SourceMove::Kind::Feed;
  recorder_->Record(move);
}

void Conversion::WriteStraightPiece(bool planeWord, bool zWord, long double zBefore) {
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
    // Once for a move cut into pieces.
    static const std::string kRapidInMaterial =
        "Eilgang dreht die Rundachse bei Z unter 0 (Werkzeug im Material)";
    if (warnings_.empty() || warnings_.back().line != lineNumber_ ||
        warnings_.back().text != kRapidInMaterial) {
      Warn(kRapidInMaterial);
    }
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
      Warn(Cp1252("Vorschubbewegung der Länge 0 ausgelassen: inverse Zeit (") + settings_.eg93 +
           Cp1252(") hat dafür kein F"));
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
  long double dy = CheckReal(y - state_.toolY);
  const long double dz = CheckReal(z - state_.toolZ);
  // The same turn is shorter at the bottom of a groove than on the surface.
  if (feedAtToolRadius_) [[unlikely]] dy = AtToolRadius(dy, state_.toolZ, z);
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
    Refuse(Cp1252("Vorschub F muss für inverse Zeit (") + settings_.eg93 +
           Cp1252(") größer als 0 sein"));
  }
  if (length == 0) {
    Refuse(Cp1252("Vorschubbewegung der Länge 0: inverse Zeit (") + settings_.eg93 +
           Cp1252(") hat dafür kein F"));
  }
  // Per minute: the move takes length / F minutes, so the control runs it
  // in the programmed time with F / length.
  line.words |= OutputLine::kFeed;
  const long double feed = CheckReal(CheckedDivide(state_.feed, length));
  line.feed = feed > feedCap_ ? CapFeed(feed) : feed;
}

long double Conversion::CapFeed(long double feed) {
  if (!feedCapWarned_) {
    feedCapWarned_ = true;
    Warn("Vorschub F" + FormatNC(settings_.format, feed) + " in inverser Zeit (" +
         settings_.eg93 + Cp1252(") auf den Höchstwert F") + FormatNC(settings_.format, feedCap_) +
         Cp1252(" begrenzt; weitere Zeilen darüber ohne eigene Warnung"));
  }
  return feedCap_;
}

void Conversion::ConvertBlock(std::string_view rawLine) {
  const std::string_view code = CodeOf(rawLine);
  if (endLine_ != 0) {
    // After the end the control reads no further; a move there is named,
    // since its author may have meant it to run.
    if (!afterEndWarned_ && code.find_first_of("XYZxyz") != std::string_view::npos) {
      afterEndWarned_ = true;
      Warn("Bewegung nach dem Programmende (Zeile " + std::to_string(endLine_) +
           ") wird nicht gewandelt");
    }
    return;
  }
  std::size_t first = 0;
  while (first < code.size() && (code[first] == ' ' || code[first] == '\t')) ++first;
  if (first < code.size() && code[first] == '%') [[unlikely]] {
    // A tape mark: before the first move it opens the program, after it
    // the program ends, as on a control.
    if (moved_) endLine_ = lineNumber_;
    return;
  }
  BlockWords words;
  ScanBlock(code, words);
  if (words.programEnd) endLine_ = lineNumber_;
  // A dwell's numbers are times, not positions or feeds.
  if (words.dwell) return;
  if ((words.workSystem | static_cast<std::uint8_t>(words.shift)) != 0) [[unlikely]] {
    if (words.workSystem != 0) SelectWorkSystem(code, words);
    // The axis words of a shift are the frame's, not a move.
    if (words.shift != Shift::None) {
      ApplyShift(code, words);
      shifted_ = shift_[0] != 0 || shift_[1] != 0 || shift_[2] != 0;
      return;
    }
  }
  const bool hasX = words.at[kX] != kNone;
  const bool hasY = words.at[kY] != kNone;
  const bool hasZ = words.at[kZ] != kNone;
  const bool hasR = words.at[kR] != kNone;
  const bool arcMode =
      state_.motion == MotionMode::Clockwise || state_.motion == MotionMode::CounterClockwise;
  // The centre words of the arc's plane: I, J in G17, K, I in G18, J, K in
  // G19.
  const Word* centre = kCentreWords[static_cast<int>(state_.plane)];
  const bool hasCentre = arcMode && (words.at[centre[0]] != kNone || words.at[centre[1]] != kNone);
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
    if (!moved_) {
      // Before the first move (a CAM header's "G28 G91 Z0."): the machine
      // goes somewhere safe and the part is not touched.
      Warn(std::string(words.machinePosition) + " (Maschinenposition) weggelassen");
      return;
    }
    // Along Z alone the machine only leaves the part; where it goes in the
    // flat frame (X, Y words) is the machine's secret.
    const bool alongZ = words.machinePosition != "G53" && hasZ && !hasX && !hasY;
    if (settings_.esafe && alongZ && pendingMachinePositions_.empty()) {
      Retract(code, words);
      return;
    }
    if (pendingMachinePositions_.size() < kMaxWarnings) {
      pendingMachinePositions_.push_back({lineNumber_, std::string(words.machinePosition), alongZ});
    }
    return;
  }
  const bool cycleBlock = cycle_.code != 0;
  const bool moves =
      hasX || hasY || hasZ || (cycleBlock ? hasR : arcMode && hasCentre);
  if (moves) moved_ = true;
  if (moves && !pendingMachinePositions_.empty()) {
    const MachinePositionBlock& block = pendingMachinePositions_.front();
    // A tool change's retract along Z converts once a safe radius is set:
    // the user is told where.
    const std::string hint =
        block.alongZ && !settings_.esafe
            ? Cp1252("; mit einem sicheren Rückzug (esafe, \"Sicherer Rückzug X\" auf der Seite "
                     "\"Maschine\") wird daraus ein radialer Rückzug")
            : std::string();
    throw ConversionError(block.line, block.code +
                                          Cp1252(" fährt eine Maschinenposition an, die die "
                                                 "Konvertierung nicht kennt, und danach folgen "
                                                 "noch Bewegungen") +
                                          hint);
  }
  if (cycleBlock) [[unlikely]] {
    if (moves) ConvertCycleBlock(code, words);
    return;
  }
  if (moves && motionEnded_) [[unlikely]] {
    Refuse(Cp1252("Bewegung nach G80 ohne G0, G1, G2 oder G3: die Steuerungen fahren sie "
                  "verschieden"));
  }
  if (hasZ) depthNamed_ = true;
  if (hasZ && depthUnknown_) [[unlikely]] {
    if (state_.incremental) {
      Refuse(Cp1252("Z im Kettenmaß (G91) nach dem Rückzug G28/G30: es zählt von der "
                    "Referenzposition der Maschine, die die Konvertierung nicht kennt"));
    }
    depthUnknown_ = false;
  }

  // In G91 the axis words are increments from where the tool stands; a
  // shift moves only absolute positions.
  const long double xBefore = state_.currentX;
  const long double yBefore = state_.currentY;
  const long double zBefore = state_.currentZ;
  auto axis = [&](int index, long double& current, long double value) {
    current = state_.incremental ? CheckReal(current + value) : Shifted(index, value);
  };
  if (hasX) {
    state_.previousX = state_.currentX;
    axis(0, state_.currentX, ReadWord(code, words, kX));
  }
  if (hasY) {
    state_.previousY = state_.currentY;
    axis(1, state_.currentY, ReadWord(code, words, kY));
  }
  if (hasZ) axis(2, state_.currentZ, ReadWord(code, words, kZ));
  if (hasR) {
    state_.currentR = ReadWord(code, words, kR);
    state_.radiusGiven = true;
  }

  const bool planeWord = hasX || hasY;
  if (!arcMode) {
    if (planeWord || hasZ) WriteStraightMove(planeWord, hasZ, xBefore, yBefore, zBefore);
    return;
  }
  if (!planeWord && !hasCentre && state_.currentZ == zBefore) return;
  const long double before[3] = {xBefore, yBefore, zBefore};
  ConvertArcBlock(code, words, hasR, hasCentre, before);
}

void Conversion::ConvertArcBlock(std::string_view code, const BlockWords& words, bool hasR,
                                 bool hasCentre, const long double (&before)[3]) {
  // An arc's plane coordinates (a, b) and its third axis: X, Y, Z in G17,
  // Z, X, Y in G18, Y, Z, X in G19, each seen from the third axis's
  // positive end, so that G2 turns clockwise in (a, b) in every plane.
  static constexpr int kPlaneAxes[3][3] = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}};
  const int plane = static_cast<int>(state_.plane);
  const Word centreA = kCentreWords[plane][0];
  const Word centreB = kCentreWords[plane][1];
  // Some controls read P in an arc block as a number of full turns.
  if (words.at[kP] != kNone) {
    Refuse(Cp1252("Kreisbogen mit P (mehrere Umläufe) wird nicht unterstützt"));
  }
  // The arc starts where the tool stood before the block.
  state_.previousX = before[0];
  state_.previousY = before[1];
  const long double after[3] = {state_.currentX, state_.currentY, state_.currentZ};
  const int* axes = kPlaneAxes[plane];
  ArcBlock arc{};
  arc.x1 = before[axes[0]];
  arc.y1 = before[axes[1]];
  arc.x2 = after[axes[0]];
  arc.y2 = after[axes[1]];
  arc.z1 = before[axes[2]];
  arc.z2 = after[axes[2]];
  static constexpr const char* kCentreNames[3] = {"I, J", "I, K", "J, K"};
  static constexpr const char* kCentreWarnings[3] = {
      "R und I/J im selben Satz: R gilt, I und J werden nicht beachtet",
      "R und I/K im selben Satz: R gilt, I und K werden nicht beachtet",
      "R und J/K im selben Satz: R gilt, J und K werden nicht beachtet"};
  arc.centreWords = kCentreNames[plane];
  if (hasR || (!hasCentre && state_.radiusGiven)) {
    // R wins over the centre, as on most controls.
    if (hasCentre) Warn(kCentreWarnings[plane]);
    arc.r = state_.currentR;
  } else if (hasCentre) {
    const long double i = words.at[centreA] != kNone ? ReadWord(code, words, centreA) : 0;
    const long double j = words.at[centreB] != kNone ? ReadWord(code, words, centreB) : 0;
    arc.byCentre = true;
    arc.cx = state_.centreAbsolute ? Shifted(axes[0], i) : CheckReal(arc.x1 + i);
    arc.cy = state_.centreAbsolute ? Shifted(axes[1], j) : CheckReal(arc.y1 + j);
  } else {
    Refuse(std::string("Kreisbogen ohne Radius (R) oder Mittelpunkt (") + arc.centreWords + ")");
  }
  // Without arc output the source still goes there, which a check of the
  // result must miss.
  if (settings_.type != 1 && settings_.type != 2 && recorder_) [[unlikely]] {
    RecordStraight(before[0], before[1], before[2]);
  }
  if (plane == 0) {
    ConvertArc(arc);
  } else {
    ConvertPlaneArc(arc);
  }
}

void Conversion::MoveStraight(MotionMode motion, bool planeWord, bool zWord, long double x,
                              long double y, long double z) {
  const long double xBefore = state_.currentX;
  const long double yBefore = state_.currentY;
  const long double zBefore = state_.currentZ;
  if (x == xBefore && y == yBefore && z == zBefore) return;
  const MotionMode modal = state_.motion;
  state_.motion = motion;
  state_.currentX = x;
  state_.currentY = y;
  state_.currentZ = z;
  WriteStraightMove(planeWord, zWord, xBefore, yBefore, zBefore);
  state_.motion = modal;
}

void Conversion::Retract(std::string_view code, const BlockWords& words) {
  // The intermediate point first, where the Z word puts it (in G91 Z0 the
  // tool is there already), then straight out to the safe radius.
  const long double value = ReadWord(code, words, kZ);
  if (state_.incremental && depthUnknown_ && value != 0) {
    Refuse(Cp1252("Z im Kettenmaß (G91) nach dem Rückzug G28/G30: es zählt von der "
                  "Referenzposition der Maschine, die die Konvertierung nicht kennt"));
  }
  const long double z =
      state_.incremental ? CheckReal(state_.currentZ + value) : Shifted(2, value);
  const long double safe = CheckReal(*settings_.esafe - state_.diameter);
  // Out means out: a safe radius below the tool would drive it into the part.
  if (safe < z || safe < state_.currentZ) {
    Refuse(Cp1252("Sicherer Rückzug (esafe) X") + FormatNC(settings_.format, *settings_.esafe) +
           Cp1252(" liegt unter dem Werkzeug: der Rückzug führte ins Werkstück"));
  }
  const long double x = state_.currentX;
  const long double y = state_.currentY;
  MoveStraight(MotionMode::Rapid, false, true, x, y, z);
  MoveStraight(MotionMode::Rapid, false, true, x, y, safe);
  depthUnknown_ = true;
  depthNamed_ = true;
}

}  // namespace torvane
