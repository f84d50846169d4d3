// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Settings.h"

#include <sys/stat.h>

#include "text/LineFile.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

using TC = TextControl;
using TG = ToggleControl;

}  // namespace

Settings::Settings(std::string settingsDir) : settingsDir_(std::move(settingsDir)) {
  if (!settingsDir_.empty() && settingsDir_.back() != '/') settingsDir_ += '/';
}

void Settings::ReadTexts(std::initializer_list<KeyOfControl> keys) {
  for (const auto& [control, key] : keys) controls_.SetText(control, ini_.ReadText(key));
}

void Settings::WriteTexts(std::initializer_list<KeyOfControl> keys) {
  for (const auto& [control, key] : keys) ini_.WriteText(key, controls_.Text(control));
}

void Settings::LoadSettings() {
  ini_.SetBaseName("main");
  ini_.SetDirectory(settingsDir_);
  ini_.SetSection("path");
  controls_.SetText(TC::EQUELLDIR, ini_.ReadText("quell"));
  controls_.SetText(TC::EZIELDIR, ini_.ReadText("ziel"));

  ini_.SetSection("convert");
  controls_.SetText(TC::EGrad, ini_.ReadText("deg"));
  controls_.SelectArcMode(ini_.ReadInteger("type"));
  controls_.SelectAxis(ini_.ReadInteger("axis"));
  quell_ = controls_.Text(TC::EQUELLDIR);
  ziel_ = controls_.Text(TC::EZIELDIR);

  ReadTexts({{TC::EDP, "edp"}, {TC::EDN, "edn"}, {TC::Eg0, "eg0"}, {TC::Eg1, "eg1"},
             {TC::EG2, "eg2"}, {TC::EG3, "eg3"}, {TC::ERad, "erad"}});
  published_.edp = controls_.Text(TC::EDP);
  published_.edn = controls_.Text(TC::EDN);
  published_.eg0 = controls_.Text(TC::Eg0);
  published_.eg1 = controls_.Text(TC::Eg1);
  published_.eg2 = controls_.Text(TC::EG2);
  published_.eg3 = controls_.Text(TC::EG3);
  published_.axis = controls_.AxisLetter();
  published_.erad = controls_.Text(TC::ERad);

  ReadTexts({{TC::EEStellen, "eest"}, {TC::EENachkommastellen, "eenkst"}});
  controls_.SetDown(TG::EEDeziPunkt, ini_.ReadBool("edez"));
  controls_.SetDown(TG::EENCPunkt, ini_.ReadBool("epkt"));
  controls_.SetDown(TG::EEVNullen, ini_.ReadBool("evn"));
  controls_.SetDown(TG::EENNullen, ini_.ReadBool("enn"));
  controls_.SetDown(TG::EEVorzeichen, ini_.ReadBool("evz"));
  controls_.SetDown(TG::EESatznum, ini_.ReadBool("enum"));
  ReadTexts({{TC::EESatzzeichen, "enumz"}, {TC::EESatzschritt, "enumss"}, {TC::EEstart, "enums"}});

  TNCFormat& format = published_.format;
  format.NCPunkt = controls_.Down(TG::EENCPunkt);
  format.DeziPunkt = controls_.Down(TG::EEDeziPunkt);
  format.Vorzeichen = controls_.Down(TG::EEVorzeichen);
  format.VNullen = controls_.Down(TG::EEVNullen);
  format.NNullen = controls_.Down(TG::EENNullen);
  format.Stellen = static_cast<std::uint8_t>(ReadControlInteger(controls_.Text(TC::EEStellen)));
  format.Nachkomma =
      static_cast<std::uint8_t>(ReadControlInteger(controls_.Text(TC::EENachkommastellen)));
  format.Satzzeichen = controls_.Text(TC::EESatzzeichen);
  format.Satzschritt = ReadControlInteger(controls_.Text(TC::EESatzschritt));
  format.Satzstart = ReadControlInteger(controls_.Text(TC::EEstart));
  published_.enum_ = controls_.Down(TG::EESatznum);

  // The conversion takes these from the file, not from the controls: the
  // dialog may show "1" for a step the file does not hold.
  published_.deg = ini_.ReadInteger("deg");
  published_.type = static_cast<std::uint8_t>(ini_.ReadInteger("type"));

  LoadMachineDialect();

  ReadTextArea(settingsDir_ + "vorspann.plt", true);
  ReadTextArea(settingsDir_ + "nachspann.plt", false);
}

