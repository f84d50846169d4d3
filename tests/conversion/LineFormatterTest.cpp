// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/LineFormatter.h"

#include <gtest/gtest.h>

#include <stdexcept>
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

// A target that fails at one line (out of memory, a full disk) keeps exactly
// the lines before it, once each, and the producer learns of it within a
// few batches, not at the end of the program.
TEST(LineFormatterTest, FailingTargetKeepsTheLinesBeforeAndStopsTheProducer) {
  class FailingSink : public LineSink {
   public:
    FailingSink(Lines& lines, std::size_t failAt) : lines_(lines), failAt_(failAt) {}
    // Fails once: a target that would take the lines again must not get
    // them twice.
    void Append(std::string_view line) override {
      if (!failed_ && lines_.size() + 1 == failAt_) {
        failed_ = true;
        throw std::runtime_error("voll");
      }
      lines_.emplace_back(line);
    }

   private:
    Lines& lines_;
    std::size_t failAt_;
    bool failed_ = false;
  };
  struct Case {
    const char* name;
    bool secondThread;
    std::size_t failAt;
  };
  const Case cases[] = {
      {"one thread, in the first batch", false, 5000},
      {"one thread, far in", false, 30000},
      {"second thread, in the first batch", true, 5000},
      {"second thread, far in", true, 30000},
  };
  constexpr int kLines = 200000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Lines target;
    FailingSink sink(target, c.failAt);
    const ConversionSettings settings = testing::ExampleSettings();
    LineFormatter formatter(settings, sink, c.secondThread);
    int emitted = 0;
    std::string failure;
    try {
      for (; emitted < kLines; ++emitted) formatter.AddText(std::to_string(emitted + 1));
      formatter.Finish();
    } catch (const std::runtime_error& error) {
      failure = error.what();
      try {
        formatter.Finish();
      } catch (const std::runtime_error&) {
      }
    }
    EXPECT_EQ(failure, "voll");
    ASSERT_EQ(target.size(), c.failAt - 1);
    for (std::size_t i = 0; i < target.size(); ++i) ASSERT_EQ(target[i], std::to_string(i + 1));
    EXPECT_LT(emitted, static_cast<int>(c.failAt) + 6 * 8192) << "the producer went on";
  }
}

}  // namespace
}  // namespace torvane
