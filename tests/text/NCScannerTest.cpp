// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/NCScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace torvane {
namespace {

// Every byte has one class, the one all readers of NC text share.
TEST(NCScannerTest, EveryByteHasItsClass) {
  struct Case {
    const char* name;
    std::string bytes;
    NCChar want;
  };
  const Case cases[] = {
      {"letters of both cases", "ABCXYZabcxyz", NCChar::Letter},
      {"digits, point and signs", "0123456789.-+", NCChar::Number},
      {"blanks and the DOS end-of-file mark", " \t\f\v\x1A", NCChar::Blank},
      {"line breaks", "\r\n", NCChar::LineBreak},
      {"comment openers", "(", NCChar::CommentOpen},
      {"line comment", ";", NCChar::LineComment},
      {"marks no reader knows as words", std::string(",%:/#[]=)*$!&@_\"'\0\x01\x7F", 20),
       NCChar::Other},
      {"bytes beyond ASCII", "\x80\xA0\xC4\xE4\xFC\xFF", NCChar::Other},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char byte : c.bytes)
      EXPECT_EQ(ClassOf(byte), c.want) << "byte " << int(static_cast<unsigned char>(byte));
  }
}

TEST(NCScannerTest, CommentsEndWhereEveryReaderEndsThem) {
  struct Case {
    std::string text;
    std::size_t open;
    std::size_t want;
  };
  const Case cases[] = {
      {"(abc)X", 0, 5},             // at its first closer
      {"(a(b)c)", 0, 5},            // an opener inside is text
      {"X(open", 1, 6},             // unclosed: to the end
      {std::string("(a\0b)X", 6), 0, 5},  // a NUL is text of the comment
      {"(a\rb)", 0, 2},             // never across a line break
      {";rest (x) y", 0, 11},       // a line comment to the end
      {";a\nb", 0, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(CommentEnd(c.text, c.open), c.want) << c.text;
}

}  // namespace
}  // namespace torvane
