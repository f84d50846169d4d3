// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsModel.h"

#include <cmath>
#include <cstdio>

#include "text/LineFile.h"
#include "text/FloatText.h"

namespace torvane {
namespace {

std::size_t Index(TextControl control) { return static_cast<std::size_t>(control); }
std::size_t Index(ToggleControl toggle) { return static_cast<std::size_t>(toggle); }

bool WatchedByAngleCheck(TextControl control) {
  switch (control) {
    case TextControl::EGrad:
    case TextControl::EG2:
    case TextControl::EG3:
    case TextControl::EDP:
    case TextControl::EDN:
    case TextControl::ERad:
    case TextControl::Eg0:
    case TextControl::Eg1:
      return true;
    default:
      return false;
  }
}

std::string WholeText(long double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.0Lf", value);
  return buffer;
}

}  // namespace

SettingsModel::SettingsModel() {
  // The dialog's design values.
  texts_[Index(TextControl::EGrad)] = "10";
  texts_[Index(TextControl::EDP)] = "M15";
  texts_[Index(TextControl::EDN)] = "M16";
  texts_[Index(TextControl::Eg0)] = "G00";
  texts_[Index(TextControl::Eg1)] = "G01";
  texts_[Index(TextControl::EG2)] = "G132";
  texts_[Index(TextControl::EG3)] = "G133";
  texts_[Index(TextControl::ERad)] = "L";
  texts_[Index(TextControl::EEStellen)] = "0";
  texts_[Index(TextControl::EENachkommastellen)] = "0";
  texts_[Index(TextControl::EESatzzeichen)] = "N";
  texts_[Index(TextControl::EESatzschritt)] = "1";
  texts_[Index(TextControl::EEstart)] = "1";
  texts_[Index(TextControl::ETol)] = "0";
  texts_[Index(TextControl::EG93)] = "G93";
  texts_[Index(TextControl::EG94)] = "G94";
  texts_[Index(TextControl::EFMax)] = "0";
  texts_[Index(TextControl::EWind)] = "0";
  texts_[Index(TextControl::EPeck)] = "0.5";
}

const std::string& SettingsModel::Text(TextControl control) const { return texts_[Index(control)]; }

void SettingsModel::SetText(TextControl control, std::string text) {
  std::string& slot = texts_[Index(control)];
  if (slot == text) return;  // like an edit control: no change, no event
  slot = std::move(text);
  if (onTextChanged) onTextChanged(control);
  if (WatchedByAngleCheck(control)) EGrad2Change();
}

void SettingsModel::EGrad2Change() {
  const auto value = ReadStepperNumber(Text(TextControl::EGrad));
  if (!value || *value <= 0 || *value >= 361) SetText(TextControl::EGrad, "1");
}

bool SettingsModel::Down(ToggleControl toggle) const { return toggles_[Index(toggle)]; }

void SettingsModel::SetDown(ToggleControl toggle, bool down) {
  if (toggles_[Index(toggle)] == down) return;
  toggles_[Index(toggle)] = down;
  if (onStateChanged) onStateChanged();
}

void SettingsModel::SelectArcMode(int mode) {
  if ((mode != 1 && mode != 2) || mode == arcMode_) return;
  arcMode_ = mode;
  if (onStateChanged) onStateChanged();
}

void SettingsModel::SelectAxis(int axis) {
  if (axis < 1 || axis > 3 || axis == axis_) return;
  axis_ = axis;
  if (onStateChanged) onStateChanged();
}

void SettingsModel::SelectFeedMode(int mode) {
  if (mode < 0 || mode > 2 || mode == feedMode_) return;
  feedMode_ = mode;
  if (onStateChanged) onStateChanged();
}

void SettingsModel::SelectRotaryMode(int mode) {
  if (mode < 0 || mode > 1 || mode == rotaryMode_) return;
  rotaryMode_ = mode;
  if (onStateChanged) onStateChanged();
}

std::string SettingsModel::AxisLetter() const { return std::string(1, static_cast<char>('A' + axis_ - 1)); }

void SettingsModel::SetEVorspann(std::string text) {
  vorspann_ = std::move(text);
  if (onStateChanged) onStateChanged();
}

void SettingsModel::SetENachspann(std::string text) {
  nachspann_ = std::move(text);
  if (onStateChanged) onStateChanged();
}

void SettingsModel::SPlus(TextControl field) {
  const auto value = ReadStepperNumber(Text(field));
  if (value && *value < 10) SetText(field, WholeText(std::trunc(*value) + 1));
}

void SettingsModel::SMinus(TextControl field) {
  const auto value = ReadStepperNumber(Text(field));
  if (value && *value > 0) SetText(field, WholeText(std::trunc(*value) - 1));
}

void SettingsModel::SNPlus() {
  const auto value = ReadStepperNumber(Text(TextControl::EESatzschritt));
  if (value && *value < 99) SetText(TextControl::EESatzschritt, WholeText(std::trunc(*value) + 1));
  SetText(TextControl::EEstart, Text(TextControl::EESatzschritt));
}

void SettingsModel::SNMinus() {
  const auto value = ReadStepperNumber(Text(TextControl::EESatzschritt));
  if (value && *value > 1) SetText(TextControl::EESatzschritt, WholeText(std::trunc(*value) - 1));
  SetText(TextControl::EEstart, Text(TextControl::EESatzschritt));
}

namespace {
// Rounded half away from zero, right-aligned in three characters.
std::string AngleStepText(long double value) {
  const long double rounded = std::round(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%3.0Lf", rounded);
  return buffer;
}
}  // namespace

void SettingsModel::GPlusClick() {
  const auto value = ReadStepperNumber(Text(TextControl::EGrad));
  if (!value) return;
  SetText(TextControl::EGrad, AngleStepText(*value < 360 ? *value + 1 : *value));
}

void SettingsModel::GMinusClick() {
  const auto value = ReadStepperNumber(Text(TextControl::EGrad));
  if (!value) return;
  SetText(TextControl::EGrad, AngleStepText(*value > 1 ? *value - 1 : *value));
}

std::optional<long double> ReadStepperNumber(std::string_view text) {
  if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) return std::nullopt;
  return StrToFloatStrict(text);
}

std::optional<long double> ReadTolerance(std::string_view text) {
  const auto value = ReadStepperNumber(text);
  if (!value || !(*value >= 0) || !std::isfinite(*value)) return std::nullopt;
  return *value;
}

std::int32_t ReadControlInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    // Beyond 32 bits the text is no usable number.
    if (magnitude > 2147483648LL) return 0;
  }
  if (i < text.size()) negative = false;
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > 2147483647LL) return 0;
  return static_cast<std::int32_t>(value);
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  return SplitLines(text).lines;
}

}  // namespace torvane
