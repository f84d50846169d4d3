#pragma once

#include <gtest/gtest.h>

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
