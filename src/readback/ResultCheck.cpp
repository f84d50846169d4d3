// SPDX-License-Identifier: GPL-3.0-or-later
#include "readback/ResultCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "conversion/Conversion.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Thrown through the conversion to end a check that has failed already.
struct CheckStopped {};

class NullSink : public LineSink {
 public:
  void Append(std::string_view) override {}
};

double Distance(double ax, double ay, double az, double bx, double by, double bz) {
  const double dx = ax - bx;
  const double dy = ay - by;
  const double dz = az - bz;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Whether an unread line would move an axis of the machine: a letter of one
// (X, Z, the rotary axis) with a number, outside comments.
bool HasAxisWord(std::string_view line, char rotary) {
  bool comment = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '(') comment = true;
    if (c == ')') comment = false;
    if (c == ';') return false;
    if (comment) continue;
    const char upper = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (upper != 'X' && upper != 'Z' && upper != rotary) continue;
    const char next = i + 1 < line.size() ? line[i + 1] : '\0';
    if ((next >= '0' && next <= '9') || next == '-' || next == '+' || next == '.' || next == '=')
      return true;
  }
  return false;
}

// Whether `line` is the unwinding line of the pattern: its text in order,
// with an angle wherever it says "{C}".
bool IsUnwindLine(std::string_view line, std::string_view pattern) {
  if (pattern.empty()) return false;
  std::size_t at = pattern.find("{C}");
  if (at == std::string_view::npos) return line == pattern;
  if (!line.starts_with(pattern.substr(0, at))) return false;
  std::size_t from = at;  // in `line`
  while (true) {
    const std::size_t next = pattern.find("{C}", at + 3);
    const std::string_view piece = pattern.substr(at + 3, next - (at + 3));
    if (next == std::string_view::npos) {
      return line.size() >= from + piece.size() && line.ends_with(piece);
    }
    const std::size_t found = line.find(piece, from);
    if (found == std::string_view::npos) return false;
    from = found + piece.size();
    at = next;
  }
}

// A number as the user reads it: four decimals, the German decimal comma.
std::string GermanNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string number = text;
  std::replace(number.begin(), number.end(), '.', ',');
  return number;
}

}  // namespace

std::string CheckOutcome::Summary(bool withLine) const {
  if (!passed) return message;
  std::string summary = Cp1252("Abweichung höchstens ") +
                        GermanNumber(static_cast<double>(largestDeviation)) + " " + unit;
  if (withLine && largestDeviationLine != 0) {
    summary += " (Zeile " + std::to_string(largestDeviationLine) + ")";
  }
  return summary;
}

ResultCheck::ResultCheck(const ConversionSettings& settings, long double diameter,
                         std::vector<std::string> header, std::vector<std::string> footer,
                         long double tolerance)
    : settings_(settings),
      reader_(settings, diameter),
      unwrapper_(diameter, settings.erot == 1 ? AngleTravel::AsWritten : AngleTravel::Modulo),
      header_(std::move(header)),
      footer_(std::move(footer)) {
  lengthStep_ = static_cast<double>(reader_.LengthStep());
  const double yStep = static_cast<double>(reader_.AngleStep() * unwrapper_.Circumference() / 360);
  // Every written number is rounded by at most half its step: a position
  // lies that far off in each axis at most. A hair more for the sums.
  const double rounding =
      std::sqrt(2 * (lengthStep_ / 2) * (lengthStep_ / 2) + (yStep / 2) * (yStep / 2));
  tolerance_ = tolerance > 0 ? static_cast<double>(tolerance) : rounding * 1.001 + 1e-9;
  sign_ = settings.einv ? -1 : 1;
  // A continuous axis is written from the first line on as it stands.
  offsetKnown_ = settings.erot == 1;
}

void ResultCheck::Fail(std::size_t resultLine, std::size_t sourceLine, double distance,
                       std::string message) {
  if (failed_) return;
  failed_ = true;
  outcome_.resultLine = resultLine;
  outcome_.sourceLine = sourceLine;
  outcome_.distance = distance;
  outcome_.message = std::move(message);
}

std::string ResultCheck::Length(double value) const {
  return GermanNumber(value) + " " + outcome_.unit;
}

