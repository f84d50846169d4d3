// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torvane {
namespace {

using TC = TextControl;

TEST(SettingsModelTest, AngleStepCheckReplacesBadSteps) {
  struct Case {
    const char* name;
    TC field;
    const char* typed;
    const char* want;  // EGrad afterwards, from "10"
  };
  const Case cases[] = {
      {"letters", TC::EGrad, "abc", "1"},
      {"cleared", TC::EGrad, "", "1"},
      {"400", TC::EGrad, "400", "1"},
      {"361", TC::EGrad, "361", "1"},
      {"360.5 is accepted", TC::EGrad, "360.5", "360.5"},
      {"0.5 is accepted", TC::EGrad, "0.5", "0.5"},
      {"0 is not", TC::EGrad, "0", "1"},
      {"trailing blank is no number", TC::EGrad, "5 ", "1"},
      {"leading blanks are fine", TC::EGrad, "  5", "  5"},
      {"valid EGrad is left alone by a word change", TC::ERad, "R", "10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsModel model;
    std::vector<TC> changes;
    model.onTextChanged = [&changes](TC field) { changes.push_back(field); };
    model.SetText(c.field, c.typed);
    EXPECT_EQ(model.Text(TC::EGrad), c.want);
    // The dialog hears of every change, the check's own included.
    if (std::string(c.want) == "1") {
      EXPECT_EQ(changes.back(), TC::EGrad);
    }
  }
}

TEST(SettingsModelTest, Steppers) {
  struct Case {
    const char* name;
    void (*click)(SettingsModel&);
    TC field;
    const char* before;
    const char* want;
    const char* start;  // EEstart afterwards, or nullptr when untouched
  };
  const Case cases[] = {
      {"SPlus 9 to 10", [](SettingsModel& m) { m.SPlus(TC::EEStellen); }, TC::EEStellen, "9", "10", nullptr},
      {"SPlus stops at 10", [](SettingsModel& m) { m.SPlus(TC::EEStellen); }, TC::EEStellen, "10", "10", nullptr},
      {"SPlus takes the whole part", [](SettingsModel& m) { m.SPlus(TC::EENachkommastellen); }, TC::EENachkommastellen, "2.7", "3", nullptr},
      {"SPlus ignores text", [](SettingsModel& m) { m.SPlus(TC::EEStellen); }, TC::EEStellen, "x", "x", nullptr},
      {"SMinus stops at 0", [](SettingsModel& m) { m.SMinus(TC::EEStellen); }, TC::EEStellen, "0", "0", nullptr},
      {"SNMinus at 1 still copies", [](SettingsModel& m) { m.SNMinus(); }, TC::EESatzschritt, "1", "1", "1"},
      {"SNMinus 5 to 4", [](SettingsModel& m) { m.SNMinus(); }, TC::EESatzschritt, "5", "4", "4"},
      {"SNPlus stops at 99", [](SettingsModel& m) { m.SNPlus(); }, TC::EESatzschritt, "99", "99", "99"},
      {"GPlus 10", [](SettingsModel& m) { m.GPlusClick(); }, TC::EGrad, "10", " 11", nullptr},
      {"GPlus 10.4", [](SettingsModel& m) { m.GPlusClick(); }, TC::EGrad, "10.4", " 11", nullptr},
      {"GPlus 10.5", [](SettingsModel& m) { m.GPlusClick(); }, TC::EGrad, "10.5", " 12", nullptr},
      {"GPlus 360 stays", [](SettingsModel& m) { m.GPlusClick(); }, TC::EGrad, "360", "360", nullptr},
      {"GMinus 1 pads", [](SettingsModel& m) { m.GMinusClick(); }, TC::EGrad, "1", "  1", nullptr},
      {"GMinus 200", [](SettingsModel& m) { m.GMinusClick(); }, TC::EGrad, "200", "199", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsModel model;
    model.SetText(TC::EEstart, "77");
    model.SetText(c.field, c.before);
    c.click(model);
    EXPECT_EQ(model.Text(c.field), c.want);
    EXPECT_EQ(model.Text(TC::EEstart), c.start ? c.start : "77");
  }
}

TEST(SettingsModelTest, ReadControlInteger) {
  struct Case {
    const char* text;
    int want;
  };
  const Case cases[] = {{"12", 12},  {"12a", 12},   {"-3a", 3},  {"-3", -3},
                        {"", 0},     {"abc", 0},    {"  7", 7},  {"99999999999", 0},
                        {"+4", 4},   {"-2147483648", -2147483647 - 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadControlInteger(c.text), c.want);
  }
}

TEST(SettingsModelTest, GroupsKeepTheirChoice) {
  SettingsModel model;
  model.SelectArcMode(0);
  model.SelectAxis(4);
  EXPECT_EQ(model.ArcMode(), 1);
  EXPECT_EQ(model.AxisLetter(), "C");
  model.SelectArcMode(2);
  model.SelectAxis(2);
  EXPECT_EQ(model.ArcMode(), 2);
  EXPECT_EQ(model.AxisLetter(), "B");
}

}  // namespace
}  // namespace torvane
