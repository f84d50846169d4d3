// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "conversion/Conversion.h"
#include "conversion/ConversionState.h"

namespace torvane::testing {

// The settings of the worked examples: codes G00/G01, machine arcs
// G132/G133 with radius letter L, axis C, direction words M15/M16, three
// decimals with point and trailing zeros, no block numbers.
inline ConversionSettings ExampleSettings(int degrees = 30, int type = 1) {
  ConversionSettings settings;
  settings.eg0 = "G00";
  settings.eg1 = "G01";
  settings.eg2 = "G132";
  settings.eg3 = "G133";
  settings.axis = "C";
  settings.edp = "M15";
  settings.edn = "M16";
  settings.erad = "L";
  settings.deg = degrees;
  settings.type = static_cast<std::uint8_t>(type);
  settings.format.DeziPunkt = true;
  settings.format.NNullen = true;
  settings.format.Nachkomma = 3;
  settings.format.Satzzeichen = "N";
  settings.format.Satzschritt = 1;
  settings.format.Satzstart = 1;
  return settings;
}

// With this diameter the circumference is 360: the angle is 360 - Y.
inline const long double kDegreeDiameter = 360 / std::numbers::pi_v<long double>;

// One row of a conversion table: the example settings as `adjust` changes
// them, a diameter, the source and the lines it must give.
struct ConversionCase {
  const char* name;
  std::function<void(ConversionSettings&)> adjust;
  long double diameter;
  std::vector<std::string> source;
  std::vector<std::string> want;
};

inline void Keep(ConversionSettings&) {}

// Every row converted between `header` and `footer`, which the result must
// hold around the row's lines.
inline void ExpectConversions(const std::vector<ConversionCase>& cases,
                              const std::vector<std::string>& header = {},
                              const std::vector<std::string>& footer = {}) {
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = ExampleSettings();
    c.adjust(settings);
    Conversion conversion(settings);
    std::vector<std::string> target;
    conversion.RunConversion(c.diameter, c.source, header, footer, target);
    std::vector<std::string> want = header;
    want.insert(want.end(), c.want.begin(), c.want.end());
    want.insert(want.end(), footer.begin(), footer.end());
    EXPECT_EQ(target, want);
  }
}

// A run with header "%" and footer "M30" that must stop with `message`,
// keeping the header and the lines `written` before the stop.
inline void ExpectRunStops(Conversion& conversion, const std::vector<std::string>& source,
                           const std::string& message,
                           const std::vector<std::string>& written) {
  std::vector<std::string> target;
  try {
    conversion.RunConversion(100, source, {"%"}, {"M30"}, target);
    ADD_FAILURE() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_EQ(std::string(error.what()), message);
  }
  std::vector<std::string> want = {"%"};
  want.insert(want.end(), written.begin(), written.end());
  EXPECT_EQ(target, want);
}

}  // namespace torvane::testing
