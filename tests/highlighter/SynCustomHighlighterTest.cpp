// SPDX-License-Identifier: GPL-3.0-or-later
#include "highlighter/SynCustomHighlighter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace torvane {
namespace {

// A highlighter whose scanner gives one token per character, enough to
// drive the base class.
class CharHighlighter : public TSynCustomHighlighter {
 public:
  TSynHighlighterAttributes* AttributeForRole(int) const override { return nullptr; }
  bool AtLineEnd() const override { return pos_ >= line_.size(); }
  std::string_view CurrentText() const override { return line_.substr(pos_, AtLineEnd() ? 0 : 1); }
  TSynHighlighterAttributes* CurrentAttribute() const override { return nullptr; }
  int CurrentKind() const override { return 0; }
  std::size_t CurrentStart() const override { return pos_; }
  void Advance() override {
    ++advances;
    if (!AtLineEnd()) ++pos_;
  }
  void BeginLine(std::string_view line, int) override {
    line_ = line;
    pos_ = 0;
  }
  int advances = 0;

 private:
  std::string_view line_;
  std::size_t pos_ = 0;
};

std::vector<std::string> Names(const TSynCustomHighlighter& h) {
  std::vector<std::string> names;
  for (int i = 0; i < h.AttributeCount(); ++i) names.push_back(h.AttributeAt(i)->Name());
  return names;
}

TEST(SynHighlighterAttributesTest, NotifiesOnlyOnRealChange) {
  struct Case {
    const char* name;
    void (*set)(TSynHighlighterAttributes&);
    int wantCalls;
  };
  const Case cases[] = {
      {"foreground to none again", [](TSynHighlighterAttributes& a) { a.SetForeground(clNone); }, 0},
      {"background to none again", [](TSynHighlighterAttributes& a) { a.SetBackground(clNone); }, 0},
      {"style to empty again", [](TSynHighlighterAttributes& a) { a.SetStyle(0); }, 0},
      {"foreground to red", [](TSynHighlighterAttributes& a) { a.SetForeground(255); }, 1},
      {"background to navy", [](TSynHighlighterAttributes& a) { a.SetBackground(8388608); }, 1},
      {"style to bold", [](TSynHighlighterAttributes& a) { a.SetStyle(fsBold); }, 1},
      {"foreground twice the same",
       [](TSynHighlighterAttributes& a) {
         a.SetForeground(255);
         a.SetForeground(255);
       },
       1},
      {"style there and back",
       [](TSynHighlighterAttributes& a) {
         a.SetStyle(fsItalic | fsStrikeOut);
         a.SetStyle(0);
       },
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSynHighlighterAttributes attribute("Comment");
    int calls = 0;
    attribute.SetOnChange([&](TSynHighlighterAttributes& changed) {
      EXPECT_EQ(&changed, &attribute);
      ++calls;
    });
    c.set(attribute);
    EXPECT_EQ(calls, c.wantCalls);
  }
}

TEST(SynCustomHighlighterTest, KeepsAttributesSortedByNameWithoutCase) {
  struct Case {
    const char* name;
    std::vector<std::string> registered;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {"reverse order", {"c", "b", "a"}, {"a", "b", "c"}},
      {"case ignored", {"beta", "Alpha", "gamma", "Delta"}, {"Alpha", "beta", "Delta", "gamma"}},
      {"prefix first", {"Numbers", "Number"}, {"Number", "Numbers"}},
      {"underscore before letters", {"Zed", "a", "_x"}, {"_x", "a", "Zed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CharHighlighter h;
    for (const std::string& n : c.registered) h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>(n));
    EXPECT_EQ(Names(h), c.want);
  }
}

TEST(SynCustomHighlighterTest, RefusesDuplicateNamesAndKeepsTheList) {
  for (const char* duplicate : {"Comment", "COMMENT", "comment"}) {
    SCOPED_TRACE(duplicate);
    CharHighlighter h;
    h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>("Space"));
    TSynHighlighterAttributes& first = h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>("Comment"));
    try {
      h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>(duplicate));
      FAIL() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "In der Stringliste sind Duplikate nicht erlaubt");
    }
    EXPECT_EQ(Names(h), (std::vector<std::string>{"Comment", "Space"}));
    EXPECT_EQ(h.AttributeAt(0), &first);
  }
}

TEST(SynCustomHighlighterTest, AttributeAtGivesNoneOutsideTheList) {
  CharHighlighter h;
  h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>("a"));
  h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>("b"));
  for (int index : {-1, 2, 1000, -1000}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(h.AttributeAt(index), nullptr);
  }
  EXPECT_NE(h.AttributeAt(1), nullptr);
}

