// SPDX-License-Identifier: GPL-3.0-or-later
// Reading one source block: which words it holds, which modal codes it
// sets, and whether the conversion can honour it at all. Whatever would
// change the tool path without the conversion following it is refused here,
// with the construct named, before anything of the block is written.

#include <cstdio>
#include <cstring>
#include <string>

#include "conversion/Conversion.h"
#include "conversion/FloatError.h"
#include "conversion/WordReader.h"
#include "text/NCScanner.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return ClassOf(c) == NCChar::Letter; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::size_t SkipBlanks(std::string_view code, std::size_t i) {
  return RunEnd(code, i, NCChar::Blank);
}

// A word as the user wrote it, for messages; a runaway number is cut short.
std::string WordText(std::string_view code, std::size_t at, std::size_t end) {
  constexpr std::size_t kShown = 24;
  std::string text;
  for (std::size_t i = at; i < end && i < code.size(); ++i) {
    if (ClassOf(code[i]) == NCChar::Blank) continue;
    if (text.size() == kShown) return text + "...";
    text += Upper(code[i]);
  }
  return text;
}

bool IsNumberChar(char c) { return ClassOf(c) == NCChar::Number; }

// Where a malformed number ends, for naming it whole: "X1+5", not "X1".
std::size_t NumberEnd(std::string_view code, std::size_t end) {
  while (end < code.size() && IsNumberChar(code[end])) ++end;
  return end;
}

// A character for a message: as it stands when it can be seen, else its code.
std::string CharText(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte <= 0x20 || (byte >= 0x7F && byte <= 0xA0)) return "mit dem Code " + std::to_string(byte);
  return std::string("\"") + c + "\"";
}

std::string GName(unsigned major, int minor) {
  std::string name = "G" + std::to_string(major);
  if (minor >= 0) name += "." + std::to_string(minor);
  return name;
}

std::string NotSupported(const char* what, const std::string& code) {
  return std::string(what) + " " + code + Cp1252(" wird nicht unterstützt");
}

}  // namespace

void Conversion::Refuse(const std::string& reason) const {
  throw ConversionError(lineNumber_, reason);
}

void Conversion::RefuseSecondWord(std::string_view code, std::size_t first,
                                  std::size_t second) const {
  // Controls differ on which of the two counts.
  Refuse(std::string("Wort ") + Upper(code[second]) + " zweimal im Satz: " +
         WordText(code, first, NumberEnd(code, SkipBlanks(code, first + 1))) + " und " +
         WordText(code, second, NumberEnd(code, SkipBlanks(code, second + 1))));
}

void Conversion::Warn(std::string text) { Warn(lineNumber_, std::move(text)); }

void Conversion::Warn(std::size_t line, std::string text) {
  if (warnings_.size() < kMaxWarnings) {
    warnings_.push_back({line, std::move(text)});
    return;
  }
  if (warningsLeftOut_++ == 0) firstLeftOutLine_ = line;
}

long double Conversion::ReadWord(std::string_view code, const BlockWords& words,
                                 Word word) const {
  if (words.beyondAnyReal[word]) throw FloatError(FloatError::Kind::Overflow);
  const WordNumber& number = words.number[word];
  if (!number.valid) {
    Refuse(Cp1252("Ungültige Zahl im Wort ") +
           WordText(code, words.at[word], NumberEnd(code, number.end)));
  }
  return number.value;
}

std::string_view Conversion::CodeOf(std::string_view line) {
  if (line.empty() || (std::memchr(line.data(), '(', line.size()) == nullptr &&
                       std::memchr(line.data(), ';', line.size()) == nullptr)) {
    return line;
  }
  // Comments take no part in finding words, as the scanner marks them.
  code_.clear();
  for (std::size_t i = 0; i < line.size();) {
    const NCChar kind = ClassOf(line[i]);
    if (kind == NCChar::CommentOpen || kind == NCChar::LineComment) {
      i = CommentEnd(line, i);
      continue;
    }
    code_ += line[i++];
  }
  return code_;
}

