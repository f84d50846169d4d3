// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ConvertOverride.h"

#include <charconv>
#include <climits>
#include <cstdint>

#include "conversion/MachineDialect.h"
#include "settings/SettingsModel.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

// Number: not below 0 (a tolerance, a limit, turns); OptionalNumber: the
// same, or empty for none. LineText: a line of the
// output, so without a line break.
enum class Kind { Text, WordText, LineText, Whole, Flag, Number, OptionalNumber, GCodes };

struct KeyRule {
  const char* key;
  Kind kind;
  std::int32_t low;   // Whole: the range the key takes
  std::int32_t high;
};

constexpr std::int32_t kMin = INT32_MIN;
constexpr std::int32_t kMax = INT32_MAX;

// Every key of [convert]. Whole-number ranges are those the dialog can set.
constexpr KeyRule kRules[] = {
    {"deg", Kind::Whole, 1, 360},     {"type", Kind::Whole, 1, 2},
    {"axis", Kind::Whole, 1, 3},      {"edp", Kind::Text, 0, 0},
    {"edn", Kind::Text, 0, 0},        {"eg0", Kind::Text, 0, 0},
    {"eg1", Kind::Text, 0, 0},        {"eg2", Kind::Text, 0, 0},
    {"eg3", Kind::Text, 0, 0},        {"erad", Kind::Text, 0, 0},
    {"eest", Kind::Whole, 0, 10},     {"eenkst", Kind::Whole, 0, 10},
    {"edez", Kind::Flag, 0, 1},       {"epkt", Kind::Flag, 0, 1},
    {"evn", Kind::Flag, 0, 1},        {"enn", Kind::Flag, 0, 1},
    {"evz", Kind::Flag, 0, 1},        {"enum", Kind::Flag, 0, 1},
    {"enumz", Kind::Text, 0, 0},      {"enumss", Kind::Whole, kMin, kMax},
    {"enums", Kind::Whole, kMin, kMax}, {"efeed", Kind::Whole, 0, 2},
    {"erot", Kind::Whole, 0, 1},      {"einv", Kind::Flag, 0, 1},
    {"etol", Kind::Number, 0, 0},     {"eg93", Kind::WordText, 0, 0},
    {"eg94", Kind::WordText, 0, 0},   {"eneutral", Kind::GCodes, 0, 0},
    {"efrad", Kind::Whole, 0, 1},     {"efmax", Kind::Number, 0, 0},
    {"eunw", Kind::LineText, 0, 0},   {"ewind", Kind::Number, 0, 0},
    {"ereduce", Kind::Flag, 0, 1},    {"epeck", Kind::Number, 0, 0},
    {"esafe", Kind::OptionalNumber, 0, 0},
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::optional<std::int32_t> ParseWhole(std::string_view text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

std::string Allowed(const KeyRule& rule) {
  switch (rule.kind) {
    case Kind::Flag: return "0 oder 1";
    case Kind::Number: return "eine Zahl ab 0";
    case Kind::OptionalNumber: return "eine Zahl ab 0 oder nichts";
    case Kind::WordText: return "ein nicht leerer Text";
    case Kind::LineText: return "ein Text ohne Zeilenumbruch";
    case Kind::Text: return "ein Text";
    case Kind::GCodes: return "eine Liste von G-Codes wie \"G61.1 G187\"";
    case Kind::Whole: break;
  }
  if (rule.low == kMin) return "eine ganze Zahl";
  if (rule.high - rule.low == 1)
    return std::to_string(rule.low) + " oder " + std::to_string(rule.high);
  if (rule.high - rule.low == 2) {
    return std::to_string(rule.low) + ", " + std::to_string(rule.low + 1) + " oder " +
           std::to_string(rule.high);
  }
  return "eine ganze Zahl von " + std::to_string(rule.low) + " bis " + std::to_string(rule.high);
}

void SetText(const std::string& key, std::string_view value, ConversionSettings& s) {
  std::string text(value);
  if (key == "edp") s.edp = text;
  else if (key == "edn") s.edn = text;
  else if (key == "eg0") s.eg0 = text;
  else if (key == "eg1") s.eg1 = text;
  else if (key == "eg2") s.eg2 = text;
  else if (key == "eg3") s.eg3 = text;
  else if (key == "erad") s.erad = text;
  else if (key == "enumz") s.format.Satzzeichen = text;
  else if (key == "eg93") s.eg93 = text;
  else if (key == "eg94") s.eg94 = text;
  else if (key == "eneutral") s.eneutral = text;
  else if (key == "eunw") s.eunw = text;
}

void SetNumber(const std::string& key, long double value, ConversionSettings& s) {
  if (key == "etol") s.etol = value;
  else if (key == "efmax") s.efmax = value;
  else if (key == "ewind") s.ewind = value;
  else if (key == "epeck") s.epeck = value;
  else if (key == "esafe") s.esafe = value;
}

void SetWhole(const std::string& key, std::int32_t value, ConversionSettings& s) {
  if (key == "deg") s.deg = value;
  else if (key == "type") s.type = static_cast<std::uint8_t>(value);
  else if (key == "axis") s.axis = std::string(1, static_cast<char>('A' + value - 1));
  else if (key == "eest") s.format.Stellen = static_cast<std::uint8_t>(value);
  else if (key == "eenkst") s.format.Nachkomma = static_cast<std::uint8_t>(value);
  else if (key == "enumss") s.format.Satzschritt = value;
  else if (key == "enums") s.format.Satzstart = value;
  else if (key == "efeed") s.efeed = value;
  else if (key == "erot") s.erot = value;
  else if (key == "edez") s.format.DeziPunkt = value != 0;
  else if (key == "epkt") s.format.NCPunkt = value != 0;
  else if (key == "evn") s.format.VNullen = value != 0;
  else if (key == "enn") s.format.NNullen = value != 0;
  else if (key == "evz") s.format.Vorzeichen = value != 0;
  else if (key == "enum") s.enum_ = value != 0;
  else if (key == "einv") s.einv = value != 0;
  else if (key == "efrad") s.efrad = value;
  else if (key == "ereduce") s.ereduce = value != 0;
}

}  // namespace

std::optional<std::string> ApplyConvertOverride(std::string_view assignment,
                                                ConversionSettings& settings) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    return Cp1252("--set erwartet SCHLÜSSEL=WERT, nicht \"") + std::string(assignment) + "\"";
  }
  const std::string key = Lower(assignment.substr(0, equals));
  const std::string_view value = assignment.substr(equals + 1);
  const KeyRule* rule = nullptr;
  for (const KeyRule& candidate : kRules)
    if (key == candidate.key) rule = &candidate;
  if (rule == nullptr) {
    return Cp1252("Unbekannter Schlüssel \"") + std::string(assignment.substr(0, equals)) +
           Cp1252("\" für --set (erlaubt sind die Schlüssel aus [convert])");
  }
  const auto invalid = [&] {
    return Cp1252("Ungültiger Wert \"") + std::string(value) + Cp1252("\" für ") + key +
           ": erlaubt ist " + Allowed(*rule);
  };
  switch (rule->kind) {
    case Kind::WordText:
    case Kind::LineText:
    case Kind::Text: {
      const bool refused =
          (rule->kind == Kind::WordText && value.empty()) ||
          (rule->kind == Kind::LineText && value.find_first_of("\r\n") != std::string_view::npos);
      if (refused) return invalid();
      SetText(key, value, settings);
      return std::nullopt;
    }
    case Kind::GCodes: {
      std::vector<GCodeNumber> codes;
      if (!ReadNeutralCodes(value, codes)) return invalid();
      SetText(key, value, settings);
      return std::nullopt;
    }
    case Kind::OptionalNumber:
      if (value.empty()) {
        settings.esafe.reset();
        return std::nullopt;
      }
      [[fallthrough]];
    case Kind::Number: {
      const auto number = ReadTolerance(value);
      if (!number) return invalid();
      SetNumber(key, *number, settings);
      return std::nullopt;
    }
    case Kind::Flag:
    case Kind::Whole: {
      const auto whole = ParseWhole(value);
      if (!whole || *whole < rule->low || *whole > rule->high) return invalid();
      SetWhole(key, *whole, settings);
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace torvane
