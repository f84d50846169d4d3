// SPDX-License-Identifier: GPL-3.0-or-later
#include "highlighter/NCSyn.h"

#include "text/NCScanner.h"

namespace torvane {

TNCSyn::TNCSyn() {
  const TColor gray = RGBColor(128, 128, 128);
  const TColor lime = RGBColor(0, 255, 0);
  comment_ = AddAttribute("Comment", gray, fsBold | fsItalic);
  identifier_ = AddAttribute("Identifier", gray, fsBold | fsItalic);
  label_ = AddAttribute("Label", RGBColor(255, 0, 0), fsBold);
  key_ = AddAttribute("Key", lime, 0);
  number_ = AddAttribute("Number", RGBColor(0, 0, 128), fsBold);
  satz_ = AddAttribute("Marker", gray, fsItalic);
  space_ = AddAttribute("Space", clNone, 0);
  symbol_ = AddAttribute("Symbol", lime, 0);
  BindAttributeChanges();
  BuildDispatchTable();
  SetDefaultFilter("All files (*.*)|*.*");
}

TSynHighlighterAttributes* TNCSyn::AddAttribute(const char* name, TColor foreground, TFontStyles style) {
  auto attribute = std::make_unique<TSynHighlighterAttributes>(name);
  attribute->SetForeground(foreground);
  attribute->SetStyle(style);
  return &RegisterAttribute(std::move(attribute));
}

void TNCSyn::BuildDispatchTable() {
  // The classes of the scanner the converter reads with: a comma or a NUL
  // shows as a character the converter does not know, not as part of a
  // number or the line's end.
  for (int code = 0; code < 256; ++code) {
    const char c = static_cast<char>(code);
    Routine routine = &TNCSyn::OtherProc;
    switch (ClassOf(c)) {
      case NCChar::Letter: routine = &TNCSyn::LetterProc; break;
      case NCChar::Number: routine = &TNCSyn::NumberProc; break;
      case NCChar::Blank: routine = &TNCSyn::SpaceProc; break;
      case NCChar::LineBreak:
        routine = c == '\r' ? &TNCSyn::CarriageReturnProc : &TNCSyn::LineFeedProc;
        break;
      case NCChar::CommentOpen:
      case NCChar::LineComment: routine = &TNCSyn::CommentProc; break;
      case NCChar::Other:
        if (c == kCommentClose) routine = &TNCSyn::CloseBracketProc;
        break;
    }
    dispatch_[static_cast<unsigned char>(code)] = routine;
  }
}

TSynHighlighterAttributes* TNCSyn::AttributeForRole(int role) const {
  switch (role) {
    case 0: return comment_;
    case 2: return key_;
    case 4: return space_;
    default: return nullptr;
  }
}

std::bitset<256> TNCSyn::WordCharacters() const {
  std::bitset<256> set;
  for (unsigned char c = '0'; c <= '9'; ++c) set.set(c);
  for (unsigned char c = 'A'; c <= 'Z'; ++c) set.set(c);
  for (unsigned char c = 'a'; c <= 'z'; ++c) set.set(c);
  set.set('_');
  return set;
}

std::string TNCSyn::LanguageTitle() const { return "NC"; }

bool TNCSyn::AtLineEnd() const { return kind_ == nkEndOfLine; }

TLineState TNCSyn::LineState() const { return lineState_; }

std::string_view TNCSyn::CurrentText() const { return line_.substr(tokenStart_, run_ - tokenStart_); }

TSynHighlighterAttributes* TNCSyn::CurrentAttribute() const {
  switch (kind_) {
    case nkComment: return comment_;
    case nkIdentifier: return identifier_;
    case nkLabel: return label_;
    case nkNumber: return number_;
    case nkSpace: return space_;
    case nkSatz: return satz_;
    case nkOther: return identifier_;
    case nkKey:
    case nkEndOfLine:
    case nkCloseBracket: return nullptr;
  }
  return nullptr;
}

int TNCSyn::CurrentKind() const { return kind_; }

std::size_t TNCSyn::CurrentStart() const { return tokenStart_; }

void TNCSyn::Advance() {
  tokenStart_ = run_;
  if (run_ >= line_.size()) {
    kind_ = nkEndOfLine;
    return;
  }
  (this->*dispatch_[static_cast<unsigned char>(line_[run_])])();
}

void TNCSyn::BeginLine(std::string_view line, int lineIndex) {
  line_ = line;
  lineIndex_ = lineIndex;
  run_ = 0;
  Advance();
}

void TNCSyn::RestoreLineState(TLineState state) { lineState_ = static_cast<std::uint8_t>(state); }

void TNCSyn::ClearLineState() { lineState_ = 0; }

bool TNCSyn::IsLineLocal() const { return true; }

void TNCSyn::CloseBracketProc() {
  kind_ = nkCloseBracket;
  ++run_;
}

void TNCSyn::CommentProc() {
  kind_ = nkComment;
  run_ = CommentEnd(line_, run_);
}

void TNCSyn::CarriageReturnProc() {
  kind_ = nkSpace;
  ++run_;
  if (At(run_) == 10) ++run_;
}

void TNCSyn::LetterProc() {
  kind_ = nkLabel;
  ++run_;
}

void TNCSyn::LineFeedProc() {
  kind_ = nkSpace;
  ++run_;
}

void TNCSyn::NumberProc() {
  kind_ = nkNumber;
  run_ = RunEnd(line_, run_ + 1, NCChar::Number);
}

void TNCSyn::SpaceProc() {
  kind_ = nkSpace;
  run_ = RunEnd(line_, run_ + 1, NCChar::Blank);
}

void TNCSyn::OtherProc() {
  kind_ = nkOther;
  ++run_;
}

}  // namespace torvane