ResultCheck::Point ResultCheck::At(const Segment& s, double t) {
  const double z = s.a.z + (s.b.z - s.a.z) * t;
  if (s.kind != SourceMove::Kind::Arc) {
    return {s.a.x + (s.b.x - s.a.x) * t, s.a.y + (s.b.y - s.a.y) * t, z};
  }
  if (t <= 0) return s.a;
  if (t >= 1) return s.b;
  const double angle = s.start + (s.clockwise ? -1 : 1) * s.sweep * t;
  return {s.cx + s.r * std::cos(angle), s.cy + s.r * std::sin(angle), z};
}

ResultCheck::Place ResultCheck::Locate(const Segment& s, const Point& p, double tMin) {
  auto place = [&](double t) {
    const Point q = At(s, t);
    return Place{t, Distance(p.x, p.y, p.z, q.x, q.y, q.z)};
  };
  double t = tMin;
  if (s.kind != SourceMove::Kind::Arc) {
    const double dx = s.b.x - s.a.x;
    const double dy = s.b.y - s.a.y;
    const double dz = s.b.z - s.a.z;
    const double length2 = dx * dx + dy * dy + dz * dz;
    if (length2 > 0) {
      t = ((p.x - s.a.x) * dx + (p.y - s.a.y) * dy + (p.z - s.a.z) * dz) / length2;
    }
    return place(std::clamp(t, tMin, 1.0));
  }
  // Around the centre from the start, the way the arc runs; a point beyond
  // its end is nearest to an end, and a full circle's start is its end too.
  const double dx = p.x - s.cx;
  const double dy = p.y - s.cy;
  double along = std::atan2(dy, dx) - s.start;
  if (s.clockwise) along = -along;
  // Within a turn and a half either way: no division needed.
  if (along < 0) along += 2 * kPi;
  if (along < 0) along += 2 * kPi;
  if (along >= 2 * kPi) along -= 2 * kPi;
  if (s.sweep > 0 && along <= s.sweep && along >= tMin * s.sweep) {
    // Beside the arc: straight out from the circle, at the depth there.
    const double u = along / s.sweep;
    const double radial = std::sqrt(dx * dx + dy * dy) - s.r;
    const double dz = p.z - (s.a.z + (s.b.z - s.a.z) * u);
    return {u, std::sqrt(radial * radial + dz * dz)};
  }
  const Place from = place(tMin);
  const Place end = place(1);
  return end.distance < from.distance ? end : from;
}

void ResultCheck::Record(const SourceMove& move) {
  if (failed_) {
    if (pull_) throw CheckStopped{};
    return;
  }
  // The unit of the messages: the program's, as far as it has named one.
  outcome_.unit = move.inches ? "Zoll" : "mm";
  Segment s;
  s.line = move.line;
  s.kind = move.kind;
  s.clockwise = move.clockwise;
  s.a = {move.x1, move.y1, move.z1};
  s.b = {move.x2, move.y2, move.z2};
  if (move.kind == SourceMove::Kind::Arc) {
    s.cx = move.cx;
    s.cy = move.cy;
    s.r = move.radius;
    s.start = move.start * kPi / 180;
    s.sweep = move.sweep * kPi / 180;
    s.chordError = move.chordError;
    const double around = s.r * s.sweep;
    s.length = std::sqrt(around * around + (s.b.z - s.a.z) * (s.b.z - s.a.z));
  } else {
    s.length = Distance(s.a.x, s.a.y, s.a.z, s.b.x, s.b.y, s.b.z);
  }
  segments_.push_back(s);
  Advance(false);
  // Pulls as many result lines as the path so far can place: on until a
  // move waits for more of the path (unread lines alone wait for a move).
  while (pull_ && !failed_ && !resultComplete_ &&
         (pending_.empty() || !pending_[pending_.size() - 1].isMove)) {
    std::string_view line;
    if (!pull_->Next(line)) {
      resultComplete_ = true;
      break;
    }
    TakeLine(line);
    Advance(false);
  }
  if (failed_ && pull_) throw CheckStopped{};
}

void ResultCheck::Read(std::string_view line) {
  if (failed_) return;
  TakeLine(line);
  Advance(false);
}