void Conversion::ScanBlock(std::string_view code, BlockWords& words) {
  for (std::size_t& at : words.at) at = kNone;
  for (bool& beyond : words.beyondAnyReal) beyond = false;
  words.machinePosition = {};
  words.dwell = false;
  words.programEnd = false;
  words.shift = Shift::None;
  words.workSystem = 0;
  // Each word's number is read at once, and the scan goes on behind it
  // (the number holds nothing the scan looks for).
  auto first = [&](Word word, std::size_t& i) {
    if (words.at[word] != kNone) RefuseSecondWord(code, words.at[word], i);
    words.at[word] = i;
    try {
      words.number[word] = ReadWordNumber(code, i);
    } catch (const FloatError&) {
      words.beyondAnyReal[word] = true;
      return;
    }
    if (words.number[word].end > i + 1) i = words.number[word].end - 1;
  };
  for (std::size_t i = 0; i < code.size(); ++i) {
    // Most of a block is digits, points, signs and blanks: nothing to do.
    const char raw = code[i];
    const NCChar kind = ClassOf(raw);
    if (kind == NCChar::Number || kind == NCChar::Blank || kind == NCChar::LineBreak) continue;
    const char c = Upper(raw);
    // A letter right after a letter is no address word but a keyword of
    // some other language (MSG, IF, GOTO, WHILE, ...).
    if (IsLetter(c) && i + 1 < code.size() && IsLetter(code[i + 1]) && c != 'O') {
      std::size_t end = i;
      while (end < code.size() && IsLetter(code[end])) ++end;
      Refuse("Unbekanntes Wort " + WordText(code, i, end));
    }
    switch (c) {
      case 'G': ApplyGWord(code, i, words); break;
      case 'X': first(kX, i); break;
      case 'Y': first(kY, i); break;
      case 'Z': first(kZ, i); break;
      case 'R': first(kR, i); break;
      case 'I': first(kI, i); break;
      case 'J': first(kJ, i); break;
      case 'K': first(kK, i); break;
      case 'P': first(kP, i); break;
      case 'Q': first(kQ, i); break;
      case 'L': first(kL, i); break;
      case 'F': first(kF, i); break;
      case 'M': CheckMWord(code, i, words); break;
      // ":1234" is the ISO form of a program number.
      case 'O':
      case ':': CheckOWord(code, i); break;
      case 'E':
        // "X1e-05": a number in a form no control reads.
        if (i > 0 && (IsDigit(code[i - 1]) || code[i - 1] == '.')) {
          std::size_t start = i;
          while (start > 0 && (IsNumberChar(code[start - 1]) ||
                               ClassOf(code[start - 1]) == NCChar::Blank))
            --start;
          if (start > 0) --start;  // the word's letter
          Refuse("Zahl mit Exponent im Wort " + WordText(code, start, NumberEnd(code, i + 1)) +
                 Cp1252(" wird nicht unterstützt"));
        }
        break;
      case '/':
        Refuse(Cp1252("Ausblendsatz (/) wird nicht unterstützt: das Ergebnis hinge von der "
                      "Stellung des Schalters an der Steuerung ab"));
      case 'U':
        if (words.dwell) break;  // "G04 U1": a lathe's dwell time
        [[fallthrough]];
      case 'A':
      case 'B':
      case 'C':
      case 'V':
      case 'W':
        Refuse(std::string("Achswort ") + c +
               Cp1252(" wird nicht unterstützt: das Programm bewegt schon eine weitere Achse"));
      case '#': Refuse(Cp1252("Parameter (#) werden nicht unterstützt"));
      case '[': Refuse(Cp1252("Ausdrücke ([ ]) werden nicht unterstützt"));
      case '=': Refuse(Cp1252("Zuweisungen (=) werden nicht unterstützt"));
      case ',':
        Refuse(Cp1252("Komma außerhalb eines Kommentars (Dezimalkomma oder Wort wie ,R) wird nicht "
                      "unterstützt"));
      default:
        // Words that leave the path alone (N, S, T, H, D, ...).
        if (kind == NCChar::Letter) break;
        // Checksums ("*37"), macro and variable marks ($, !, &, @, ...):
        // what the reader does not know, it cannot promise to convert.
        Refuse("Unbekanntes Zeichen " + CharText(raw) + Cp1252(" außerhalb eines Kommentars"));
    }
  }
}

