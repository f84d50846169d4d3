// SPDX-License-Identifier: GPL-3.0-or-later
// The editor commands behind the panes' key bindings.

#include <algorithm>
#include <cstring>

#include "EditorPane.h"

namespace torvane {

namespace {

using Sci = QsciScintillaBase;

constexpr const char* kBrackets = "()[]{}<>";

}  // namespace

void EditorPane::ExecuteCommand(TEditorCommand command) {
  switch (command) {
    case ecNone: break;
    case ecLeft: Send(Sci::SCI_CHARLEFT); break;
    case ecRight: Send(Sci::SCI_CHARRIGHT); break;
    case ecUp: Send(Sci::SCI_LINEUP); break;
    case ecDown: Send(Sci::SCI_LINEDOWN); break;
    case ecWordLeft: Send(Sci::SCI_WORDLEFT); break;
    case ecWordRight: Send(Sci::SCI_WORDRIGHT); break;
    case ecLineStart: Send(Sci::SCI_HOME); break;
    case ecLineEnd: Send(Sci::SCI_LINEEND); break;
    case ecPageUp: Send(Sci::SCI_PAGEUP); break;
    case ecPageDown: Send(Sci::SCI_PAGEDOWN); break;
    case ecPageTop: MoveToPageTop(); break;
    case ecPageBottom: MoveToPageBottom(); break;
    case ecEditorTop: Send(Sci::SCI_DOCUMENTSTART); break;
    case ecEditorBottom: Send(Sci::SCI_DOCUMENTEND); break;
    case ecSelLeft: MoveSelecting(Sci::SCI_CHARLEFT, Sci::SCI_CHARLEFTEXTEND); break;
    case ecSelRight: MoveSelecting(Sci::SCI_CHARRIGHT, Sci::SCI_CHARRIGHTEXTEND); break;
    case ecSelUp: MoveSelecting(Sci::SCI_LINEUP, Sci::SCI_LINEUPEXTEND); break;
    case ecSelDown: MoveSelecting(Sci::SCI_LINEDOWN, Sci::SCI_LINEDOWNEXTEND); break;
    case ecSelWordLeft: MoveSelecting(Sci::SCI_WORDLEFT, Sci::SCI_WORDLEFTEXTEND); break;
    case ecSelWordRight: MoveSelecting(Sci::SCI_WORDRIGHT, Sci::SCI_WORDRIGHTEXTEND); break;
    case ecSelLineStart: MoveSelecting(Sci::SCI_HOME, Sci::SCI_HOMEEXTEND); break;
    case ecSelLineEnd: MoveSelecting(Sci::SCI_LINEEND, Sci::SCI_LINEENDEXTEND); break;
    case ecSelPageUp: MoveSelecting(Sci::SCI_PAGEUP, Sci::SCI_PAGEUPEXTEND); break;
    case ecSelPageDown: MoveSelecting(Sci::SCI_PAGEDOWN, Sci::SCI_PAGEDOWNEXTEND); break;
    case ecSelPageTop: MoveSelecting(&EditorPane::MoveToPageTop); break;
    case ecSelPageBottom: MoveSelecting(&EditorPane::MoveToPageBottom); break;
    case ecSelEditorTop: MoveSelecting(Sci::SCI_DOCUMENTSTART, Sci::SCI_DOCUMENTSTARTEXTEND); break;
    case ecSelEditorBottom: MoveSelecting(Sci::SCI_DOCUMENTEND, Sci::SCI_DOCUMENTENDEXTEND); break;
    case ecScrollUp: Send(Sci::SCI_LINESCROLLUP); break;
    case ecScrollDown: Send(Sci::SCI_LINESCROLLDOWN); break;
    case ecSelectAll: Send(Sci::SCI_SELECTALL); break;
    case ecToggleMode:
      Send(Sci::SCI_EDITTOGGLEOVERTYPE);
      UpdateCaretStyle();
      break;
    case ecCopy: Send(Sci::SCI_COPY); break;
    case ecCut: Send(Sci::SCI_CUT); break;
    case ecPaste: PasteFromClipboard(); break;
    case ecDeleteChar: Send(Sci::SCI_CLEAR); break;
    case ecDeleteLastChar: Send(Sci::SCI_DELETEBACK); break;
    case ecDeleteLastWord: Send(Sci::SCI_DELWORDLEFT); break;
    case ecDeleteWord: Send(Sci::SCI_DELWORDRIGHT); break;
    case ecDeleteLine: Send(Sci::SCI_LINEDELETE); break;
    case ecDeleteEOL: Send(Sci::SCI_DELLINERIGHT); break;
    case ecLineBreak: Send(Sci::SCI_NEWLINE); break;
    case ecInsertLine: InsertLine(); break;
    case ecTab: Send(Sci::SCI_TAB); break;
    case ecShiftTab: Send(Sci::SCI_BACKTAB); break;
    case ecContextHelp: break;  // no help is attached to the panes
    case ecMatchBracket: MatchBracket(); break;
    case ecNormalSelect: SetSelectionMode(SelectionKind::Normal); break;
    case ecColumnSelect: SetSelectionMode(SelectionKind::Column); break;
    case ecLineSelect: SetSelectionMode(SelectionKind::Line); break;
    case ecBlockIndent: IndentBlock(+1); break;
    case ecBlockUnindent: IndentBlock(-1); break;
    case ecUndo: Send(Sci::SCI_UNDO); break;
    case ecRedo: Send(Sci::SCI_REDO); break;
    default:
      if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
        GotoBookmark(command - ecGotoMarker0);
      } else if (command >= ecSetMarker0 && command <= ecSetMarker9) {
        SetBookmark(command - ecSetMarker0);
      }
      break;
  }
}