void ResultCheck::TakeLine(std::string_view line) {
  ++lineCount_;
  // The header as the settings have it, line for line, is no motion of
  // the part; nor is the footer, held back until the end shows it.
  if (headerIntact_ && lineCount_ <= header_.size()) {
    if (line == header_[lineCount_ - 1]) {
      FeedReader({}, {});
      return;
    }
    headerIntact_ = false;
  }
  if (footer_.empty()) {
    FeedReader(line, line);
    return;
  }
  // A ring as long as the footer, its strings reused: a line of its own
  // for every result line would cost an allocation each.
  if (heldBack_.size() < footer_.size()) {
    heldBack_.emplace_back(line);
    return;
  }
  std::string& oldest = heldBack_[heldFirst_];
  FeedReader(oldest, oldest);
  oldest.assign(line);
  heldFirst_ = (heldFirst_ + 1) % heldBack_.size();
}

void ResultCheck::FeedReader(std::string_view line, std::string_view shown) {
  reader_.Read(line);
  std::vector<Move>& moves = reader_.Moves();
  std::vector<std::size_t>& unread = reader_.UnreadLines();
  if (!unread.empty()) {
    const std::size_t number = unread.back();
    unread.clear();
    // Lines of the converter's own frame: the unwinding of a continuous
    // axis after the last move.
    if (settings_.erot == 1 && IsUnwindLine(shown, settings_.eunw)) return;
    Entry entry;
    entry.line = number;
    entry.text = std::string(shown);
    entry.axisWord = HasAxisWord(shown, settings_.axis.empty() ? 'C' : settings_.axis[0]);
    // A line without axis words before the first move or after the last
    // frames the program; between moves nothing may stand unread.
    if (!entry.axisWord && !movesRead_) return;
    pending_.push_back(std::move(entry));
    return;
  }
  for (Move& move : moves) {
    movesRead_ = true;
    // Most moves find their place at once; only the rest wait in line.
    if (pending_.empty() && TryMove(move, false)) continue;
    if (failed_) break;
    Entry entry;
    entry.line = move.line;
    entry.move = move;
    entry.isMove = true;
    pending_.push_back(std::move(entry));
  }
  moves.clear();
}

void ResultCheck::Advance(bool sourceComplete) {
  while (!failed_ && !pending_.empty()) {
    Entry& entry = pending_.front();
    if (!entry.isMove) {
      // Without axis words it matters only if a move follows.
      if (!entry.axisWord) {
        bool moveFollows = false;
        for (const Entry& later : pending_) moveFollows = moveFollows || later.isMove;
        if (!moveFollows) {
          if (!resultComplete_) return;
          pending_.pop_front();
          continue;
        }
      }
      Fail(entry.line, 0, 0,
           "Zeile " + std::to_string(entry.line) +
               Cp1252(" des Ergebnisses kann die Prüfung nicht lesen: ") + entry.text);
      return;
    }
    if (!TryMove(entry.move, sourceComplete)) return;
    pending_.pop_front();
  }
}

ResultCheck::Point ResultCheck::ToSource(const FlatPoint& p) const {
  return {static_cast<double>(p.x), sign_ * (static_cast<double>(p.y) - offset_),
          static_cast<double>(p.z)};
}

