// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Qsci/qsciscintilla.h>

#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "EditorCommands.h"
#include "HighlighterLexer.h"
#include "text/LineFile.h"
#include "text/SpillText.h"
#include "text/TextEncoding.h"
#include "highlighter/SynCustomHighlighter.h"

namespace torvane {

// One editor pane of the main window; both `Quelle` and `Ziel` are one of
// these. Its text is a list of 8-bit lines shown as Windows-1252, with the
// line break it was loaded with (CR LF for a new pane) kept for saving.
//
// Keystrokes stay fast at the end of a program of a million lines: the
// editor's per-insert notifications are switched off (nothing here needs
// them, and the editor's accessibility support counts the characters from
// the start of the document for each of them), and without an assistive
// tool listening the panes do without that support altogether.
class EditorPane : public QsciScintilla {
  Q_OBJECT

 public:
  enum class SelectionKind { Normal, Column, Line };

  // The gutter colour (60, 167, 255) as the program stores colours.
  static constexpr TColor kGutterColor = 16754492;
  static constexpr int kRightEdge = 80;
  static constexpr int kTabWidth = 8;
  static constexpr int kMinGutterDigits = 4;
  // Room for the bookmark glyphs left of the numbers, and the gap after them.
  static constexpr int kGutterLeftOffset = 16;
  static constexpr int kGutterRightOffset = 2;
  static constexpr int kBlockIndent = 2;
  // Pixels between the gutter and the text.
  static constexpr int kTextGap = 6;
  // A text longer than this (in the editor's UTF-8) is shown without
  // colours: the editor would keep a colour byte for each of its bytes,
  // which for a converted program of millions of lines costs hundreds of
  // megabytes. Shorter texts are coloured again.
  static constexpr std::size_t kPlainTextBytes = std::size_t{32} << 20;

  explicit EditorPane(QWidget* parent = nullptr);
  ~EditorPane() override;

  // Removes every line, puts the caret and the view at the top left and
  // forgets the undo history; the line break stays as it was.
  void Clear();
  // Lines written by the program: added at the end, not undoable.
  void AppendLine(std::string_view line);
  // Many lines in one step; much faster than one by one.
  void AppendLines(const std::vector<std::string>& lines);
  // `count` lines given as one text, separated by LF: a converted program of
  // millions of lines arrives this way without a string per line. Raises
  // std::runtime_error (German text) when the text could not be read back
  // whole; what came before stays.
  // `stop` is asked between pieces of about a megabyte (it may let the
  // window answer a key); when it says stop, the rest is left out and the
  // result is false.
  bool AppendJoinedLines(const SpillText& joined, std::size_t count,
                         const std::function<bool()>& stop = {});

  // The text shown now, set aside while a new one is put in: the pane
  // shows a new, empty document made for about `bytes` bytes, until the
  // kept one is put back (everything as it was, caret and scroll
  // included) or let go.
  struct KeptDocument {
    long document = 0;
    bool plainText = false;
    bool appended = false;
    bool singleEmptyLine = false;
    long firstLine = 0;
    long position = 0;
    long anchor = 0;
    long xOffset = 0;
  };
  KeptDocument SetDocumentAside(std::size_t bytes);
  void PutBack(KeptDocument& kept);
  void LetGo(KeptDocument& kept);
  // Replaces all lines, with no undo history.
  void SetLines(const std::vector<std::string>& lines);

  int LineCount() const;
  // Whether the text is shown without colours for its size.
  bool PlainText() const { return plainText_; }
  // The empty string for an index outside the lines.
  std::string LineAt(int index) const;
  std::vector<std::string> Lines() const;
  // The same lines handed over one by one, without a list of them.
  void ForEachLine(const LineTaker& take) const { ForEachDocumentLine(false, take); }
  // The document as the editor holds it: UTF-8, lines joined by LF. The view
  // stays valid until the text next changes; empty for an empty pane (which
  // may still count one empty line).
  std::string_view DocumentText() const;

  LineEnding LineBreak() const { return lineBreak_; }
  void SetLineBreak(LineEnding lineBreak) { lineBreak_ = lineBreak; }
  // How the file last loaded was written; like the line break it stays
  // through clearing, and saving writes it again. Lines() and LineAt() give
  // Windows-1252 bytes in either case, as the conversion reads them.
  TextEncoding Encoding() const { return encoding_; }