// Keys that older settings files lack: a missing key (or one that holds no
// valid choice) means the output those files have always given.
void Settings::LoadMachineDialect() {
  const std::int32_t efeed = ini_.ReadInteger("efeed");
  controls_.SelectFeedMode(efeed >= 0 && efeed <= 2 ? efeed : 0);
  controls_.SelectRotaryMode(ini_.ReadInteger("erot") == 1 ? 1 : 0);
  controls_.SetDown(TG::EInv, ini_.ReadBool("einv"));
  const auto textOr = [this](const char* key, const char* missing) {
    std::string text = ini_.ReadText(key);
    return text.empty() ? std::string(missing) : text;
  };
  controls_.SetText(TC::ETol, textOr("etol", "0"));
  controls_.SetText(TC::EG93, textOr("eg93", "G93"));
  controls_.SetText(TC::EG94, textOr("eg94", "G94"));
  controls_.SetText(TC::ENeutral, ini_.ReadText("eneutral"));
  controls_.SetDown(TG::EFRad, ini_.ReadInteger("efrad") == 1);
  controls_.SetText(TC::EFMax, textOr("efmax", "0"));
  controls_.SetText(TC::EUnw, ini_.ReadText("eunw"));
  controls_.SetText(TC::EWind, textOr("ewind", "0"));
  controls_.SetDown(TG::EReduce, ini_.ReadBool("ereduce"));
  controls_.SetText(TC::EPeck, textOr("epeck", "0.5"));
  controls_.SetText(TC::ESafe, ini_.ReadText("esafe"));

  published_.efeed = controls_.FeedMode();
  published_.erot = controls_.RotaryMode();
  published_.einv = controls_.Down(TG::EInv);
  published_.etol = ReadTolerance(controls_.Text(TC::ETol)).value_or(0);
  published_.eg93 = controls_.Text(TC::EG93);
  published_.eg94 = controls_.Text(TC::EG94);
  published_.eneutral = controls_.Text(TC::ENeutral);
  published_.efrad = controls_.Down(TG::EFRad) ? 1 : 0;
  published_.efmax = ReadTolerance(controls_.Text(TC::EFMax)).value_or(0);
  published_.eunw = controls_.Text(TC::EUnw);
  published_.ewind = ReadTolerance(controls_.Text(TC::EWind)).value_or(0);
  published_.ereduce = controls_.Down(TG::EReduce);
  published_.epeck = ReadTolerance(controls_.Text(TC::EPeck)).value_or(0.5L);
  // Empty, or no number: no safe retract, and G28/G30 stay refused.
  published_.esafe = ReadTolerance(controls_.Text(TC::ESafe));
}

void Settings::ReadTextArea(const std::string& path, bool header) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return;  // a missing file is skipped
  if (!S_ISREG(info.st_mode)) throw FileError(CannotOpenMessage(path));
  if (static_cast<std::size_t>(info.st_size) > kMaxTextAreaBytes)
    throw FileError(Cp1252("Text überschreitet Memo-Kapazität"));
  const std::string content = ReadWholeFile(path);

  // The text area keeps its lines with CR LF between them, and a final
  // break only when the file had one.
  std::string text;
  const std::vector<std::string> lines = SplitTextLines(content);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  if (!content.empty() && (content.back() == '\n' || content.back() == '\r')) text += "\r\n";
  if (header)
    controls_.SetEVorspann(std::move(text));
  else
    controls_.SetENachspann(std::move(text));
}

void Settings::SaveSettings() {
  ini_.SetBaseName("main");
  ini_.SetDirectory(settingsDir_);
  // The whole new main.ini is made in memory and replaces the old one at
  // once: a failure leaves the old machine words whole, never half of them.
  ini_.BeginEdit();
  try {
    WriteMainIni();
    ini_.Commit();
  } catch (...) {
    ini_.Abandon();
    throw;
  }

  // Each through a temporary file, so that a failed save keeps the old lines.
  SaveWholeFile(settingsDir_ + "vorspann.plt", controls_.EVorspann());
  SaveWholeFile(settingsDir_ + "nachspann.plt", controls_.ENachspann());
  LoadSettings();
}

void Settings::WriteMainIni() {
  ini_.SetSection("path");
  ini_.WriteText("quell", controls_.Text(TC::EQUELLDIR));
  ini_.WriteText("ziel", controls_.Text(TC::EZIELDIR));

  ini_.SetSection("convert");
  ini_.WriteText("deg", controls_.Text(TC::EGrad));
  ini_.WriteText("type", controls_.ArcMode() == 2 ? "2" : "1");
  ini_.WriteText("axis", std::to_string(controls_.Axis()));
  WriteTexts({{TC::EDP, "edp"}, {TC::EDN, "edn"}, {TC::EG2, "eg2"}, {TC::EG3, "eg3"},
              {TC::Eg0, "eg0"}, {TC::Eg1, "eg1"}, {TC::ERad, "erad"}, {TC::EEStellen, "eest"},
              {TC::EENachkommastellen, "eenkst"}});
  ini_.WriteBool("edez", controls_.Down(TG::EEDeziPunkt));
  ini_.WriteBool("epkt", controls_.Down(TG::EENCPunkt));
  ini_.WriteBool("evn", controls_.Down(TG::EEVNullen));
  ini_.WriteBool("enn", controls_.Down(TG::EENNullen));
  ini_.WriteBool("evz", controls_.Down(TG::EEVorzeichen));
  ini_.WriteBool("enum", controls_.Down(TG::EESatznum));
  WriteTexts({{TC::EESatzzeichen, "enumz"}, {TC::EESatzschritt, "enumss"}, {TC::EEstart, "enums"}});
  // Written like every other control, so the file always shows what the
  // dialog showed; the values of an untouched page are the defaults.
  ini_.WriteText("efeed", std::to_string(controls_.FeedMode()));
  ini_.WriteText("erot", std::to_string(controls_.RotaryMode()));
  ini_.WriteBool("einv", controls_.Down(TG::EInv));
  WriteTexts({{TC::ETol, "etol"}, {TC::EG93, "eg93"}, {TC::EG94, "eg94"},
              {TC::ENeutral, "eneutral"}});
  ini_.WriteBool("efrad", controls_.Down(TG::EFRad));
  WriteTexts({{TC::EFMax, "efmax"}, {TC::EUnw, "eunw"}, {TC::EWind, "ewind"}});
  ini_.WriteBool("ereduce", controls_.Down(TG::EReduce));
  WriteTexts({{TC::EPeck, "epeck"}, {TC::ESafe, "esafe"}});
}

}  // namespace torvane
