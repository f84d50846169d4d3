// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/ConversionState.h"
#include "conversion/DrillCycle.h"
#include "conversion/LineSink.h"
#include "conversion/MachineDialect.h"
#include "conversion/SourcePath.h"
#include "conversion/WordReader.h"

namespace torvane {

class LineFormatter;
struct OutputLine;

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

// Wraps a flat XYZ program around a cylinder: X becomes Z along the axis,
// Y the rotary-axis angle, Z the radial position X = D + Z. Every source
// construct is converted or refused with a ConversionError naming its line;
// none is dropped where dropping it would change the tool path.
class Conversion {
 public:
  // A run keeps this many warnings; one more entry at the end counts the
  // rest, so that a huge program cannot fill the memory with them.
  static constexpr std::size_t kMaxWarnings = 1000;
  // How far the radius to the end point of an arc given by its centre may
  // differ from the radius to its start point, in program units. CAM
  // programs round their coordinates to three or four decimals; a wider
  // difference means a centre that does not belong to the arc.
  static constexpr long double kRadiusTolerance = 0.002L;

  Conversion() = default;
  explicit Conversion(ConversionSettings settings) : settings_(std::move(settings)) {}

  ConversionSettings& Settings() { return settings_; }
  const ConversionSettings& Settings() const { return settings_; }
  // The warnings of the last run, in source order; every run starts afresh.
  const std::vector<ConversionWarning>& Warnings() const { return warnings_; }
  // The diameter of the last run, 0 before the first: what the result was
  // written for, which a preview of it must use.
  long double Diameter() const { return state_.diameter; }
  // Every source move of the following runs also goes to `recorder` (none
  // when null), in order, before the lines written for it.
  void RecordSourcePath(SourcePathRecorder* recorder) { recorder_ = recorder; }
  // Lines are formatted on a second thread (the default) or on the run's
  // own, when something else (a check beside the run) takes the second core.
  void FormatOnSecondThread(bool second) { formatOnSecondThread_ = second; }

  // The whole run: header lines as they are, every source line converted,
  // footer lines. Raises ConversionError naming the source line that stopped
  // it; the lines appended before stay in `target`.
  void RunConversion(long double diameter, LineSource& source,
                     const std::vector<std::string>& header,
                     const std::vector<std::string>& footer, LineSink& target);
  void RunConversion(long double diameter, const std::vector<std::string>& source,
                     const std::vector<std::string>& header,
                     const std::vector<std::string>& footer, std::vector<std::string>& target);

 private:
  // Source-word slots of a block, by where their letter first stands.
  enum Word { kX, kY, kZ, kR, kI, kJ, kK, kP, kQ, kL, kF, kWordCount };
  // Blocks whose axis words set a coordinate shift rather than move.
  enum class Shift : std::uint8_t { None, G92, G92Cancel, G92Suspend, G92Restore, G52, G10 };
  struct BlockWords {
    std::size_t at[kWordCount];
    // Their numbers, read while the block is scanned; a number that is no
    // number, or beyond any real, is refused only when the word is used.
    WordNumber number[kWordCount];
    bool beyondAnyReal[kWordCount];
    // G28, G30 or G53 in the block (its text for the messages), else empty.
    std::string_view machinePosition;
    bool dwell;       // G4: the block's numbers are times
    bool programEnd;  // M2 or M30
    Shift shift;
    // A work system selected in the block: 1 to 6 G54 to G59, 7 to 9
    // G59.1 to G59.3, 10 G54.1 (with P); 0 none.
    std::uint8_t workSystem;
  };

  void BeginRun(long double diameter);
  void ConvertRun(LineSource& source, const std::vector<std::string>& header,
                  const std::vector<std::string>& footer);
  void EndRun();
  // A line as it stands (header, footer, mode switches).
  void AddLine(std::string_view line);
  void ConvertBlock(std::string_view line);
  // An absolute axis word of the program's frame, where it lies in the
  // output's.
  long double Shifted(int axis, long double value) const {
    // Most programs never shift: the word as it stands, unchecked.
    return shifted_ ? CheckReal(value + shift_[axis]) : value;
  }