bool ResultCheck::TryMove(const Move& move, bool sourceComplete) {
  const FlatPoint replayTo = unwrapper_.Unwrap(move, replay_.y);
  const double circumference = static_cast<double>(unwrapper_.Circumference());
  const Point unshifted = ToSource(replayTo);
  std::size_t found = SegmentEnd();
  Place place;
  double shift = 0;
  for (std::size_t j = std::max(cursor_, searchedUpTo_); j < SegmentEnd(); ++j) {
    const Segment& s = Seg(j);
    const double tMin = j == cursor_ ? cursorT_ : 0;
    Point p = unshifted;
    double n = 0;
    if (!offsetKnown_) {
      // Whole turns that bring the point nearest to this piece of the path.
      const double na = std::round((s.a.y - unshifted.y) / circumference);
      const double nb = std::round((s.b.y - unshifted.y) / circumference);
      p.y = unshifted.y + na * circumference;
      const Place a = Locate(s, p, tMin);
      p.y = unshifted.y + nb * circumference;
      const Place b = Locate(s, p, tMin);
      n = a.distance <= b.distance ? na : nb;
      p.y = unshifted.y + n * circumference;
    }
    const Place here = Locate(s, p, tMin);
    if (here.distance <= tolerance_) {
      found = j;
      place = here;
      shift = n * circumference;
      break;
    }
  }
  if (found == SegmentEnd()) {
    if (!sourceComplete) {
      searchedUpTo_ = SegmentEnd();
      return false;
    }
    // Off the path: measured from the piece it should have been on, the
    // next one that still has a way to go.
    std::size_t expected = cursor_;
    while (expected + 1 < SegmentEnd() &&
           Seg(expected).length * (1 - (expected == cursor_ ? cursorT_ : 0)) <= tolerance_) {
      ++expected;
    }
    double distance = 0;
    std::size_t sourceLine = 0;
    for (std::size_t j = expected; j < std::min(expected + 2, SegmentEnd()); ++j) {
      const double d = Locate(Seg(j), unshifted, j == cursor_ ? cursorT_ : 0).distance;
      if (sourceLine == 0 || d < distance) {
        distance = d;
        sourceLine = Seg(j).line;
      }
    }
    if (sourceLine == 0) {
      Fail(move.line, 0, 0,
           "Zeile " + std::to_string(move.line) +
               Cp1252(" des Ergebnisses fährt noch, wo die Quelle keine Bewegung mehr hat"));
    } else {
      Fail(move.line, sourceLine, distance,
           "Zeile " + std::to_string(move.line) + " des Ergebnisses liegt " + Length(distance) +
               " neben der Bahn der Quelle (Quellzeile " + std::to_string(sourceLine) + ")");
    }
    return false;
  }
  searchedUpTo_ = 0;
  Point to = unshifted;
  to.y += shift;
  if (outcome_.largestDeviationLine == 0 || place.distance > outcome_.largestDeviation) {
    outcome_.largestDeviation = place.distance;
    outcome_.largestDeviationLine = move.line;
  }
  // The first move starts where the machine stood, and the first turn of a
  // modulo axis goes whichever way: only where they end is known.
  const bool blind = !started_ || (!offsetKnown_ && move.angleWritten);
  if (blind) {
    for (std::size_t i = cursor_; i < found; ++i) {
      const double left = Seg(i).length * (1 - (i == cursor_ ? cursorT_ : 0));
      if (left > tolerance_) {
        Fail(move.line, Seg(i).line, left,
             "Zeile " + std::to_string(move.line) + Cp1252(" des Ergebnisses lässt das Ende ") +
                 "von Quellzeile " + std::to_string(Seg(i).line) + " aus");
        return false;
      }
    }
    // Where it came from is unknown, but not how it moved there.
    const Segment& s = Seg(found);
    if (s.length * place.t > tolerance_ && !CheckKind(move, s)) return false;
  } else {
    CheckInterior(move, replay_, replayTo, position_, to, found, place.t);
    if (failed_) return false;
  }
  if (!offsetKnown_ && move.angleWritten) {
    offsetKnown_ = true;
    offset_ = -sign_ * shift;
  }
  while (cursor_ < found) {
    segments_.pop_front();
    ++dropped_;
    ++cursor_;
  }
  cursorT_ = place.t;
  replay_ = replayTo;
  position_ = to;
  started_ = true;
  return true;
}

void ResultCheck::CheckChord(const Move& move, const Segment& s, const Point& from,
                             const Point& to, double t0, double t1) {
  // Between its ends a line leaves the arc by the arc's chord error at
  // most, in its middle.
  const double mx = (from.x + to.x) / 2 - s.cx;
  const double my = (from.y + to.y) / 2 - s.cy;
  const double radial = s.r - std::sqrt(mx * mx + my * my);
  const double dz = (from.z + to.z) / 2 - (s.a.z + (s.b.z - s.a.z) * (t0 + t1) / 2);
  const double off = std::sqrt(radial * radial + dz * dz);
  if (off > tolerance_ + s.chordError) OffTheArc(move, s, off);
}

void ResultCheck::OffTheArc(const Move& move, const Segment& s, double off) {
  Fail(move.line, s.line, off,
       "Zeile " + std::to_string(move.line) + " des Ergebnisses weicht " + Length(off) +
           " vom Kreisbogen der Quellzeile " + std::to_string(s.line) + " ab (erlaubt " +
           Length(s.chordError + tolerance_) + ")");
}

bool ResultCheck::CheckKind(const Move& move, const Segment& s) {
  const bool rapid = move.kind == MoveKind::Rapid;
  if (rapid == (s.kind == SourceMove::Kind::Rapid)) return true;
  Fail(move.line, s.line, 0,
       "Zeile " + std::to_string(move.line) + " des Ergebnisses " +
           (rapid ? Cp1252("fährt im Eilgang, wo die Quelle im Vorschub fährt")
                  : Cp1252("fährt im Vorschub, wo die Quelle einen Eilgang hat")) +
           " (Quellzeile " + std::to_string(s.line) + ")");
  return false;
}

