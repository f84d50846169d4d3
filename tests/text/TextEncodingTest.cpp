// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace torvane {
namespace {

TEST(TextEncodingTest, Utf8WithNonAsciiDecides) {
  struct Case {
    const char* name;
    std::string input;
    TextEncoding want;
  };
  const Case cases[] = {
      {"empty", "", TextEncoding::Windows1252},
      {"ASCII only", "G1 X10 (Tiefe)\r\n", TextEncoding::Windows1252},
      {"UTF-8 umlauts", "(Gr\xC3\xB6\xC3\x9F" "e)\n", TextEncoding::UTF8},
      {"UTF-8 euro, three bytes", "(\xE2\x82\xAC)", TextEncoding::UTF8},
      {"UTF-8 four bytes", "\xF0\x9F\x94\xA7", TextEncoding::UTF8},
      {"UTF-8 highest, U+10FFFF", "\xF4\x8F\xBF\xBF", TextEncoding::UTF8},
      {"Windows-1252 umlauts", "(Gr\xF6\xDF" "e)\r\n", TextEncoding::Windows1252},
      {"Windows-1252 A-umlaut and section sign: valid UTF-8 too", "\xC4\xA7", TextEncoding::UTF8},
      {"lone continuation byte", "a\x80", TextEncoding::Windows1252},
      {"lead cut off at the end", "ab\xC3", TextEncoding::Windows1252},
      {"three-byte lead cut off", "\xE2\x82", TextEncoding::Windows1252},
      {"lead followed by ASCII", "\xC3" "A", TextEncoding::Windows1252},
      {"overlong two bytes", "\xC0\xAF", TextEncoding::Windows1252},
      {"overlong three bytes", "\xE0\x80\xAF", TextEncoding::Windows1252},
      {"overlong four bytes", "\xF0\x80\x80\xAF", TextEncoding::Windows1252},
      {"surrogate", "\xED\xA0\x80", TextEncoding::Windows1252},
      {"above U+10FFFF", "\xF4\x90\x80\x80", TextEncoding::Windows1252},
      {"invalid lead F5", "\xF5\x80\x80\x80", TextEncoding::Windows1252},
      {"valid, then one bad byte late", "\xC3\xA4 ok \xE4", TextEncoding::Windows1252},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectEncoding(c.input), c.want);
    EXPECT_EQ(IsUtf8WithNonAscii(c.input), c.want == TextEncoding::UTF8);
  }
}

}  // namespace
}  // namespace torvane
