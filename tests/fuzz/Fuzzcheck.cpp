// SPDX-License-Identifier: GPL-3.0-or-later
// The result check: a random settings file, diameter, source and result,
// the result also taken the way --check takes it, on a thread of its own.
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "conversion/Conversion.h"
#include "readback/CheckThread.h"
#include "readback/ResultCheck.h"
#include "settings/Settings.h"
#include "text/FloatText.h"
#include "text/LineFile.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Pieces pieces(data, size);
  const std::string_view diameterText = pieces.Next();
  fuzz::WriteScratch("main.ini", pieces.Next());
  const std::string_view source = pieces.Next();
  const std::string_view result = pieces.Next();

  Settings settings(fuzz::ScratchDir());
  if (!fuzz::LoadScratchSettings(settings)) return 0;
  const auto diameter = StrToFloatStrict(diameterText);
  if (!diameter || !(*diameter > 0) || *diameter > 1e6L) return 0;
  const std::vector<std::string> sourceLines = SplitLines(source).lines;
  const std::vector<std::string> resultLines = SplitLines(result).lines;
  for (const bool threaded : {false, true}) {
    ResultCheck check(settings.Published(), *diameter, {}, {});
    Conversion conversion(settings.Published());
    std::vector<std::string> unused;
    try {
      if (threaded) {
        CheckThread thread(check);
        conversion.RecordSourcePath(&thread);
        conversion.RunConversion(*diameter, sourceLines, {}, {}, unused);
        for (const std::string& line : resultLines) thread.ResultText(line + "\r\n");
        thread.Finish();
      } else {
        VectorSource lines(sourceLines);
        VectorSource results(resultLines);
        CheckConversion(conversion, check, *diameter, lines, results);
      }
    } catch (const ConversionError&) {
      return 0;
    }
  }
  return 0;
}