  // Reads the whole file first: when that fails (LineFileError, "Datei %s
  // kann nicht geöffnet werden") the lines stay as they were.
  void LoadFromFile(const std::filesystem::path& path);
  void LoadFromFile(const QString& path);
  // Fails with LineFileError ("Datei %s kann nicht erstellt werden"); the
  // previous file is then untouched.
  void SaveToFile(const std::filesystem::path& path) const;
  void SaveToFile(const QString& path) const;

  // Whether the text changed since it was last loaded, cleared, set or
  // saved (the caller says so after saving). Lines the program appends
  // count as a change: they are not saved yet either.
  bool Edited() const;
  void SetEdited(bool edited);

  // Puts the caret at the start of the line with that index, scrolls it to
  // the middle of the view and marks it with a coloured background, so that
  // a line a message names is found at once. One line is marked at a time;
  // loading, clearing or -1 removes the mark.
  void MarkLine(int index);
  int MarkedLine() const;

  // Inserts the clipboard's text at the caret, replacing any selection.
  // False when the clipboard holds no text (or the pane is read-only).
  bool PasteFromClipboard();

  // Colours the text through `highlighter`, or shows plain text for none.
  // The pane does not own it; when it is destroyed the pane notices and
  // goes back to plain text.
  void SetHighlighter(TSynCustomHighlighter* highlighter);
  TSynCustomHighlighter* Highlighter() const { return highlighter_; }

  const std::vector<Keystroke>& Keystrokes() const { return DefaultKeystrokes(); }
  // The command bound to a stored key combination, or ecNone.
  static TEditorCommand CommandFor(std::uint16_t shortcut);
  virtual void ExecuteCommand(TEditorCommand command);
  SelectionKind SelectionMode() const { return selectionMode_; }

  int GutterDigits() const { return gutterDigits_; }
  int GutterWidth() const;
  const PaneLook& Look() const { return look_; }
  // The line a bookmark is on, or -1.
  int BookmarkLine(int number) const;

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  bool focusNextPrevChild(bool next) override;
  QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;

 private:
  static void OnAttributesChanged(void* pane, TSynCustomHighlighter& sender);
  static void OnHighlighterFreed(void* pane, TSynCustomHighlighter& sender);

  // The settings the editor keeps with its document rather than the view.
  void ApplyDocumentSettings();
  // Appends program output: past a read-only pane, outside the undo
  // history; `append` learns whether the pane was empty.
  void AppendAsProgram(const std::function<void(bool wasEmpty)>& append);
  // A document with or without colours for a text of `bytes`; an empty one
  // when it changes.
  void UseDocumentFor(std::size_t bytes);
  void ApplyLook();
  void ApplyGutter();
  void ApplyHighlighter();
  void UpdateGutter(bool force = false);
  void UpdateCaretStyle();
  void TrimLineBeforeBreak(int ch);
  using Writer = std::function<void(std::string_view utf8)>;
  // Replaces the document with what `fill` writes, without undo history.
  void ReplaceDocument(std::size_t sizeHint, const std::function<void(const Writer&)>& fill);
  void AppendDocument(const std::vector<std::string>& lines);
  std::string LineBytes(int line, std::vector<int>* offsets) const;
  // The document's lines one by one: as the document holds them (UTF-8,
  // for saving a UTF-8 file) or mapped to the program's code page.
  void ForEachDocumentLine(bool asUtf8, const LineTaker& take) const;
  long Send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;

  // Commands that the editor has no single message for.
  void MoveSelecting(unsigned int move, unsigned int extend);
  void MoveSelecting(void (EditorPane::*move)());
  void SelectInMode(long anchor, long caret);
  void MoveToPageTop();
  void MoveToPageBottom();
  void InsertLine();
  void IndentBlock(int direction);
  void MatchBracket();
  void SetBookmark(int number);
  void GotoBookmark(int number);
  void SetSelectionMode(SelectionKind mode);

  TSynCustomHighlighter* highlighter_ = nullptr;
  HighlighterLexer* lexer_ = nullptr;
  PaneLook look_;
  LineEnding lineBreak_ = LineEnding::CRLF;
  TextEncoding encoding_ = TextEncoding::Windows1252;
  bool appended_ = false;
  bool plainText_ = false;
  // An empty document is either no lines or one empty line.
  bool singleEmptyLine_ = false;
  int gutterDigits_ = 0;
  SelectionKind selectionMode_ = SelectionKind::Normal;
  // Line selections are kept as the positions the user moved between; the
  // editor's selection itself covers whole lines.
  long lineAnchor_ = 0, lineCaret_ = 0, lineSelStart_ = -1, lineSelEnd_ = -1;
  std::array<int, 10> bookmarkColumn_{};
};

}  // namespace torvane