  // Block reading: comments out, then every word checked and the modal
  // codes applied; raises on what the conversion cannot honour.
  std::string_view CodeOf(std::string_view line);
  void ScanBlock(std::string_view code, BlockWords& words);
  void ApplyGWord(std::string_view code, std::size_t& i, BlockWords& words);
  void CheckMWord(std::string_view code, std::size_t& i, BlockWords& words);
  void CheckOWord(std::string_view code, std::size_t& i);
  long double ReadWord(std::string_view code, const BlockWords& words, Word word) const;
  [[noreturn]] void Refuse(const std::string& reason) const;
  // Coordinate shifts and work systems: applied after the first move,
  // passed with a note before it.
  void ApplyShift(std::string_view code, const BlockWords& words);
  void SelectWorkSystem(std::string_view code, const BlockWords& words);
  // G28/G30 naming only Z, with a safe radial position set: out by way of
  // the intermediate point.
  void Retract(std::string_view code, const BlockWords& words);
  // A block while a drilling cycle is in force: the holes it names.
  void ConvertCycleBlock(std::string_view code, const BlockWords& words);
  // A straight move to (x, y, z) as a source block would make it.
  void MoveStraight(MotionMode motion, bool planeWord, bool zWord, long double x, long double y,
                    long double z);
  // Off the block reader's hot path: a word whose letter came before.
  [[noreturn, gnu::cold, gnu::noinline]] void RefuseSecondWord(std::string_view code,
                                                               std::size_t first,
                                                               std::size_t second) const;
  void Warn(std::string text);
  void Warn(std::size_t line, std::string text);

  // The words of a generated line. The angle word for source Y, when the
  // angle changed; the direction word follows that change.
  void AngleWord(OutputLine& line, long double y);
  void DirectionWord(OutputLine& line);
  // Whether the output carries direction words: a modulo axis with both
  // words set.
  bool DirectionWordsWritten() const;
  // Lines a move to source `y` needs so that none turns the modulo axis
  // further than it can go in one line; 1 on a continuous axis.
  std::int64_t TurnPieces(long double y) const {
    // Most moves are far from a turn; only the rare long one needs its
    // rounded angle (which differs from the exact one by half a thousandth).
    if (std::fabs(y - state_.lastAngleY) * degreesPerUnit_ < longestTurn_ - 1) return 1;
    return LongTurnPieces(y);
  }
  [[gnu::noinline]] std::int64_t LongTurnPieces(long double y) const;
  [[noreturn, gnu::cold, gnu::noinline]] void RefuseTurn() const;
  // A straight move from (xBefore, yBefore, zBefore) to the current
  // position, in as many lines as its turn needs.
  void WriteStraightMove(bool planeWord, bool zWord, long double xBefore, long double yBefore,
                         long double zBefore);
  void WriteStraightPiece(bool planeWord, bool zWord, long double zBefore);
  // A linearised arc's line: feed code, the axial word for source X, the
  // radial word when the arc is a helix, the angle word for source Y.
  void WriteFeedLine(long double x, long double y, const long double* z);
  // `length` is the arc's own length, for an inverse-time feed.
  void WriteMachineArc(bool clockwise, long double x, long double y, long double r,
                       long double length);
  // Equal steps of `sweep` degrees from `start` around (cx, cy), as many as
  // the chord tolerance asks for, without the end point; a helix climbs
  // from z1 to z2 in proportion.
  void WriteToleranceSteps(long double start, long double sweep, bool clockwise, long double cx,
                           long double cy, long double rAbs, const long double* z1,
                           const long double* z2);

