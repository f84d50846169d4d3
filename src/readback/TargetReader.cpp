// SPDX-License-Identifier: GPL-3.0-or-later
#include "readback/TargetReader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "conversion/WordReader.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

long double Pow10(int exponent) {
  long double value = 1;
  for (int i = 0; i < exponent; ++i) value *= 10;
  return value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TargetReader::TargetReader(const ConversionSettings& settings, long double diameter)
    : settings_(settings) {
  const TNCFormat& format = settings_.format;
  scale_ = 1 / Pow10(format.Nachkomma);
  position_.radial = diameter;

  // Without a point and without trailing zeros the formatter strips the
  // zeros of whole numbers too: 10, 1 and 0.1 may all come out as "1".
  if (!format.DeziPunkt && !format.NNullen) {
    unreadable_ =
        "Ohne Dezimalpunkt und ohne Nachnullen ist das Zahlenformat nicht eindeutig lesbar";
    return;
  }
  if (settings_.axis.empty()) {
    unreadable_ = Cp1252("Kein Buchstabe für die Drehachse eingestellt");
    return;
  }
  codes_ = {{settings_.eg0, MoveKind::Rapid}, {settings_.eg1, MoveKind::Feed}};
  // Arc codes count only when arcs are written as machine arcs; otherwise
  // they may well share a text with the straight codes.
  if (settings_.type == 2) {
    codes_.push_back({settings_.eg2, MoveKind::ArcClockwise});
    codes_.push_back({settings_.eg3, MoveKind::ArcCounterClockwise});
  }
  for (std::size_t i = 0; i < codes_.size(); ++i) {
    for (std::size_t j = i + 1; j < codes_.size(); ++j) {
      if (codes_[i].text == codes_[j].text) {
        unreadable_ = "Zwei Bewegungsarten haben denselben Code \"" + codes_[i].text + "\"";
        return;
      }
    }
  }
  std::stable_sort(codes_.begin(), codes_.end(), [](const Code& a, const Code& b) {
    return a.text.size() > b.text.size();
  });
  // Longest letters first, so that a radius address such as "CR=" is not
  // taken for the axis letter C.
  words_ = {{"Z", kAxial}, {"X", kRadial}, {settings_.axis, kAngle}, {"F", kFeed}};
  if (!settings_.erad.empty()) words_.push_back({settings_.erad, kRadius});
  std::stable_sort(words_.begin(), words_.end(), [](const Word& a, const Word& b) {
    return a.letter.size() > b.letter.size();
  });
}

long double TargetReader::LengthStep() const { return scale_; }

long double TargetReader::AngleStep() const { return std::max(scale_, 0.001L); }

bool TargetReader::ReadLine(std::string_view line) {
  std::size_t at = 0;
  // Block number: the letter, the number and a blank, as the run writes it.
  const std::string& letter = settings_.format.Satzzeichen;
  if ((!letter.empty() || settings_.enum_) && line.substr(0, letter.size()) == letter) {
    std::size_t i = letter.size();
    if (i < line.size() && line[i] == '-') ++i;
    const std::size_t digits = i;
    while (i < line.size() && IsDigit(line[i])) ++i;
    if (i > digits && i < line.size() && line[i] == ' ') at = i + 1;
  }

  // The inverse-time switches around the body move nothing.
  if (settings_.efeed == 2) {
    const std::string_view rest = line.substr(at);
    if (rest == settings_.eg93 || rest == settings_.eg94) return true;
  }

  const Code* code = nullptr;
  for (const Code& candidate : codes_) {
    if (at < line.size() && !candidate.text.empty() && line[at] != candidate.text[0]) continue;
    if (line.substr(at, candidate.text.size()) == candidate.text &&
        (at + candidate.text.size() == line.size() || line[at + candidate.text.size()] == ' ')) {
      code = &candidate;
      break;
    }
  }
  if (code == nullptr) return false;
  at += code->text.size();

  long double values[kSlots] = {};
  bool seen[kSlots] = {};
  int direction = position_.direction;

  // Word by word: a word ends at a blank, since the formatter never writes
  // one inside a number.
  const char* p = line.data() + at;
  const char* const end = line.data() + line.size();
  // Without a point the format's implied decimals apply; a point typed by
  // hand means what it says, as on the controls.
  const int implied = settings_.format.DeziPunkt ? 0 : settings_.format.Nachkomma;
  auto standsAt = [&](const std::string& text) {
    const auto size = static_cast<std::ptrdiff_t>(text.size());
    return size > 0 && end - p >= size && *p == text[0] &&
           std::memcmp(p, text.data(), text.size()) == 0 && (end - p == size || p[size] == ' ');
  };
  while (p < end) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    // The direction words tell a modulo axis which way to turn to the
    // line's angle; they stay in force until the other one comes.
    if (standsAt(settings_.edp)) {
      p += settings_.edp.size();
      direction = 1;
      continue;
    }
    if (standsAt(settings_.edn)) {
      p += settings_.edn.size();
      direction = -1;
      continue;
    }
    bool matched = false;
    for (const Word& candidate : words_) {
      // The first character decides nearly always, without a comparison call.
      const std::size_t size = candidate.letter.size();
      if (*p != candidate.letter[0] || static_cast<std::size_t>(end - p) < size ||
          std::memcmp(p, candidate.letter.data(), size) != 0) {
        continue;
      }
      long double value = 0;
      const char* const stop = ReadDecimalAt(p + size, end, implied, value);
      if (stop == nullptr || (stop != end && *stop != ' ')) continue;
      if (seen[candidate.slot]) return false;
      seen[candidate.slot] = true;
      values[candidate.slot] = value;
      p = stop;
      matched = true;
      break;
    }
    if (!matched) return false;
  }

  const bool arc = code->kind == MoveKind::ArcClockwise ||
                   code->kind == MoveKind::ArcCounterClockwise;
  // A straight line has no radius; an arc needs one, and the converter
  // never moves the radial axis in an arc.
  if (arc ? (!seen[kRadius] || seen[kRadial]) : seen[kRadius]) return false;

  if (seen[kFeed]) position_.feed = values[kFeed];
  position_.direction = direction;
  if (!seen[kAxial] && !seen[kRadial] && !seen[kAngle]) return true;
  if (seen[kAxial]) position_.axial = values[kAxial];
  if (seen[kRadial]) position_.radial = values[kRadial];
  if (seen[kAngle]) {
    position_.angle = values[kAngle];
    position_.angleWritten = true;
  }
  position_.kind = code->kind;
  position_.radius = arc ? values[kRadius] : 0;
  position_.line = result_.lineCount;
  result_.moves.push_back(position_);
  return true;
}

void TargetReader::Read(std::string_view line) {
  ++result_.lineCount;
  if (line.find_first_not_of(' ') == std::string_view::npos) return;
  if (!unreadable_.empty() || !ReadLine(line)) result_.unreadLines.push_back(result_.lineCount);
}

ReadBack TargetReader::Take() { return std::move(result_); }

ReadBack ReadTarget(const ConversionSettings& settings, long double diameter,
                    const std::vector<std::string>& lines) {
  TargetReader reader(settings, diameter);
  for (const std::string& line : lines) reader.Read(line);
  return reader.Take();
}

}  // namespace torvane