void Conversion::ApplyGWord(std::string_view code, std::size_t& i, BlockWords& words) {
  const std::size_t at = i;
  std::size_t j = SkipBlanks(code, at + 1);
  unsigned major = 0;
  const std::size_t digitsStart = j;
  for (; j < code.size() && IsDigit(code[j]); ++j) {
    if (major < 100000) major = major * 10 + static_cast<unsigned>(code[j] - '0');
  }
  bool valid = j > digitsStart;
  int minor = -1;
  if (valid && j < code.size() && code[j] == '.') {
    ++j;
    const std::size_t minorStart = j;
    minor = 0;
    for (; j < code.size() && IsDigit(code[j]); ++j) {
      if (minor < 100000) minor = minor * 10 + (code[j] - '0');
    }
    if (j == minorStart || minor == 0) minor = -1;  // G1. and G1.0 are G1
  }
  if (j < code.size() && (code[j] == '.' || code[j] == '-' || code[j] == '+')) valid = false;
  if (!valid) {
    while (j < code.size() && (IsDigit(code[j]) || code[j] == '.' || code[j] == '-' ||
                               code[j] == '+'))
      ++j;
    Refuse(Cp1252("Ungültige Zahl im Wort ") + WordText(code, at, j));
  }
  i = j - 1;

  const std::string name = minor < 0 && major <= 3 ? std::string() : GName(major, minor);
  if (minor < 0) {
    switch (major) {
      case 0:
      case 1:
      case 2:
      case 3:
        state_.motion = static_cast<MotionMode>(major);
        // A motion word ends a drilling cycle, and names the motion after one.
        motionEnded_ = false;
        if (cycle_.code != 0) [[unlikely]] cycle_ = CycleState{};
        return;
      case 17: state_.plane = Plane::XY; return;
      case 18: state_.plane = Plane::ZX; return;
      case 19: state_.plane = Plane::YZ; return;
      case 90: state_.incremental = false; return;
      case 91: state_.incremental = true; return;
      case 20:
      case 21: {
        const Units units = major == 20 ? Units::Inch : Units::Metric;
        // Millimetres are what a program without G20 holds.
        const Units before = units_ == Units::Unnamed ? Units::Metric : units_;
        if (moved_ && units != before) {
          Refuse(Cp1252("Wechsel der Maßeinheit (") + GName(major, minor) +
                 Cp1252(") nach der ersten Bewegung wird nicht unterstützt: die Zahlen davor und "
                        "danach hätten verschiedene Einheiten"));
        }
        units_ = units;
        if (units == Units::Inch && !inchWarned_) {
          Warn("Programm in Zoll: Durchmesser in Zoll angeben");
          inchWarned_ = true;
        }
        return;
      }
      case 4: words.dwell = true; return;
      case 28: words.machinePosition = "G28"; return;
      case 30: words.machinePosition = "G30"; return;
      case 53: words.machinePosition = "G53"; return;
      // A source F per revolution or in inverse time cannot be written on
      // as a feed per minute, nor divided into an inverse time.
      case 93:
      case 95:
        if (settings_.efeed != 0) {
          Refuse("Vorschubart " + GName(major, minor) +
                 Cp1252(" im Quellprogramm wird mit Vorschubwörtern nicht unterstützt (nur "
                        "G94, Vorschub pro Minute)"));
        }
        return;
      // Codes that leave the tool path alone: dwell, exact stop, polar and
      // scaling and rotation off, metric, radius compensation off, tool
      // length, work offsets, path modes, cycle off, feed and spindle modes,
      // cycle return levels.
      case 9: case 15: case 40: case 43: case 44: case 49: case 50: case 61: case 64: case 69:
      case 94: case 96: case 97:
        return;
      case 54: case 55: case 56: case 57: case 58: case 59:
        words.workSystem = static_cast<int>(major) - 53;
        return;
      case 80:
        // After a cycle, controls differ in the motion a bare move takes.
        if (cycle_.code != 0) {
          cycle_ = CycleState{};
          motionEnded_ = true;
        }
        return;
      case 98:
      case 99: returnToInitial_ = major == 98; return;
      case 73: case 81: case 82: case 83: case 85: case 89:
        if (cycle_.code == 0) cycle_.entering = true;
        cycle_.code = major;
        return;
      case 74: case 84: case 86: case 87: case 88:
        Refuse(NotSupported("Zyklus", name));
      case 33: case 76: Refuse(NotSupported("Gewindeschneiden", name));
      case 92: words.shift = Shift::G92; return;
      case 52: words.shift = Shift::G52; return;
      case 10: words.shift = Shift::G10; return;
      case 68: Refuse(NotSupported("Koordinatendrehung", name));
      case 51: Refuse(NotSupported("Skalieren oder Spiegeln", name));
      case 16: Refuse(NotSupported("Polarkoordinatenangabe", name));
      case 5: Refuse(NotSupported("Spline", name));
      case 41: case 42: Refuse(NotSupported("Werkzeugradiuskorrektur", name));
      case 65: Refuse(NotSupported("Makroaufruf", name));
      default: break;
    }
  } else {
    if (major == 90 && minor == 1) {
      state_.centreAbsolute = true;
      return;
    }
    if (major == 91 && minor == 1) {
      state_.centreAbsolute = false;
      return;
    }
    if (major == 54 && minor == 1) {
      words.workSystem = 10;  // extended work offsets, numbered by P
      return;
    }
    if (major == 59 && minor <= 3) {
      words.workSystem = 6 + minor;
      return;
    }
    if (major == 92 && minor <= 3) {
      words.shift = minor == 1 ? Shift::G92Cancel
                    : minor == 2 ? Shift::G92Suspend
                                 : Shift::G92Restore;
      return;
    }
    if (major == 38) Refuse(NotSupported("Antasten", name));
    if (major == 5 && minor <= 2) Refuse(NotSupported("Spline", name));
    if ((major == 50 || major == 51) && minor == 1) {
      Refuse(NotSupported("Skalieren oder Spiegeln", name));
    }
    if (major == 68) Refuse(NotSupported("Koordinatendrehung", name));
  }
  // Codes the user has named as leaving the path alone on this control.
  for (const GCodeNumber& neutral : neutralCodes_) {
    if (neutral.major == major && neutral.minor == minor) return;
  }
  // What the conversion does not know, it cannot promise to keep.
  Refuse(name + Cp1252(" wird nicht unterstützt"));
}