void ResultCheck::CheckInterior(const Move& move, const FlatPoint& replayFrom,
                                const FlatPoint& replayTo, const Point& from, const Point& to,
                                std::size_t last, double tLast) {
  // The piece the move starts on, unless it starts at that piece's end.
  std::size_t first = cursor_;
  double tFirst = cursorT_;
  while (first < last && Seg(first).length * (1 - tFirst) <= tolerance_) {
    ++first;
    tFirst = 0;
  }
  const bool arc =
      move.kind == MoveKind::ArcClockwise || move.kind == MoveKind::ArcCounterClockwise;
  if (!arc && first == last) {
    // Nearly every line: a straight move along one piece of the path.
    const Segment& s = Seg(first);
    if (s.length * (tLast - tFirst) <= tolerance_ || !CheckKind(move, s)) return;
    if (s.kind == SourceMove::Kind::Arc) CheckChord(move, s, from, to, tFirst, tLast);
    return;
  }
  if (arc && first == last) {
    // Both ends on the source's circle, the radius the same, the same way
    // round and the same of the two arcs through the ends: the control's
    // centre is the source's, give or take what the allowance below grants
    // for the rounding.
    const Segment& s = Seg(first);
    const bool clockwise = (move.kind == MoveKind::ArcClockwise) != (sign_ < 0);
    const double r = static_cast<double>(move.radius);
    if (s.kind == SourceMove::Kind::Arc && clockwise == s.clockwise &&
        std::fabs(std::fabs(r) - s.r) <= tolerance_ && (r < 0) == (s.sweep > kPi)) {
      CheckKind(move, s);
      return;
    }
  }

  double allowance = tolerance_;
  // A machine arc's circle, in the source's frame.
  bool centred = false;
  Point centre;
  double radius = 0;
  if (arc) {
    // The control finds the centre from the written ends and radius, all
    // rounded: near half a turn a small change of either moves it far.
    const double r = std::fabs(static_cast<double>(move.radius));
    const double chord = std::hypot(to.x - from.x, to.y - from.y);
    const double height = std::sqrt(std::max(r * r - chord * chord / 4, r * lengthStep_));
    allowance += (tolerance_ + lengthStep_ / 2) * r / height;
    long double cx = 0;
    long double cy = 0;
    centred = MachineArcCentre(move, replayFrom, replayTo, cx, cy);
    if (centred) {
      centre = ToSource({cx, cy, 0});
      radius = static_cast<double>(std::hypot(replayFrom.x - cx, replayFrom.y - cy));
    }
  }
  // A machine arc in fine steps, made only when needed.
  std::vector<Point> points;
  auto arcPoints = [&]() -> const std::vector<Point>& {
    if (points.empty()) {
      std::vector<FlatPoint> steps;
      MovePoints(move, replayFrom, replayTo, 1, steps);
      points.push_back(from);
      for (const FlatPoint& p : steps) points.push_back(ToSource(p));
      points.back() = to;
    }
    return points;
  };
  auto distanceToMove = [&](const Point& p) {
    const std::vector<Point> line = {from, to};
    const std::vector<Point>& path = arc ? arcPoints() : line;
    double best = Distance(p.x, p.y, p.z, from.x, from.y, from.z);
    for (std::size_t k = 1; k < path.size(); ++k) {
      const Point& a = path[k - 1];
      const Point& b = path[k];
      const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
      const double length2 = dx * dx + dy * dy + dz * dz;
      double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy + (p.z - a.z) * dz) / length2
                             : 0;
      t = std::clamp(t, 0.0, 1.0);
      best = std::min(best, Distance(p.x, p.y, p.z, a.x + t * dx, a.y + t * dy, a.z + t * dz));
    }
    return best;
  };
  auto offPath = [&](const Segment& s, double distance) {
    Fail(move.line, s.line, distance,
         "Zeile " + std::to_string(move.line) + " des Ergebnisses liegt " + Length(distance) +
             " neben der Bahn der Quelle (Quellzeile " + std::to_string(s.line) + ")");
  };

  for (std::size_t i = first; i <= last; ++i) {
    const Segment& s = Seg(i);
    const double t0 = i == first ? tFirst : 0;
    const double t1 = i == last ? tLast : 1;
    // Every end the move passes must lie on it.
    if (i < last) {
      const double off = distanceToMove(At(s, 1));
      if (off > allowance) {
        Fail(move.line, s.line, off,
             "Zeile " + std::to_string(move.line) + Cp1252(" des Ergebnisses lässt das Ende ") +
                 "von Quellzeile " + std::to_string(s.line) + " aus (Abstand " + Length(off) +
                 ")");
        return;
      }
    }
    if (s.length * (t1 - t0) <= tolerance_) continue;
    if (!CheckKind(move, s)) return;
    if (arc) {
      if (first != last) continue;
      // The same circle the same way round keeps to the arc between the
      // ends; anything else is followed step by step.
      const bool clockwise = (move.kind == MoveKind::ArcClockwise) != (sign_ < 0);
      if (s.kind == SourceMove::Kind::Arc && centred && clockwise == s.clockwise &&
          std::hypot(centre.x - s.cx, centre.y - s.cy) + std::fabs(radius - s.r) <= allowance) {
        continue;
      }
      for (const Point& p : arcPoints()) {
        const double d = Locate(s, p, t0).distance;
        if (d > allowance) return offPath(s, d);
      }
    } else if (s.kind == SourceMove::Kind::Arc) {
      // Over several pieces: the middle of the part of the line beside
      // this arc.
      const double dx = to.x - from.x, dy = to.y - from.y, dz = to.z - from.z;
      const double length2 = dx * dx + dy * dy + dz * dz;
      auto along = [&](const Point& p) {
        return length2 > 0 ? ((p.x - from.x) * dx + (p.y - from.y) * dy + (p.z - from.z) * dz) /
                                 length2
                           : 0.0;
      };
      const double middle = std::clamp((along(At(s, t0)) + along(At(s, t1))) / 2, 0.0, 1.0);
      const Point m = {from.x + dx * middle, from.y + dy * middle, from.z + dz * middle};
      const double off = Locate(s, m, 0).distance;
      if (off > allowance + s.chordError) return OffTheArc(move, s, off);
    }
  }
  if (arc && first != last) {
    // An arc of the result over several pieces of the path: every point of
    // it on one of them.
    for (const Point& p : arcPoints()) {
      double best = -1;
      for (std::size_t i = first; i <= last; ++i) {
        const double d = Locate(Seg(i), p, i == first ? tFirst : 0).distance;
        if (best < 0 || d < best) best = d;
      }
      if (best > allowance) return offPath(Seg(first), best);
    }
  }
}