// ---- selection modes ----

void EditorPane::MoveSelecting(unsigned int move, unsigned int extend) {
  if (selectionMode_ == SelectionKind::Normal) {
    Send(extend);
    return;
  }
  long anchor;
  long caret;
  if (selectionMode_ == SelectionKind::Line && Send(Sci::SCI_GETSELECTIONSTART) == lineSelStart_ &&
      Send(Sci::SCI_GETSELECTIONEND) == lineSelEnd_) {
    anchor = lineAnchor_;
    caret = lineCaret_;
  } else if (Send(Sci::SCI_SELECTIONISRECTANGLE)) {
    anchor = Send(Sci::SCI_GETRECTANGULARSELECTIONANCHOR);
    caret = Send(Sci::SCI_GETRECTANGULARSELECTIONCARET);
  } else {
    anchor = Send(Sci::SCI_GETANCHOR);
    caret = Send(Sci::SCI_GETCURRENTPOS);
  }
  Send(Sci::SCI_SETEMPTYSELECTION, caret);
  Send(move);
  SelectInMode(anchor, Send(Sci::SCI_GETCURRENTPOS));
}

void EditorPane::MoveSelecting(void (EditorPane::*move)()) {
  const long anchor = Send(Sci::SCI_GETANCHOR);
  const SelectionKind mode = selectionMode_;
  (this->*move)();
  if (mode == SelectionKind::Normal) {
    Send(Sci::SCI_SETANCHOR, anchor);
  } else {
    SelectInMode(anchor, Send(Sci::SCI_GETCURRENTPOS));
  }
}

void EditorPane::SelectInMode(long anchor, long caret) {
  switch (selectionMode_) {
    case SelectionKind::Normal:
      Send(Sci::SCI_SETSEL, anchor, caret);
      break;
    case SelectionKind::Column:
      Send(Sci::SCI_SETRECTANGULARSELECTIONANCHOR, anchor);
      Send(Sci::SCI_SETRECTANGULARSELECTIONCARET, caret);
      break;
    case SelectionKind::Line: {
      const long lines = Send(Sci::SCI_GETLINECOUNT);
      const long anchorLine = Send(Sci::SCI_LINEFROMPOSITION, anchor);
      const long caretLine = Send(Sci::SCI_LINEFROMPOSITION, caret);
      const long first = std::min(anchorLine, caretLine);
      const long last = std::max(anchorLine, caretLine);
      const long start = Send(Sci::SCI_POSITIONFROMLINE, first);
      const long end = last + 1 < lines ? Send(Sci::SCI_POSITIONFROMLINE, last + 1) : Send(Sci::SCI_GETLENGTH);
      if (caret >= anchor) {
        Send(Sci::SCI_SETSEL, start, end);
      } else {
        Send(Sci::SCI_SETSEL, end, start);
      }
      lineAnchor_ = anchor;
      lineCaret_ = caret;
      lineSelStart_ = start;
      lineSelEnd_ = end;
      break;
    }
  }
}

