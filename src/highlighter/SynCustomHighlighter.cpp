// SPDX-License-Identifier: GPL-3.0-or-later
#include "highlighter/SynCustomHighlighter.h"

#include <algorithm>
#include <stdexcept>

namespace torvane {

namespace {

unsigned char LowerAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Orders names as the attribute list does: byte by byte, letters without
// regard to case.
int CompareNames(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char ca = LowerAscii(static_cast<unsigned char>(a[i]));
    const unsigned char cb = LowerAscii(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void RemovePairs(std::vector<HighlighterSubscriber>& list, HighlighterSubscriber pair) {
  list.erase(std::remove(list.begin(), list.end(), pair), list.end());
}

}  // namespace

TSynCustomHighlighter::~TSynCustomHighlighter() {
  // A pane may unsubscribe while it is told; work on a copy.
  const std::vector<HighlighterSubscriber> told = freeSubscribers_;
  for (const HighlighterSubscriber& s : told) s.handler(s.pane, *this);
}

int TSynCustomHighlighter::AttributeCount() const { return static_cast<int>(attributes_.size()); }

TSynHighlighterAttributes* TSynCustomHighlighter::AttributeAt(int index) const {
  if (index < 0 || index >= AttributeCount()) return nullptr;
  return attributes_[static_cast<std::size_t>(index)].get();
}

const std::string& TSynCustomHighlighter::DefaultFilter() const { return defaultFilter_; }

std::bitset<256> TSynCustomHighlighter::WordCharacters() const {
  std::bitset<256> set;
  for (int code = 33; code <= 255; ++code) set.set(static_cast<std::size_t>(code));
  return set;
}

void TSynCustomHighlighter::SetDefaultFilter(std::string filter) { defaultFilter_ = std::move(filter); }

std::string TSynCustomHighlighter::LanguageTitle() const { return "<Unknown>"; }

TLineState TSynCustomHighlighter::LineState() const { return 0; }

void TSynCustomHighlighter::RestoreLineState(TLineState) {}

void TSynCustomHighlighter::ClearLineState() {}

bool TSynCustomHighlighter::IsLineLocal() const { return false; }

TSynHighlighterAttributes& TSynCustomHighlighter::RegisterAttribute(
    std::unique_ptr<TSynHighlighterAttributes> attribute) {
  const std::string& name = attribute->Name();
  auto at = std::lower_bound(attributes_.begin(), attributes_.end(), name,
                             [](const std::unique_ptr<TSynHighlighterAttributes>& a, const std::string& n) {
                               return CompareNames(a->Name(), n) < 0;
                             });
  if (at != attributes_.end() && CompareNames((*at)->Name(), name) == 0) {
    throw std::runtime_error("In der Stringliste sind Duplikate nicht erlaubt");
  }
  return **attributes_.insert(at, std::move(attribute));
}

void TSynCustomHighlighter::BindAttributeChanges() {
  for (const auto& attribute : attributes_) {
    attribute->SetOnChange([this](TSynHighlighterAttributes&) { AttributesChanged(); });
  }
}

void TSynCustomHighlighter::AttributesChanged() {
  const std::vector<HighlighterSubscriber> told = changeSubscribers_;
  for (const HighlighterSubscriber& s : told) s.handler(s.pane, *this);
}

void TSynCustomHighlighter::AddChangeSubscriber(THighlighterEvent handler, void* pane) {
  changeSubscribers_.push_back({handler, pane});
}

void TSynCustomHighlighter::RemoveChangeSubscriber(THighlighterEvent handler, void* pane) {
  RemovePairs(changeSubscribers_, {handler, pane});
}

void TSynCustomHighlighter::AddFreeNotification(THighlighterEvent handler, void* pane) {
  freeSubscribers_.push_back({handler, pane});
}

void TSynCustomHighlighter::RemoveFreeNotification(THighlighterEvent handler, void* pane) {
  RemovePairs(freeSubscribers_, {handler, pane});
}

void TSynCustomHighlighter::SkipToLineEnd() {
  while (!AtLineEnd()) Advance();
}

}  // namespace torvane
