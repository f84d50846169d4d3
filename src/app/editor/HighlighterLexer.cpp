// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighlighterLexer.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QPalette>

#include <algorithm>

#include "app/text/QtText.h"
#include "text/LineBreak.h"

namespace torvane {

namespace {

using Sci = QsciScintillaBase;

// Colours of the program: red in the low byte; 0x80000000 + n names a
// system colour.
QColor ToQColor(TColor value) {
  if (value & 0x80000000u) {
    const QPalette palette = QApplication::palette();
    switch (value & 0xFF) {
      case 5: return palette.color(QPalette::Base);
      case 8: return palette.color(QPalette::Text);
      case 15: return palette.color(QPalette::Button);
      default: return palette.color(QPalette::WindowText);
    }
  }
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace

int HighlighterLexer::StyleOfIndex(int index) {
  // The editor reserves styles 32 to 39 for its own parts.
  const int style = index + 1;
  if (style < 32) return style;
  return style + 8 <= 255 ? style + 8 : 0;
}

HighlighterLexer::HighlighterLexer(TSynCustomHighlighter& highlighter, const PaneLook& look, QObject* parent)
    : QsciLexerCustom(parent),
      highlighter_(highlighter),
      look_(look),
      language_(highlighter.LanguageTitle()),
      lineLocal_(highlighter.IsLineLocal()) {
  for (int i = 0; i < highlighter_.AttributeCount(); ++i) attributes_.push_back(highlighter_.AttributeAt(i));
  strikeOut_ = AnyStrikeOut();
}

const char* HighlighterLexer::language() const { return language_.c_str(); }

const TSynHighlighterAttributes* HighlighterLexer::AttributeOfStyle(int style) const {
  for (std::size_t i = 0; i < attributes_.size(); ++i)
    if (StyleOfIndex(static_cast<int>(i)) == style) return attributes_[i];
  return nullptr;
}

int HighlighterLexer::StyleOf(const TSynHighlighterAttributes* attribute) const {
  if (!attribute) return 0;
  for (std::size_t i = 0; i < attributes_.size(); ++i)
    if (attributes_[i] == attribute) return StyleOfIndex(static_cast<int>(i));
  return 0;
}

QString HighlighterLexer::description(int style) const {
  if (style == 0) return QStringLiteral("Default");
  const TSynHighlighterAttributes* attribute = AttributeOfStyle(style);
  return attribute ? QString::fromLatin1(attribute->Name().c_str()) : QString();
}

QColor HighlighterLexer::AreaPaper() const {
  const TSynHighlighterAttributes* space = highlighter_.AttributeForRole(4);
  return space && space->Background() != clNone ? ToQColor(space->Background()) : look_.paper;
}

QColor HighlighterLexer::color(int style) const {
  const TSynHighlighterAttributes* attribute = AttributeOfStyle(style);
  return attribute && attribute->Foreground() != clNone ? ToQColor(attribute->Foreground()) : look_.color;
}

QColor HighlighterLexer::paper(int style) const {
  const TSynHighlighterAttributes* attribute = AttributeOfStyle(style);
  return attribute && attribute->Background() != clNone ? ToQColor(attribute->Background()) : AreaPaper();
}

QFont HighlighterLexer::font(int style) const {
  QFont font = look_.font;
  if (const TSynHighlighterAttributes* attribute = AttributeOfStyle(style)) {
    // An attribute's style replaces the pane's, so a plain attribute draws
    // thin text even in a bold pane.
    font.setBold(attribute->Style() & fsBold);
    font.setItalic(attribute->Style() & fsItalic);
    font.setUnderline(attribute->Style() & fsUnderline);
    font.setStrikeOut(attribute->Style() & fsStrikeOut);
  }
  return font;
}

bool HighlighterLexer::eolFill(int) const { return false; }

bool HighlighterLexer::AnyStrikeOut() const {
  return std::any_of(attributes_.begin(), attributes_.end(),
                     [](const TSynHighlighterAttributes* a) { return a->Style() & fsStrikeOut; });
}

bool HighlighterLexer::RefreshStyles() {
  attributes_.clear();
  for (int i = 0; i < highlighter_.AttributeCount(); ++i) attributes_.push_back(highlighter_.AttributeAt(i));
  const bool hadStrikeOut = strikeOut_;
  strikeOut_ = AnyStrikeOut();

  std::vector<int> styles = {QsciScintillaBase::STYLE_DEFAULT, 0};
  for (std::size_t i = 0; i < attributes_.size(); ++i) styles.push_back(StyleOfIndex(static_cast<int>(i)));
  for (int style : styles) {
    emit colorChanged(color(style), style);
    emit paperChanged(paper(style), style);
    emit fontChanged(font(style), style);
  }
  return hadStrikeOut || strikeOut_;
}

int HighlighterLexer::WindowStart() const {
  const QsciScintilla* ed = editor();
  const long firstShown = ed->SendScintilla(Sci::SCI_DOCLINEFROMVISIBLE, ed->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE));
  return static_cast<int>(ed->SendScintilla(Sci::SCI_POSITIONFROMLINE, firstShown));
}

int HighlighterLexer::WindowEnd() const {
  const QsciScintilla* ed = editor();
  const long firstShown = ed->SendScintilla(Sci::SCI_DOCLINEFROMVISIBLE, ed->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE));
  const long shown = ed->SendScintilla(Sci::SCI_LINESONSCREEN);
  const long lastWanted = firstShown + 2 * shown + 1;
  if (lastWanted + 1 >= ed->SendScintilla(Sci::SCI_GETLINECOUNT)) return static_cast<int>(ed->SendScintilla(Sci::SCI_GETLENGTH));
  return static_cast<int>(ed->SendScintilla(Sci::SCI_POSITIONFROMLINE, lastWanted + 1));
}

void HighlighterLexer::styleText(int start, int end) {
  if (!lineLocal_) {
    // The editor asks for everything from the first unstyled line to the
    // position it needs; after a jump that may be most of the document, but
    // only the lines on screen and a page beyond need colour now. The rest
    // is asked for again when it comes into view.
    StyleRange(start, std::max(start + 1, std::min(end, WindowEnd())));
    return;
  }
  // Each line can be coloured on its own: only the window is scanned, and
  // the editor is told that everything it asked for is done. Lines skipped
  // here are coloured by StyleShownLines when they come into view.
  const int from = std::max(start, WindowStart());
  const int to = std::min(end, WindowEnd());
  if (to > from) StyleRange(from, to);
  QsciScintilla* ed = editor();
  if (ed->SendScintilla(Sci::SCI_GETENDSTYLED) < end) ed->SendScintilla(Sci::SCI_STARTSTYLING, end, 0x1f);
}

void HighlighterLexer::StyleShownLines() {
  if (lineLocal_ && editor()) StyleRange(WindowStart(), WindowEnd());
}

TLineState HighlighterLexer::StateAtStartOf(int line) {
  if (line == 0 || lineLocal_) {
    highlighter_.ClearLineState();
    return highlighter_.LineState();
  }
  // Stored when the line above was styled. The editor keeps one int per
  // line, which holds every state a highlighter of this program reports.
  return editor()->SendScintilla(Sci::SCI_GETLINESTATE, line);
}

void HighlighterLexer::StyleRange(int start, int end) {
  QsciScintilla* ed = editor();
  if (!ed) return;
  const int length = static_cast<int>(ed->SendScintilla(Sci::SCI_GETLENGTH));
  const int lineCount = static_cast<int>(ed->SendScintilla(Sci::SCI_GETLINECOUNT));
  const int firstLine = static_cast<int>(ed->SendScintilla(Sci::SCI_LINEFROMPOSITION, start));
  start = static_cast<int>(ed->SendScintilla(Sci::SCI_POSITIONFROMLINE, firstLine));
  const int lastLine = static_cast<int>(ed->SendScintilla(Sci::SCI_LINEFROMPOSITION, std::max(start, end - 1)));
  end = lastLine + 1 >= lineCount ? length : static_cast<int>(ed->SendScintilla(Sci::SCI_POSITIONFROMLINE, lastLine + 1));
  if (end <= start) return;

  const auto* text = reinterpret_cast<const char*>(ed->SendScintilla(Sci::SCI_GETRANGEPOINTER, start, end - start));
  const std::string_view range(text, static_cast<std::size_t>(end - start));
  styles_.assign(range.size(), '\0');
  std::vector<Strike> strikes;

  TLineState state = StateAtStartOf(firstLine);
  int line = firstLine;
  std::size_t pos = 0;
  while (pos < range.size()) {
    const std::size_t eol = FindLineEnd(range, pos);
    const std::string_view docLine = range.substr(pos, eol - pos);

    // Most NC lines are plain ASCII: scan the document's own bytes then.
    const bool ascii = IsAscii(docLine);
    std::string_view lineBytes = docLine;
    if (!ascii) {
      bytes_.clear();
      offsets_.clear();
      Utf8ToBytes(docLine, bytes_, &offsets_);
      lineBytes = bytes_;
    }
    auto docOffset = [&](std::size_t index) {
      return pos + (ascii ? index : static_cast<std::size_t>(offsets_[index]));
    };

    highlighter_.RestoreLineState(state);
    highlighter_.BeginLine(lineBytes, line);
    while (!highlighter_.AtLineEnd()) {
      const std::size_t tokenStart = highlighter_.CurrentStart();
      const std::size_t tokenEnd = std::min(tokenStart + highlighter_.CurrentText().size(), lineBytes.size());
      const TSynHighlighterAttributes* attribute = highlighter_.CurrentAttribute();
      const int style = StyleOf(attribute);
      const std::size_t from = docOffset(tokenStart);
      const std::size_t to = docOffset(tokenEnd);
      if (style != 0) std::fill(styles_.begin() + static_cast<std::ptrdiff_t>(from),
                                styles_.begin() + static_cast<std::ptrdiff_t>(to), static_cast<char>(style));
      if (attribute && (attribute->Style() & fsStrikeOut) && to > from) {
        strikes.push_back({start + static_cast<int>(from), static_cast<int>(to - from), color(style).rgb(), 0});
      }
      highlighter_.Advance();
    }
    state = highlighter_.LineState();
    ed->SendScintilla(Sci::SCI_SETLINESTATE, line + 1, static_cast<long>(state));

    pos = SkipLineBreak(range, eol);
    ++line;
  }

  ed->SendScintilla(Sci::SCI_STARTSTYLING, start, 0x1f);
  ed->SendScintilla(Sci::SCI_SETSTYLINGEX, styles_.size(), styles_.data());

  if (strikeOut_ || !strikes.empty()) ApplyStrikes(start, end, strikes);
}

// Puts the strike-out marks of [start, end) in place, touching the editor
// only when they differ from what is there: a change of marks makes the
// editor paint again, and the shown lines are styled before every paint.
void HighlighterLexer::ApplyStrikes(int start, int end, const std::vector<Strike>& strikes) {
  QsciScintilla* ed = editor();
  std::vector<Strike> wanted;
  for (const Strike& s : strikes) {
    // Red in the low byte, as the editor's colours are.
    const long value = static_cast<long>(qRed(s.color) | (qGreen(s.color) << 8) | (qBlue(s.color) << 16)) |
                       Sci::SC_INDICVALUEBIT;
    if (!wanted.empty() && wanted.back().start + wanted.back().length == s.start && wanted.back().value == value) {
      wanted.back().length += s.length;
    } else {
      wanted.push_back({s.start, s.length, s.color, value});
    }
  }
  std::vector<Strike> present;
  for (int pos = start; pos < end;) {
    const long value = ed->SendScintilla(Sci::SCI_INDICATORVALUEAT, kStrikeIndicator, pos);
    const int runEnd = std::min(end, static_cast<int>(ed->SendScintilla(Sci::SCI_INDICATOREND, kStrikeIndicator, pos)));
    if (runEnd <= pos) break;
    if (value != 0) present.push_back({pos, runEnd - pos, 0, value});
    pos = runEnd;
  }
  const bool same = std::equal(wanted.begin(), wanted.end(), present.begin(), present.end(),
                               [](const Strike& a, const Strike& b) {
                                 return a.start == b.start && a.length == b.length && a.value == b.value;
                               });
  if (same) return;
  ed->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kStrikeIndicator);
  ed->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, start, end - start);
  for (const Strike& s : wanted) {
    ed->SendScintilla(Sci::SCI_SETINDICATORVALUE, s.value);
    ed->SendScintilla(Sci::SCI_INDICATORFILLRANGE, s.start, s.length);
  }
}

void HighlighterLexer::BeginScan(int line, std::string_view bytes) {
  QsciScintilla* ed = editor();
  if (line > 0 && !lineLocal_) {
    const int lineStart = static_cast<int>(ed->SendScintilla(Sci::SCI_POSITIONFROMLINE, line));
    const int styledTo = static_cast<int>(ed->SendScintilla(Sci::SCI_GETENDSTYLED));
    if (styledTo < lineStart) StyleRange(styledTo, lineStart);
  }
  highlighter_.RestoreLineState(StateAtStartOf(line));
  highlighter_.BeginLine(bytes, line);
}

}  // namespace torvane