void Conversion::CheckMWord(std::string_view code, std::size_t& i, BlockWords& words) {
  std::size_t j = SkipBlanks(code, i + 1);
  unsigned number = 0;
  const std::size_t digitsStart = j;
  for (; j < code.size() && IsDigit(code[j]); ++j) {
    if (number < 100000) number = number * 10 + static_cast<unsigned>(code[j] - '0');
  }
  if (j == digitsStart) return;
  i = j - 1;
  if (number == 97 || number == 98) {
    Refuse("Unterprogrammaufruf M" + std::to_string(number) + Cp1252(" wird nicht unterstützt"));
  }
  if (number == 99) Refuse(Cp1252("Unterprogrammende M99 wird nicht unterstützt"));
  if (number == 2 || number == 30) words.programEnd = true;
}

void Conversion::CheckOWord(std::string_view code, std::size_t& i) {
  // A program number alone (O1234) is fine; O-words that name a subprogram
  // or steer the flow (O100 sub, o<name> call, O101 if ...) are not.
  std::size_t j = SkipBlanks(code, i + 1);
  const std::size_t digitsStart = j;
  while (j < code.size() && IsDigit(code[j])) ++j;
  const bool number = j > digitsStart;
  const std::size_t next = SkipBlanks(code, j);
  const bool keyword =
      next + 1 < code.size() && IsLetter(code[next]) && IsLetter(code[next + 1]);
  if (!number || keyword) {
    Refuse(Cp1252("Unterprogramme und Programmsteuerung (O-Wörter) werden nicht unterstützt"));
  }
  i = j - 1;
}

}  // namespace torvane