void EditorPane::SetSelectionMode(SelectionKind mode) {
  const long anchor = Send(Sci::SCI_GETANCHOR);
  const long caret = Send(Sci::SCI_GETCURRENTPOS);
  selectionMode_ = mode;
  lineSelStart_ = lineSelEnd_ = -1;
  if (anchor != caret) SelectInMode(anchor, caret);
}

// ---- moves ----

void EditorPane::MoveToPageTop() {
  const long column = Send(Sci::SCI_GETCOLUMN, Send(Sci::SCI_GETCURRENTPOS));
  const long line = Send(Sci::SCI_DOCLINEFROMVISIBLE, Send(Sci::SCI_GETFIRSTVISIBLELINE));
  Send(Sci::SCI_GOTOPOS, Send(Sci::SCI_FINDCOLUMN, line, column));
}

void EditorPane::MoveToPageBottom() {
  const long column = Send(Sci::SCI_GETCOLUMN, Send(Sci::SCI_GETCURRENTPOS));
  const long lastShown = Send(Sci::SCI_GETFIRSTVISIBLELINE) + std::max(1L, Send(Sci::SCI_LINESONSCREEN)) - 1;
  const long line = std::min(Send(Sci::SCI_DOCLINEFROMVISIBLE, lastShown), Send(Sci::SCI_GETLINECOUNT) - 1);
  Send(Sci::SCI_GOTOPOS, Send(Sci::SCI_FINDCOLUMN, line, column));
}

// ---- editing ----

void EditorPane::InsertLine() {
  if (isReadOnly()) return;
  // A break after the caret: the caret stays where it is.
  const long caret = Send(Sci::SCI_GETCURRENTPOS);
  SendScintilla(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(caret), "\n");
  Send(Sci::SCI_SETEMPTYSELECTION, caret);
}

void EditorPane::IndentBlock(int direction) {
  if (isReadOnly()) return;
  const long anchor = Send(Sci::SCI_GETANCHOR);
  const long caret = Send(Sci::SCI_GETCURRENTPOS);
  const long selStart = std::min(anchor, caret);
  const long selEnd = std::max(anchor, caret);
  const long first = Send(Sci::SCI_LINEFROMPOSITION, selStart);
  long last = Send(Sci::SCI_LINEFROMPOSITION, selEnd);
  // A selection that ends at the start of a line does not take that line.
  if (last > first && selEnd == Send(Sci::SCI_POSITIONFROMLINE, last)) --last;

  // Anchor and caret stay on their characters: indenting only changes the
  // start of a line, so their distance from the line's end is kept.
  struct Kept {
    long line;
    long fromEnd;
  };
  auto keep = [&](long pos) {
    const long line = Send(Sci::SCI_LINEFROMPOSITION, pos);
    return Kept{line, Send(Sci::SCI_GETLINEENDPOSITION, line) - pos};
  };
  auto restore = [&](Kept k) {
    return std::max(Send(Sci::SCI_POSITIONFROMLINE, k.line), Send(Sci::SCI_GETLINEENDPOSITION, k.line) - k.fromEnd);
  };
  const Kept keptAnchor = keep(anchor);
  const Kept keptCaret = keep(caret);

  Send(Sci::SCI_BEGINUNDOACTION);
  for (long line = first; line <= last; ++line) {
    const long indent = Send(Sci::SCI_GETLINEINDENTATION, line);
    Send(Sci::SCI_SETLINEINDENTATION, line, std::max(0L, indent + direction * kBlockIndent));
  }
  Send(Sci::SCI_ENDUNDOACTION);
  Send(Sci::SCI_SETSEL, restore(keptAnchor), restore(keptCaret));
}

// ---- bookmarks ----

int EditorPane::BookmarkLine(int number) const {
  return static_cast<int>(Send(Sci::SCI_MARKERNEXT, 0, 1L << number));
}

