// SPDX-License-Identifier: GPL-3.0-or-later
// The whole conversion: a random settings folder, diameter and source.
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "conversion/Conversion.h"
#include "text/LineFile.h"
#include "text/FloatText.h"
#include "settings/Settings.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Pieces pieces(data, size);
  const std::string_view diameterText = pieces.Next();
  fuzz::WriteScratch("main.ini", pieces.Next());
  fuzz::WriteScratch("vorspann.plt", pieces.Next());
  fuzz::WriteScratch("nachspann.plt", pieces.Next());
  const std::string_view source = pieces.Next();

  Settings settings(fuzz::ScratchDir());
  if (!fuzz::LoadScratchSettings(settings)) return 0;
  const auto diameter = StrToFloatStrict(diameterText);
  if (!diameter || *diameter == 0) return 0;
  Conversion conversion(settings.Published());
  std::vector<std::string> target;
  try {
    conversion.RunConversion(*diameter, SplitLines(source).lines, settings.HeaderLines(),
                             settings.FooterLines(), target);
  } catch (const ConversionError&) {
  }
  return 0;
}
