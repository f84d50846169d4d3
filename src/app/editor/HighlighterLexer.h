// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Qsci/qscilexercustom.h>

#include <QColor>
#include <QFont>

#include <string>
#include <string_view>
#include <vector>

#include "highlighter/SynCustomHighlighter.h"

namespace torvane {

// What a pane draws with when a token has no attribute, or an attribute
// without a colour of its own.
struct PaneLook {
  QFont font;
  QColor color;
  QColor paper;
};

// Drives any highlighter of the contract from the editor: it hands the
// highlighter the lines the editor asks to have styled, maps each token's
// attribute to an editor style, and keeps each line's start state in the
// editor's per-line state, which moves with the lines as they are edited.
// Only what is on screen, and a page beyond it, is scanned: for a line-local
// highlighter exactly that; for others also the lines between the first
// changed one and the screen, whose states the screen depends on.
class HighlighterLexer : public QsciLexerCustom {
  Q_OBJECT

 public:
  // Style 0 is the pane's own look; attribute i of the highlighter is drawn
  // with StyleOfIndex(i).
  static int StyleOfIndex(int index);
  // The indicator that draws strike-out, which editor styles cannot.
  static constexpr int kStrikeIndicator = 8;

  HighlighterLexer(TSynCustomHighlighter& highlighter, const PaneLook& look, QObject* parent);

  const char* language() const override;
  QString description(int style) const override;
  QColor color(int style) const override;
  QColor paper(int style) const override;
  QFont font(int style) const override;
  bool eolFill(int style) const override;
  void styleText(int start, int end) override;

  // The text area's background: the whitespace role's background when it
  // has one, else the pane's.
  QColor AreaPaper() const;
  // Reads the attributes again and hands every style to the editor.
  // Returns whether the document needs styling again because strike-out
  // came or went.
  bool RefreshStyles();
  // Colours the lines on screen; the pane calls it before each paint, since
  // with a line-local highlighter lines may come into view uncoloured.
  void StyleShownLines();
  // Styles [start, end) whether shown or not.
  void StyleRange(int start, int end);
  // Sets the highlighter up to scan `line`, whose text is `bytes`, from the
  // state in force at its start.
  void BeginScan(int line, std::string_view bytes);

 private:
  struct Strike {
    int start;
    int length;
    QRgb color;
    long value;
  };

  void ApplyStrikes(int start, int end, const std::vector<Strike>& strikes);
  const TSynHighlighterAttributes* AttributeOfStyle(int style) const;
  int StyleOf(const TSynHighlighterAttributes* attribute) const;
  bool AnyStrikeOut() const;
  TLineState StateAtStartOf(int line);
  int WindowStart() const;
  int WindowEnd() const;

  TSynCustomHighlighter& highlighter_;
  PaneLook look_;
  std::string language_;
  const bool lineLocal_;
  std::vector<const TSynHighlighterAttributes*> attributes_;
  bool strikeOut_ = false;

  // Reused between calls so that styling allocates nothing per line.
  std::string bytes_;
  std::vector<int> offsets_;
  std::string styles_;
};

}  // namespace torvane