void EditorPane::SetBookmark(int number) {
  const long caret = Send(Sci::SCI_GETCURRENTPOS);
  const long line = Send(Sci::SCI_LINEFROMPOSITION, caret);
  // Setting a bookmark on its own line again takes it away.
  const bool onThisLine = BookmarkLine(number) == line;
  Send(Sci::SCI_MARKERDELETEALL, number);
  if (onThisLine) return;
  Send(Sci::SCI_MARKERADD, line, number);
  bookmarkColumn_[static_cast<std::size_t>(number)] = static_cast<int>(Send(Sci::SCI_GETCOLUMN, caret));
}

void EditorPane::GotoBookmark(int number) {
  const int line = BookmarkLine(number);
  if (line < 0) return;
  Send(Sci::SCI_GOTOPOS, Send(Sci::SCI_FINDCOLUMN, line, bookmarkColumn_[static_cast<std::size_t>(number)]));
}

// ---- brackets ----

// Finds the partner of the bracket at the caret, counting nesting, forwards
// from an opening and backwards from a closing bracket, across lines. With a
// highlighter, a bracket inside a comment, or inside whatever the highlighter
// calls its string role, does not count; nor does one in a token without
// attribute when that role has none, which is why NC parentheses, being
// comments or bare closers, never match.
void EditorPane::MatchBracket() {
  const long caret = Send(Sci::SCI_GETCURRENTPOS);
  const int caretLine = static_cast<int>(Send(Sci::SCI_LINEFROMPOSITION, caret));
  std::vector<int> offsets;
  std::string bytes = LineBytes(caretLine, &offsets);
  const long column = caret - Send(Sci::SCI_POSITIONFROMLINE, caretLine);
  const auto at = std::find(offsets.begin(), offsets.end(), static_cast<int>(column));
  if (at == offsets.end() || at == offsets.end() - 1) return;
  const auto index = static_cast<std::size_t>(at - offsets.begin());
  const char* found = std::strchr(kBrackets, bytes[index]);
  if (!found || bytes[index] == '\0') return;
  const std::ptrdiff_t which = found - kBrackets;
  const bool forward = which % 2 == 0;
  const char self = bytes[index];
  const char partner = forward ? kBrackets[which + 1] : kBrackets[which - 1];

  const TSynHighlighterAttributes* comment = highlighter_ ? highlighter_->AttributeForRole(0) : nullptr;
  const TSynHighlighterAttributes* string = highlighter_ ? highlighter_->AttributeForRole(3) : nullptr;
  auto counts = [&](const TSynHighlighterAttributes* a) { return a != comment && a != string; };

  // Which bytes of a line are brackets that count.
  std::vector<char> counting;
  auto scan = [&](int line) {
    counting.assign(bytes.size(), highlighter_ ? counts(nullptr) : true);
    if (!highlighter_ || !lexer_) return;
    lexer_->BeginScan(line, bytes);
    while (!highlighter_->AtLineEnd()) {
      const std::size_t start = highlighter_->CurrentStart();
      const std::size_t end = std::min(start + highlighter_->CurrentText().size(), bytes.size());
      std::fill(counting.begin() + static_cast<std::ptrdiff_t>(start),
                counting.begin() + static_cast<std::ptrdiff_t>(end), counts(highlighter_->CurrentAttribute()));
      highlighter_->Advance();
    }
  };

  const int lineCount = static_cast<int>(Send(Sci::SCI_GETLINECOUNT));
  int depth = 1;
  int line = caretLine;
  scan(line);
  long i = static_cast<long>(index);
  for (;;) {
    i += forward ? 1 : -1;
    while (i < 0 || i >= static_cast<long>(bytes.size())) {
      line += forward ? 1 : -1;
      if (line < 0 || line >= lineCount) return;
      offsets.clear();
      bytes = LineBytes(line, &offsets);
      scan(line);
      i = forward ? 0 : static_cast<long>(bytes.size()) - 1;
    }
    const auto u = static_cast<std::size_t>(i);
    if (!counting[u]) continue;
    if (bytes[u] == self) ++depth;
    if (bytes[u] == partner && --depth == 0) {
      Send(Sci::SCI_GOTOPOS, Send(Sci::SCI_POSITIONFROMLINE, line) + offsets[u]);
      return;
    }
  }
}

}  // namespace torvane