  // Machine dialect. The length of the move from where the output left the
  // tool to (x, y, z), which becomes the tool's place.
  long double MoveTo(long double x, long double y, long double z);
  // The F word of a feed line whose move is `length` source units long:
  // none, the programmed F when it changed, or the inverse time F / length.
  void FeedWord(OutputLine& line, long double length);
  // An inverse-time F above the largest the control takes: that one, and
  // the user told at the first such line.
  [[gnu::cold, gnu::noinline]] long double CapFeed(long double feed);
  // A turn of `dy` source units on the cylinder, as long as it is at the
  // tool tip's mean depth between z1 and z2.
  long double AtToolRadius(long double dy, long double z1, long double z2) const {
    return CheckReal(dy * ((toolRadius_ + (z1 + z2) / 2) / toolRadius_));
  }
  // A machine arc's length at the tool tip: the straight lengths of its
  // pieces of one degree (the last one the rest), at the tool's depth.
  long double MachineArcLengthAtTool(long double start, long double sweep, bool clockwise,
                                     long double radius) const;
  // A continuous axis's angles so far, and the user told once they span
  // more turns than the key "ewind" allows.
  [[gnu::cold, gnu::noinline]] void WatchWinding();
  // The line that sets a continuous axis back into one turn.
  std::string UnwindLine() const;
  // Whole thousandths of a degree as the number format writes angles.
  std::string ThousandthsText(long double thousandths) const;

  struct ArcBlock {
    long double x1, y1, x2, y2;
    long double z1, z2;
    bool byCentre;        // I/J give the centre, else the radius r
    long double cx, cy;   // absolute centre when byCentre
    long double r;
    const char* centreWords = "I, J";  // for the messages
  };
  void ConvertArc(const ArcBlock& arc);
  // An arc block, the tool having stood at `before` (X, Y, Z): its plane's
  // coordinates, its radius or centre.
  void ConvertArcBlock(std::string_view code, const BlockWords& words, bool hasR,
                       bool hasCentre, const long double (&before)[3]);
  static constexpr Word kCentreWords[3][2] = {{kI, kJ}, {kK, kI}, {kJ, kK}};
  // Where an arc's centre lies, how far out, and the degrees it travels
  // from its start angle.
  struct ArcShape {
    long double cx, cy, rAbs, start, sweep;
    bool fullCircle;
  };
  ArcShape ShapeOf(const ArcBlock& arc, bool clockwise);
  // An arc in the XZ (G18) or YZ (G19) plane: `arc` in the plane's own
  // coordinates (Z, X or Y, Z), z1 and z2 along its third axis; stepped
  // as straight moves in three dimensions.
  void ConvertPlaneArc(const ArcBlock& arc);
  // The source path's records, off the hot path: only a check wants them.
  SourceMove SourceMoveBetween(long double x1, long double y1, long double z1, long double x2,
                               long double y2, long double z2) const;
  [[gnu::cold, gnu::noinline]] void RecordStraight(long double xBefore, long double yBefore,
                                                   long double zBefore);
  [[gnu::cold, gnu::noinline]] void RecordArc(const ArcBlock& arc, bool clockwise, long double cx,
                                              long double cy, long double rAbs, long double start,
                                              long double sweep);

  struct StepTrig {
    long double sine = 0;
    long double cosine = 0;
  };
  // Sine and cosine of every whole number of steps up to a full turn.
  const std::vector<StepTrig>& StepTable(int step);