CheckOutcome ResultCheck::Finish() {
  while (pull_ && !failed_ && !resultComplete_) {
    std::string_view line;
    if (!pull_->Next(line)) break;
    TakeLine(line);
    Advance(false);
  }
  if (!failed_ && !heldBack_.empty()) {
    std::rotate(heldBack_.begin(), heldBack_.begin() + static_cast<std::ptrdiff_t>(heldFirst_),
                heldBack_.end());
    const bool footer = heldBack_ == footer_;
    for (const std::string& line : heldBack_) {
      if (footer) {
        FeedReader({}, {});
      } else {
        FeedReader(line, line);
      }
    }
    heldBack_.clear();
    heldFirst_ = 0;
  }
  resultComplete_ = true;
  Advance(true);
  if (!failed_) {
    // Every move of the source reached: what is left of the path is no way.
    for (std::size_t i = cursor_; i < SegmentEnd(); ++i) {
      const double left = Seg(i).length * (1 - (i == cursor_ ? cursorT_ : 0));
      if (left > tolerance_) {
        Fail(0, Seg(i).line, left,
             "Das Ergebnis endet, bevor das Ende von Quellzeile " + std::to_string(Seg(i).line) +
                 " erreicht ist");
        break;
      }
    }
  }
  outcome_.passed = !failed_;
  return outcome_;
}

CheckOutcome CheckConversion(Conversion& conversion, ResultCheck& check, long double diameter,
                             LineSource& source, LineSource& result) {
  check.PullResultFrom(&result);
  conversion.RecordSourcePath(&check);
  NullSink sink;
  try {
    // Header and footer are the check's to skip; the run needs only moves.
    conversion.RunConversion(diameter, source, {}, {}, sink);
  } catch (const CheckStopped&) {
  } catch (...) {
    conversion.RecordSourcePath(nullptr);
    throw;
  }
  conversion.RecordSourcePath(nullptr);
  return check.Finish();
}

}  // namespace torvane
