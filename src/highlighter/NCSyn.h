// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "highlighter/SynCustomHighlighter.h"

namespace torvane {

// Token kinds, by the numbers CurrentKind reports. Identifier, key and satz
// are never produced; they keep their numbers so that the values stay stable.
enum TNCTokenKind : std::uint8_t {
  nkComment = 0,
  nkIdentifier = 1,
  nkLabel = 2,
  nkKey = 3,
  nkEndOfLine = 4,
  nkNumber = 5,
  nkSpace = 6,
  nkCloseBracket = 7,
  nkSatz = 8,
  nkOther = 9,
};

// Syntax colouring for NC program text. Line-local: nothing on one line
// changes how the next is scanned. The pieces are the converter's own
// (text/NCScanner.h): each letter, upper or lower case, is an address letter
// of its own, digits with signs and points form a number, "(" ... ")" and
// ";" up to the line's end are comments, and any other character (a comma,
// a NUL, an umlaut) is one the converter does not know.
class TNCSyn : public TSynCustomHighlighter {
 public:
  TNCSyn();

  TSynHighlighterAttributes& CommentAttri() const { return *comment_; }
  TSynHighlighterAttributes& IdentifierAttri() const { return *identifier_; }
  TSynHighlighterAttributes& LabelAttri() const { return *label_; }
  TSynHighlighterAttributes& KeyAttri() const { return *key_; }
  TSynHighlighterAttributes& NumberAttri() const { return *number_; }
  TSynHighlighterAttributes& SatzAttri() const { return *satz_; }
  TSynHighlighterAttributes& SpaceAttri() const { return *space_; }
  TSynHighlighterAttributes& SymbolAttri() const { return *symbol_; }

  TSynHighlighterAttributes* AttributeForRole(int role) const override;
  std::bitset<256> WordCharacters() const override;
  std::string LanguageTitle() const override;

  bool AtLineEnd() const override;
  TLineState LineState() const override;
  std::string_view CurrentText() const override;
  TSynHighlighterAttributes* CurrentAttribute() const override;
  int CurrentKind() const override;
  std::size_t CurrentStart() const override;
  void Advance() override;
  void BeginLine(std::string_view line, int lineIndex) override;
  void RestoreLineState(TLineState state) override;
  void ClearLineState() override;
  bool IsLineLocal() const override;

  static constexpr char kCommentOpen = '(';
  static constexpr char kCommentClose = ')';
  static constexpr char kLineComment = ';';

 private:
  using Routine = void (TNCSyn::*)();

  TSynHighlighterAttributes* AddAttribute(const char* name, TColor foreground, TFontStyles style);
  void BuildDispatchTable();
  // The character at `index`; the end of the view reads as the NUL that
  // ends a line.
  unsigned char At(std::size_t index) const {
    return index < line_.size() ? static_cast<unsigned char>(line_[index]) : 0;
  }

  void CloseBracketProc();
  void CommentProc();
  void CarriageReturnProc();
  void LetterProc();
  void LineFeedProc();
  void NumberProc();
  void SpaceProc();
  void OtherProc();

  TSynHighlighterAttributes* comment_;
  TSynHighlighterAttributes* identifier_;
  TSynHighlighterAttributes* label_;
  TSynHighlighterAttributes* key_;
  TSynHighlighterAttributes* number_;
  TSynHighlighterAttributes* satz_;
  TSynHighlighterAttributes* space_;
  TSynHighlighterAttributes* symbol_;

  std::array<Routine, 256> dispatch_{};

  std::string_view line_;
  int lineIndex_ = 0;
  std::size_t run_ = 0;
  std::size_t tokenStart_ = 0;
  TNCTokenKind kind_ = nkEndOfLine;
  std::uint8_t lineState_ = 0;
};

}  // namespace torvane
