// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "highlighter/SynHighlighterAttributes.h"

namespace torvane {

class TSynCustomHighlighter;

// The state carried from the end of one line to the start of the next. Its
// meaning belongs to the concrete highlighter; a pane only stores it per line
// and hands it back.
using TLineState = std::intptr_t;

// A pane's callback: the pane it was registered for, and the highlighter
// that calls. A plain function and a pane pointer, so that a subscription can
// be compared and removed again.
using THighlighterEvent = void (*)(void* pane, TSynCustomHighlighter& sender);

struct HighlighterSubscriber {
  THighlighterEvent handler;
  void* pane;
  bool operator==(const HighlighterSubscriber&) const = default;
};

// The base of every highlighter. A pane hands it one line at a time and
// pulls the tokens: where each starts, its text and the attribute to draw it
// with. The base holds the attributes, sorted by name without regard to
// case, and tells subscribed panes when one of them changes or when the
// highlighter itself goes away.
class TSynCustomHighlighter {
 public:
  TSynCustomHighlighter() = default;
  TSynCustomHighlighter(const TSynCustomHighlighter&) = delete;
  TSynCustomHighlighter& operator=(const TSynCustomHighlighter&) = delete;
  // Tells every pane that asked for it, so that none keeps a dangling
  // pointer, then frees the attributes.
  virtual ~TSynCustomHighlighter();

  virtual int AttributeCount() const;
  // None when the index is outside the list.
  virtual TSynHighlighterAttributes* AttributeAt(int index) const;
  // Role 0 comments, 2 keywords, 4 whitespace; none when no attribute plays
  // the role.
  virtual TSynHighlighterAttributes* AttributeForRole(int role) const = 0;
  virtual const std::string& DefaultFilter() const;
  virtual std::bitset<256> WordCharacters() const;
  virtual void SetDefaultFilter(std::string filter);
  virtual std::string LanguageTitle() const;

  virtual bool AtLineEnd() const = 0;
  virtual TLineState LineState() const;
  virtual std::string_view CurrentText() const = 0;
  virtual TSynHighlighterAttributes* CurrentAttribute() const = 0;
  virtual int CurrentKind() const = 0;
  virtual std::size_t CurrentStart() const = 0;
  virtual void Advance() = 0;
  // The caller keeps `line` alive and unchanged until it is done with the
  // line's tokens; the highlighter keeps a view of it, not a copy.
  virtual void BeginLine(std::string_view line, int lineIndex) = 0;
  virtual void RestoreLineState(TLineState state);
  virtual void ClearLineState();
  // True when nothing on one line changes how the next is scanned, so that
  // a pane may colour any line on its own without scanning those above it.
  // The base cannot know and says no.
  virtual bool IsLineLocal() const;

  // Takes ownership. A name already present (compared without regard to
  // case) fails with "In der Stringliste sind Duplikate nicht erlaubt" and
  // leaves the list as it was.
  TSynHighlighterAttributes& RegisterAttribute(std::unique_ptr<TSynHighlighterAttributes> attribute);
  // Routes every change of the attributes registered so far to
  // AttributesChanged.
  void BindAttributeChanges();
  // Calls every change subscriber in subscription order. An exception from
  // a handler stops the round and reaches whoever changed the attribute.
  void AttributesChanged();

  // A pair added twice is called twice; removing takes out every equal pair.
  void AddChangeSubscriber(THighlighterEvent handler, void* pane);
  void RemoveChangeSubscriber(THighlighterEvent handler, void* pane);
  void AddFreeNotification(THighlighterEvent handler, void* pane);
  void RemoveFreeNotification(THighlighterEvent handler, void* pane);

  void SkipToLineEnd();

 private:
  std::vector<std::unique_ptr<TSynHighlighterAttributes>> attributes_;
  std::vector<HighlighterSubscriber> changeSubscribers_;
  std::vector<HighlighterSubscriber> freeSubscribers_;
  std::string defaultFilter_;
};

}  // namespace torvane
