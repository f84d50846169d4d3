// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// The settings dialog's controls, without a window: the in-memory home of
// the settings. Control names are the dialog's own.
enum class TextControl {
  EQUELLDIR,
  EZIELDIR,
  EGrad,
  EDP,
  EDN,
  Eg0,
  Eg1,
  EG2,
  EG3,
  ERad,
  EEStellen,
  EENachkommastellen,
  EESatzzeichen,
  EESatzschritt,
  EEstart,
  ETol,  // machine page: largest chord deviation of stepped arcs
  EG93,  // machine page: inverse-time feed on
  EG94,  // machine page: and off again
  ENeutral,  // machine page: further G codes that leave the path alone
  EFMax,     // machine page: largest inverse-time F
  EUnw,      // machine page: the line that sets a continuous axis into one turn
  EWind,     // machine page: turns a continuous axis may span before a warning
  EPeck,     // machine page: G73's back-off after a peck, G83's stop above the depth
  ESafe,     // machine page: radial position of a safe retract (G28/G30)
};
constexpr std::size_t kTextControlCount = 24;

enum class ToggleControl {
  EEDeziPunkt,
  EENCPunkt,
  EEVNullen,
  EENNullen,
  EEVorzeichen,
  EESatznum,
  EInv,     // machine page: rotary axis turns the other way
  EFRad,    // machine page: inverse time measured at the tool tip
  EReduce,  // machine page: modulo angles written within one turn
};
constexpr std::size_t kToggleControlCount = 9;

// Arc mode group: EK1 "G2/3 Linear wandeln" = 1, EK2 "G2/3 Maschinenspezifisch" = 2.
// Axis group: EAA = 1 (A), EAB = 2 (B), EAC = 3 (C).
// Feed group (machine page): EVF0 "keiner" = 0, EVF1 "wie programmiert" = 1,
// EVF2 "inverse Zeit G93" = 2. Rotary group: ERM "modulo mit
// Drehrichtungswort" = 0, ERF "fortlaufend" = 1.
class SettingsModel {
 public:
  SettingsModel();

  const std::string& Text(TextControl control) const;
  // Replaces the text; a change of EGrad or of the words beside it runs the
  // angle-step check, as typing into the dialog does.
  void SetText(TextControl control, std::string text);

  bool Down(ToggleControl toggle) const;
  void SetDown(ToggleControl toggle, bool down);

  int ArcMode() const { return arcMode_; }
  // A one-of group: only 1 or 2 select; anything else keeps the choice.
  void SelectArcMode(int mode);
  int Axis() const { return axis_; }
  void SelectAxis(int axis);
  std::string AxisLetter() const;
  int FeedMode() const { return feedMode_; }
  // One-of groups: a value outside the group keeps the choice.
  void SelectFeedMode(int mode);
  int RotaryMode() const { return rotaryMode_; }
  void SelectRotaryMode(int mode);

  // The header and footer text areas, lines separated by CR LF.
  const std::string& EVorspann() const { return vorspann_; }
  const std::string& ENachspann() const { return nachspann_; }
  void SetEVorspann(std::string text);
  void SetENachspann(std::string text);

  // Steppers of the dialog: digit counts 0..10, block-number step 1..99,
  // angle step 1..360 written right-aligned in three characters.
  void SPlus(TextControl field);
  void SMinus(TextControl field);
  void SNPlus();   // EESatzschritt, then copies it into EEstart
  void SNMinus();  // likewise
  void GPlusClick();
  void GMinusClick();

  // Told after every text change (also those the check makes itself).
  std::function<void(TextControl)> onTextChanged;
  std::function<void()> onStateChanged;

 private:
  void EGrad2Change();

  std::array<std::string, kTextControlCount> texts_;
  std::array<bool, kToggleControlCount> toggles_{};
  int arcMode_ = 1;
  int axis_ = 3;
  int feedMode_ = 0;
  int rotaryMode_ = 0;
  std::string vorspann_;
  std::string nachspann_;
};

// The stepper's reading of a field: a number in full (leading blanks, a
// sign, a point, an exponent), nothing after it.
std::optional<long double> ReadStepperNumber(std::string_view text);

// How a control's text becomes a published whole number: leading blanks and
// one sign are skipped; when something other than a digit follows the
// digits, they count without their sign; no digits give 0.
std::int32_t ReadControlInteger(std::string_view text);

// The chord tolerance (and the feed limit, the turns before a warning) as
// the conversion takes it: a number in full (as the steppers read it), not
// negative; anything else is none.
std::optional<long double> ReadTolerance(std::string_view text);

// Splits text at CR LF, lone CR and lone LF; a break at the very end adds no
// empty line.
std::vector<std::string> SplitTextLines(std::string_view text);

}  // namespace torvane
