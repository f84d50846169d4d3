// SPDX-License-Identifier: GPL-3.0-or-later
// FormatNC with a random value and format; checks what the format promises.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "conversion/NCFormat.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 13) return 0;
  long double value = 0;
  std::memcpy(&value, data, 10);
  TNCFormat format;
  format.NCPunkt = data[10] & 1;
  format.DeziPunkt = data[10] & 2;
  format.Vorzeichen = data[10] & 4;
  format.VNullen = data[10] & 8;
  format.NNullen = data[10] & 16;
  format.Stellen = data[11];
  format.Nachkomma = data[12];
  const std::string text = FormatNC(format, value);
  if (text.find(' ') != std::string::npos) std::abort();  // never blanks
  if (std::isfinite(value) && value < 0 && (text.empty() || text.front() != '-')) std::abort();
  // The exact route and the fast one must agree on every value they share.
  if (std::isfinite(value) && value != 0 && format.Nachkomma <= 40) {
    std::string fast;
    std::string exact;
    AppendFixedMagnitude(fast, value, format.Nachkomma);
    AppendFixedMagnitudeExact(exact, value, format.Nachkomma);
    if (fast != exact) std::abort();
  }
  return 0;
}