struct Recorder {
  std::vector<std::string>* log;
  std::string name;
  static void Handle(void* pane, TSynCustomHighlighter&) {
    auto* self = static_cast<Recorder*>(pane);
    self->log->push_back(self->name);
  }
  static void Other(void* pane, TSynCustomHighlighter&) {
    auto* self = static_cast<Recorder*>(pane);
    self->log->push_back(self->name + "'");
  }
  static void Throw(void*, TSynCustomHighlighter&) { throw std::runtime_error("pane failed"); }
};

TEST(SynCustomHighlighterTest, ChangeSubscribersInOrderPairsCountTwice) {
  std::vector<std::string> log;
  Recorder a{&log, "a"}, b{&log, "b"};
  CharHighlighter h;
  TSynHighlighterAttributes& attr = h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>("x"));
  h.BindAttributeChanges();
  h.AddChangeSubscriber(&Recorder::Handle, &b);
  h.AddChangeSubscriber(&Recorder::Handle, &a);
  h.AddChangeSubscriber(&Recorder::Other, &a);
  h.AddChangeSubscriber(&Recorder::Handle, &b);

  attr.SetForeground(1);
  EXPECT_EQ(log, (std::vector<std::string>{"b", "a", "a'", "b"}));

  log.clear();
  attr.SetForeground(1);
  EXPECT_TRUE(log.empty()) << "same value notifies nobody";

  h.RemoveChangeSubscriber(&Recorder::Handle, &b);
  attr.SetStyle(fsBold);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "a'"})) << "removal takes every equal pair, no other";
}

TEST(SynCustomHighlighterTest, OnlyAttributesRegisteredBeforeBindingNotify) {
  std::vector<std::string> log;
  Recorder a{&log, "a"};
  CharHighlighter h;
  TSynHighlighterAttributes& bound = h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>("bound"));
  h.BindAttributeChanges();
  TSynHighlighterAttributes& late = h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>("late"));
  h.AddChangeSubscriber(&Recorder::Handle, &a);
  late.SetForeground(5);
  EXPECT_TRUE(log.empty());
  bound.SetForeground(5);
  EXPECT_EQ(log.size(), 1u);
}

TEST(SynCustomHighlighterTest, HandlerErrorStopsTheRoundAndReachesTheSetter) {
  std::vector<std::string> log;
  Recorder a{&log, "a"}, b{&log, "b"};
  CharHighlighter h;
  TSynHighlighterAttributes& attr = h.RegisterAttribute(std::make_unique<TSynHighlighterAttributes>("x"));
  h.BindAttributeChanges();
  h.AddChangeSubscriber(&Recorder::Handle, &a);
  h.AddChangeSubscriber(&Recorder::Throw, nullptr);
  h.AddChangeSubscriber(&Recorder::Handle, &b);
  EXPECT_THROW(attr.SetForeground(7), std::runtime_error);
  EXPECT_EQ(log, (std::vector<std::string>{"a"}));
  EXPECT_EQ(attr.Foreground(), 7u) << "the value is stored before anyone is told";
}

TEST(SynCustomHighlighterTest, TellsPanesWhenDestroyed) {
  std::vector<std::string> log;
  Recorder a{&log, "a"}, b{&log, "b"};
  {
    CharHighlighter h;
    h.AddFreeNotification(&Recorder::Handle, &a);
    h.AddFreeNotification(&Recorder::Handle, &b);
    h.RemoveFreeNotification(&Recorder::Handle, &b);
    h.AddChangeSubscriber(&Recorder::Other, &b);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"a"}));
}

TEST(SynCustomHighlighterTest, BaseDefaults) {
  CharHighlighter h;
  EXPECT_EQ(h.LanguageTitle(), "<Unknown>");
  EXPECT_EQ(h.DefaultFilter(), "");
  h.RestoreLineState(42);
  EXPECT_EQ(h.LineState(), 0);
  EXPECT_FALSE(h.IsLineLocal());
  const std::bitset<256> words = h.WordCharacters();
  EXPECT_EQ(words.count(), 223u);
  EXPECT_FALSE(words[32]);
  EXPECT_TRUE(words[33]);
  EXPECT_TRUE(words[255]);
}

TEST(SynCustomHighlighterTest, SkipToLineEndAdvancesUntilTheEnd) {
  CharHighlighter h;
  h.BeginLine("abcd", 0);
  h.SkipToLineEnd();
  EXPECT_TRUE(h.AtLineEnd());
  EXPECT_EQ(h.advances, 4);
  h.SkipToLineEnd();
  EXPECT_EQ(h.advances, 4) << "already at the end";
}

}  // namespace
}  // namespace torvane
