#include "conversion/LineFormatter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSettings.h"

namespace torvane {
namespace {

using Lines = std::vector<std::string>;

// Every word in its place and order, block numbers counted past a
// dash line, and the same text whether a second thread formats the
// batches or not, across many batches.
TEST(LineFormatterTest, WritesWordsInOrderWithOrWithoutASecondThread) {
  ConversionSettings settings = testing::ExampleSettings();
  settings.enum_ = true;
  const auto emit = [](LineFormatter& formatter, int i) {
    OutputLine& line = formatter.NewLine(i % 3 == 0 ? OutputLine::Code::CounterClockwise
                                                    : OutputLine::Code::Feed);
    line.words = OutputLine::kAxial | OutputLine::kAngle;
    line.axial = i;
    line.angleThousandths = 1500;
    if (i % 3 == 0) {
      line.words |= OutputLine::kRadial | OutputLine::kRadius | OutputLine::kNegative |
                    OutputLine::kFeed;
      line.radial = -2.5L;
      line.radius = 7;
      line.feed = 0.25L;
    }
    formatter.Emit();
  };
  Lines runs[2];
  for (const bool secondThread : {false, true}) {
    Lines& target = runs[secondThread];
    VectorSink sink(target);
    LineFormatter formatter(settings, sink, secondThread);
    formatter.AddText("%");
    formatter.AddText("-O0001");
    for (int i = 1; i <= 40000; ++i) emit(formatter, i);
    formatter.AddText("M30");
    formatter.Finish();
  }
  EXPECT_EQ(runs[0], runs[1]);
  ASSERT_EQ(runs[1].size(), 40003u);
  EXPECT_EQ(runs[1][0], "N1 %");
  EXPECT_EQ(runs[1][1], "O0001");
  EXPECT_EQ(runs[1][2], "N2 G01 Z1.000 C1.500");
  EXPECT_EQ(runs[1][4], "N4 G133 Z3.000 X-2.500 C1.500 L7.000 M16 F0.250");
  EXPECT_EQ(runs[1][40002], "N40002 M30");
}

}  // namespace
}  // namespace torvane