  ConversionSettings settings_;
  ConversionState state_;
  std::vector<ConversionWarning> warnings_;
  std::size_t warningsLeftOut_ = 0;
  std::size_t firstLeftOutLine_ = 0;
  std::size_t lineNumber_ = 0;
  // G28/G30/G53 blocks not yet followed by a move: dropped with a warning at
  // the run's end, or the run stops at the first of them when a move comes.
  struct MachinePositionBlock {
    std::size_t line;
    std::string code;
    bool alongZ;  // names Z alone: a safe retract could stand for it
  };
  std::vector<MachinePositionBlock> pendingMachinePositions_;
  bool inchWarned_ = false;
  // The units the program has named (G20/G21); a switch after the first
  // move would leave numbers of both kinds.
  enum class Units { Unnamed, Metric, Inch } units_ = Units::Unnamed;
  // A block has moved the tool: from here on a "%" line ends the program,
  // and machine positions can no longer be dropped.
  bool moved_ = false;
  // The program ended (M2, M30, "%") at this line, 0 while it runs; later
  // lines are not converted, and the first of them with a move is named.
  std::size_t endLine_ = 0;
  bool afterEndWarned_ = false;
  // Further G codes of the shop's control that leave the tool path alone
  // (key "eneutral"); from a word there that is no G code on, the list is
  // left out, so that those codes stay refused.
  std::vector<GCodeNumber> neutralCodes_;
  long double degreesPerUnit_ = 0;
  // Inverse time at the tool tip: half the diameter, the radius on which
  // the source's Y is measured.
  bool feedAtToolRadius_ = false;
  long double toolRadius_ = 0;
  // The largest inverse-time F; infinite when there is none.
  long double feedCap_ = 0;
  bool feedCapWarned_ = false;
  // Written angles reduced into [0, 360) (modulo axis only).
  bool reduceAngles_ = false;
  // Span of a continuous axis's angles, watched when "ewind" is set.
  bool watchWinding_ = false;
  bool windingWarned_ = false;
  long double lowestAngle_ = 0;
  long double highestAngle_ = 0;
  // The turn, in degrees, that one line of a modulo axis must stay below;
  // a continuous axis has no such limit.
  long double longestTurn_ = 360;
  SourcePathRecorder* recorder_ = nullptr;
  bool formatOnSecondThread_ = true;
  // Where the lines of the running run go.
  LineFormatter* formatter_ = nullptr;
  // Comment-free copy of the block, reused from block to block: a long
  // program would otherwise allocate for every line.
  std::string code_;
  std::vector<StepTrig> stepTable_;
  int stepTableDegrees_ = 0;

  // Where the program's zero lies in the output's frame, per axis X, Y, Z;
  // the output's frame is the program's as it stands at the first move.
  long double shift_[3] = {0, 0, 0};
  bool shifted_ = false;  // any of them other than 0
  // The G52 offset as programmed, so that a new one replaces it.
  long double localShift_[3] = {0, 0, 0};
  // The G92 offset in force and the one kept for G92.3, both measured from
  // the one in force at the first move. A G92 before it was made where the
  // tool stood, which the conversion does not know: going back to no G92
  // is then unknown too.
  long double g92_[3] = {0, 0, 0};
  long double g92Kept_[3] = {0, 0, 0};
  bool g92ZeroKnown_ = true;
  bool g92KeptKnown_ = true;
  // The work system in use (see BlockWords::workSystem; G54.1 adds its P).
  long double workSystem_ = 1;
  // A G28/G30 retract has left the source's tool at the machine's own
  // height: an increment along Z from there cannot be placed.
  bool depthUnknown_ = false;
  // A Z word (or a retract) has set the depth in this run.
  bool depthNamed_ = false;
  // The drilling cycle in force (73, 81, ...) and its modal words; a G0 to
  // G3 or G80 ends it, and after G80 a move needs its motion word again.
  struct CycleState {
    unsigned code = 0;
    bool entering = false;  // the next block sets the initial level
    long double initial = 0;
    bool initialUnknown = false;  // after a retract: the machine's reference
    bool initialUnset = false;    // no Z before it: wherever the machine stood
    bool hasR = false, hasZ = false, hasQ = false;
    long double r = 0, z = 0, q = 0;
  } cycle_;
  bool returnToInitial_ = true;  // G98, else G99
  bool motionEnded_ = false;
  std::vector<CycleMove> cycleMoves_;
};

}  // namespace torvane
