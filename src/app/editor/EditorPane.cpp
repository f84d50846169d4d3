// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorPane.h"

#include <Qsci/qscicommandset.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "app/text/QtText.h"
#include "text/LineBreak.h"
#include "text/Windows1252.h"

namespace torvane {

namespace {

using Sci = QsciScintillaBase;

constexpr int kBookmarkMargin = 0;
constexpr int kNumberMargin = 1;
constexpr int kBookmarkMask = 0x3FF;
// The marker of a line a message names: drawn as the line's background,
// beyond the bookmarks' numbers.
constexpr int kMarkMarker = 10;

QColor FromTColor(TColor value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

bool IsTyping(const QKeyEvent& e) {
  const QString text = e.text();
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

// "Courier New" where it is installed, else a fixed-pitch face of the same
// build (Liberation Mono has its metrics), else whatever the system calls
// monospace.
QString PaneFontFamily() {
  for (const char* name : {"Courier New", "Liberation Mono", "DejaVu Sans Mono", "Noto Mono"}) {
    if (QFontDatabase::hasFamily(QString::fromLatin1(name))) return QString::fromLatin1(name);
  }
  QFont monospace(QStringLiteral("monospace"));
  monospace.setStyleHint(QFont::TypeWriter);
  return QFontInfo(monospace).family();
}

QFont PaneFont(const QWidget& widget) {
  QFont font(PaneFontFamily());
  // The editor sizes fonts in points only.
  const int dpi = widget.logicalDpiY() > 0 ? widget.logicalDpiY() : 96;
  font.setPointSizeF(16.0 * 72.0 / dpi);
  font.setBold(true);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

// The editor's own accessibility support counts the characters from the
// start of the document to the caret on every caret move and every change,
// which makes each keystroke at the end of a large program cost a pass over
// all of it; and Qt creates that support for every shown widget, whether an
// assistive tool listens or not. Without one listening, a pane gets Qt's
// plain widget interface instead. Factories installed later are asked first.
QAccessibleInterface* PlainAccessibleForPane(const QString& className, QObject* object) {
  if (QAccessible::isActive() || !object->isWidgetType() ||
      className != QLatin1String(EditorPane::staticMetaObject.className())) {
    return nullptr;
  }
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
}

int DigitsOf(long count) {
  int digits = 1;
  while (count >= 10) {
    count /= 10;
    ++digits;
  }
  return digits;
}

// Text goes to the editor in pieces of about this size, so that a large
// program is never held twice in memory on its way in.
constexpr std::size_t kChunk = 1 << 20;

// Writes a file's bytes in the editor's document form: the lines joined by
// LF, as UTF-8 (a UTF-8 file's bytes as they are). A line ends at LF, CR LF
// or a lone CR, and a break at the very end adds no line, as when the file
// is read line by line; but this takes one pass and no allocation per line.
// Returns the file's break.
LineEnding WriteFileAsDocument(std::string_view bytes, TextEncoding encoding,
                               const std::function<void(std::string_view)>& write,
                               bool& singleEmptyLine) {
  std::string out;
  out.reserve(kChunk + kChunk / 2);
  bool sawCR = false;
  std::size_t written = 0;
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    if (out.size() >= kChunk) {
      write(out);
      written += out.size();
      out.clear();
    }
    std::size_t run = i;
    const std::size_t runEnd = std::min(n, i + kChunk);
    while (run < runEnd) {
      const auto c = static_cast<unsigned char>(bytes[run]);
      if (IsLineBreak(static_cast<char>(c)) || c >= 0x80) break;
      ++run;
    }
    out.append(bytes.data() + i, run - i);
    i = run;
    if (i == n || i == runEnd) continue;
    if (IsLineBreak(bytes[i])) {
      if (bytes[i] == '\r') sawCR = true;
      out += '\n';
      i = SkipLineBreak(bytes, i);
    } else if (encoding == TextEncoding::UTF8) {
      out += bytes[i];
      ++i;
    } else {
      AppendBytesAsUtf8(bytes.substr(i, 1), out);
      ++i;
    }
  }
  // The last break is the last character written and still in `out`.
  if (n > 0 && IsLineBreak(bytes.back())) out.pop_back();
  write(out);
  singleEmptyLine = n > 0 && written + out.size() == 0;
  return sawCR ? LineEnding::CRLF : LineEnding::LF;
}

// Writes lines in the editor's document form, each after a LF but the
// first unless `breakFirst`.
void WriteLinesAsDocument(const std::vector<std::string>& lines, bool breakFirst,
                          const std::function<void(std::string_view)>& write) {
  std::string out;
  out.reserve(kChunk + kChunk / 2);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0 || breakFirst) out += '\n';
    AppendBytesAsUtf8(lines[i], out);
    if (out.size() >= kChunk) {
      write(out);
      out.clear();
    }
  }
  write(out);
}

}  // namespace

EditorPane::EditorPane(QWidget* parent) : QsciScintilla(parent) {
  static const bool accessibleInstalled = [] {
    QAccessible::installFactory(&PlainAccessibleForPane);
    return true;
  }();
  (void)accessibleInstalled;
  Send(Sci::SCI_SETMODEVENTMASK, 0);
  ApplyDocumentSettings();
  setFrameStyle(QFrame::NoFrame);
  setContextMenuPolicy(Qt::NoContextMenu);
  setAutoIndent(true);
  // A converted line runs longer than its source line, and a pane of half
  // the window shows no more than 40 characters: without a horizontal
  // scroll bar the ends of the lines could not be read. The bar follows the
  // longest line shown so far rather than a fixed width.
  Send(Sci::SCI_SETHSCROLLBAR, 1);
  Send(Sci::SCI_SETSCROLLWIDTHTRACKING, 1);
  Send(Sci::SCI_SETSCROLLWIDTH, 1);
  // Room between the line numbers and the text: the numbers end right at
  // the gutter's edge.
  Send(Sci::SCI_SETMARGINLEFT, 0, kTextGap);
  Send(Sci::SCI_SETVIRTUALSPACEOPTIONS, Sci::SCVS_USERACCESSIBLE | Sci::SCVS_RECTANGULARSELECTION);
  Send(Sci::SCI_SETEDGEMODE, Sci::EDGE_LINE);
  Send(Sci::SCI_SETEDGECOLUMN, kRightEdge);
  SendScintilla(Sci::SCI_SETEDGECOLOUR, QColor(192, 192, 192));
  Send(Sci::SCI_INDICSETSTYLE, HighlighterLexer::kStrikeIndicator, Sci::INDIC_STRIKE);
  Send(Sci::SCI_INDICSETFLAGS, HighlighterLexer::kStrikeIndicator, Sci::SC_INDICFLAG_VALUEBEFORE);

  // Only the bindings of the pane's table act; everything else a key could
  // do in the editor is switched off.
  standardCommands()->clearKeys();
  standardCommands()->clearAlternateKeys();
  Send(Sci::SCI_CLEARALLCMDKEYS);

  ApplyLook();
  ApplyGutter();
  UpdateCaretStyle();

  Send(Sci::SCI_MARKERDEFINE, kMarkMarker, Sci::SC_MARK_BACKGROUND);
  SendScintilla(Sci::SCI_MARKERSETBACK, kMarkMarker, QColor(255, 200, 150));

  connect(this, &QsciScintilla::textChanged, this, [this] {
    singleEmptyLine_ = false;
    UpdateGutter();
  });
  // With modification events off, textChanged stays silent on typing; the
  // editor's screen update still comes, and the line count is cheap to ask:
  // the numbers keep their room when a line is added past 9999.
  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) { UpdateGutter(); });
  connect(this, &QsciScintillaBase::SCN_CHARADDED, this, &EditorPane::TrimLineBeforeBreak);
}

EditorPane::~EditorPane() {
  if (highlighter_) {
    highlighter_->RemoveChangeSubscriber(&OnAttributesChanged, this);
    highlighter_->RemoveFreeNotification(&OnHighlighterFreed, this);
  }
}

long EditorPane::Send(unsigned int message, unsigned long wParam, long lParam) const {
  return SendScintilla(message, wParam, lParam);
}

void EditorPane::ApplyDocumentSettings() {
  setUtf8(true);
  setEolMode(EolUnix);
  setIndentationsUseTabs(false);
  setBackspaceUnindents(true);
  Send(Sci::SCI_SETTABWIDTH, kTabWidth);
  Send(Sci::SCI_SETINDENT, kBlockIndent);
}

void EditorPane::UseDocumentFor(std::size_t bytes) {
  const bool plain = bytes > kPlainTextBytes;
  if (plain == plainText_) return;
  // The view takes a reference of its own to the new document, and gives
  // up the one it had; the creator's reference goes at once.
  const long options =
      plain ? Sci::SC_DOCUMENTOPTION_STYLES_NONE : Sci::SC_DOCUMENTOPTION_DEFAULT;
  const long document = SendScintilla(Sci::SCI_CREATEDOCUMENT, 0UL, options);
  SendScintilla(Sci::SCI_SETDOCPOINTER, 0UL, document);
  SendScintilla(Sci::SCI_RELEASEDOCUMENT, 0UL, document);
  plainText_ = plain;
  ApplyDocumentSettings();
}

void EditorPane::ApplyLook() {
  look_.font = PaneFont(*this);
  look_.color = QColor(0, 0, 128);
  look_.paper = palette().color(QPalette::Base);
  setFont(look_.font);
  setColor(look_.color);
  setPaper(look_.paper);
  SendScintilla(Sci::SCI_STYLESETFORE, Sci::STYLE_DEFAULT, look_.color);
  SendScintilla(Sci::SCI_STYLESETBACK, Sci::STYLE_DEFAULT, look_.paper);
}

void EditorPane::ApplyGutter() {
  const QColor gutter = FromTColor(kGutterColor);
  Send(Sci::SCI_SETMARGINTYPEN, kBookmarkMargin, Sci::SC_MARGIN_COLOUR);
  SendScintilla(Sci::SCI_SETMARGINBACKN, kBookmarkMargin, gutter);
  Send(Sci::SCI_SETMARGINWIDTHN, kBookmarkMargin, kGutterLeftOffset);
  Send(Sci::SCI_SETMARGINMASKN, kBookmarkMargin, kBookmarkMask);
  Send(Sci::SCI_SETMARGINTYPEN, kNumberMargin, Sci::SC_MARGIN_NUMBER);
  Send(Sci::SCI_SETMARGINMASKN, kNumberMargin, 0);
  for (int margin = 2; margin < 5; ++margin) Send(Sci::SCI_SETMARGINWIDTHN, margin, 0);

  // The numbers use the pane's face and size, not bold, in the font colour.
  const QByteArray family = look_.font.family().toUtf8();
  SendScintilla(Sci::SCI_STYLESETFONT, Sci::STYLE_LINENUMBER, family.constData());
  Send(Sci::SCI_STYLESETSIZEFRACTIONAL, Sci::STYLE_LINENUMBER,
       static_cast<long>(look_.font.pointSizeF() * static_cast<double>(Sci::SC_FONT_SIZE_MULTIPLIER)));
  Send(Sci::SCI_STYLESETBOLD, Sci::STYLE_LINENUMBER, 0);
  Send(Sci::SCI_STYLESETITALIC, Sci::STYLE_LINENUMBER, 0);
  SendScintilla(Sci::SCI_STYLESETFORE, Sci::STYLE_LINENUMBER, look_.color);
  SendScintilla(Sci::SCI_STYLESETBACK, Sci::STYLE_LINENUMBER, gutter);

  for (int n = 0; n < 10; ++n) {
    Send(Sci::SCI_MARKERDEFINE, n, Sci::SC_MARK_CHARACTER + '0' + n);
    SendScintilla(Sci::SCI_MARKERSETFORE, n, look_.color);
    SendScintilla(Sci::SCI_MARKERSETBACK, n, gutter);
  }
  UpdateGutter(true);
}

int EditorPane::GutterWidth() const {
  const long cell = SendScintilla(Sci::SCI_TEXTWIDTH, Sci::STYLE_DEFAULT, "0");
  return kGutterLeftOffset + static_cast<int>(gutterDigits_ * cell) + kGutterRightOffset + 2;
}

void EditorPane::UpdateGutter(bool force) {
  const int digits = std::max(kMinGutterDigits, DigitsOf(Send(Sci::SCI_GETLINECOUNT)));
  if (digits == gutterDigits_ && !force) return;
  gutterDigits_ = digits;
  const long cell = SendScintilla(Sci::SCI_TEXTWIDTH, Sci::STYLE_DEFAULT, "0");
  Send(Sci::SCI_SETMARGINWIDTHN, kNumberMargin, digits * cell + kGutterRightOffset + 2);
}

void EditorPane::UpdateCaretStyle() {
  Send(Sci::SCI_SETCARETSTYLE, Send(Sci::SCI_GETOVERTYPE) ? Sci::CARETSTYLE_BLOCK : Sci::CARETSTYLE_LINE);
}

void EditorPane::TrimLineBeforeBreak(int ch) {
  if (ch != '\n' && ch != '\r') return;
  const long line = Send(Sci::SCI_LINEFROMPOSITION, Send(Sci::SCI_GETCURRENTPOS)) - 1;
  if (line < 0) return;
  const long start = Send(Sci::SCI_POSITIONFROMLINE, line);
  const long end = Send(Sci::SCI_GETLINEENDPOSITION, line);
  long keep = end;
  while (keep > start) {
    const char c = static_cast<char>(Send(Sci::SCI_GETCHARAT, keep - 1));
    if (c != ' ' && c != '\t') break;
    --keep;
  }
  if (keep < end) Send(Sci::SCI_DELETERANGE, keep, end - keep);
}

// ---- line list ----

void EditorPane::ReplaceDocument(std::size_t sizeHint, const std::function<void(const Writer&)>& fill) {
  const bool readOnly = isReadOnly();
  UseDocumentFor(sizeHint);
  Send(Sci::SCI_SETREADONLY, 0);
  Send(Sci::SCI_SETUNDOCOLLECTION, 0);
  Send(Sci::SCI_CLEARALL);
  Send(Sci::SCI_ALLOCATE, sizeHint + 1);
  fill([this](std::string_view utf8) {
    if (!utf8.empty()) SendScintilla(Sci::SCI_APPENDTEXT, utf8.size(), utf8.data());
  });
  Send(Sci::SCI_SETUNDOCOLLECTION, 1);
  Send(Sci::SCI_EMPTYUNDOBUFFER);
  Send(Sci::SCI_MARKERDELETEALL, static_cast<unsigned long>(-1));
  Send(Sci::SCI_SETREADONLY, readOnly);
  Send(Sci::SCI_GOTOPOS, 0);
  Send(Sci::SCI_SETFIRSTVISIBLELINE, 0);
  Send(Sci::SCI_SETXOFFSET, 0);
  Send(Sci::SCI_SETSCROLLWIDTH, 1);
  UpdateGutter();
  appended_ = false;
}

void EditorPane::Clear() {
  ReplaceDocument(0, [](const Writer&) {});
  singleEmptyLine_ = false;
}

void EditorPane::SetLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  ReplaceDocument(size, [&](const Writer& write) { WriteLinesAsDocument(lines, false, write); });
  singleEmptyLine_ = lines.size() == 1 && lines[0].empty();
}

void EditorPane::AppendDocument(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  AppendAsProgram([&](bool wasEmpty) {
    WriteLinesAsDocument(lines, !wasEmpty, [this](std::string_view utf8) {
      if (!utf8.empty()) SendScintilla(Sci::SCI_APPENDTEXT, utf8.size(), utf8.data());
    });
  });
}

void EditorPane::AppendAsProgram(const std::function<void(bool wasEmpty)>& append) {
  const bool wasEmpty = LineCount() == 0;
  const bool readOnly = isReadOnly();
  Send(Sci::SCI_SETREADONLY, 0);
  // Program output is not part of the user's undo history.
  Send(Sci::SCI_SETUNDOCOLLECTION, 0);
  append(wasEmpty);
  Send(Sci::SCI_SETUNDOCOLLECTION, 1);
  Send(Sci::SCI_EMPTYUNDOBUFFER);
  Send(Sci::SCI_SETREADONLY, readOnly);
  singleEmptyLine_ = wasEmpty && Send(Sci::SCI_GETLENGTH) == 0;
  appended_ = true;
  UpdateGutter();
}

EditorPane::KeptDocument EditorPane::SetDocumentAside(std::size_t bytes) {
  KeptDocument kept;
  kept.document = Send(Sci::SCI_GETDOCPOINTER);
  // A reference of our own keeps it alive once the view lets it go.
  SendScintilla(Sci::SCI_ADDREFDOCUMENT, 0UL, kept.document);
  kept.plainText = plainText_;
  kept.appended = appended_;
  kept.singleEmptyLine = singleEmptyLine_;
  kept.firstLine = Send(Sci::SCI_GETFIRSTVISIBLELINE);
  kept.position = Send(Sci::SCI_GETCURRENTPOS);
  kept.anchor = Send(Sci::SCI_GETANCHOR);
  kept.xOffset = Send(Sci::SCI_GETXOFFSET);
  // A new document of the kind the size asks for, whatever the kept one is.
  plainText_ = !(bytes > kPlainTextBytes);
  UseDocumentFor(bytes);
  appended_ = false;
  singleEmptyLine_ = false;
  UpdateGutter();
  return kept;
}

void EditorPane::PutBack(KeptDocument& kept) {
  if (kept.document == 0) return;
  SendScintilla(Sci::SCI_SETDOCPOINTER, 0UL, kept.document);
  SendScintilla(Sci::SCI_RELEASEDOCUMENT, 0UL, kept.document);
  kept.document = 0;
  plainText_ = kept.plainText;
  appended_ = kept.appended;
  singleEmptyLine_ = kept.singleEmptyLine;
  ApplyDocumentSettings();
  Send(Sci::SCI_SETSEL, kept.anchor, kept.position);
  Send(Sci::SCI_SETFIRSTVISIBLELINE, kept.firstLine);
  Send(Sci::SCI_SETXOFFSET, kept.xOffset);
  UpdateGutter();
}

void EditorPane::LetGo(KeptDocument& kept) {
  if (kept.document == 0) return;
  SendScintilla(Sci::SCI_RELEASEDOCUMENT, 0UL, kept.document);
  kept.document = 0;
}

bool EditorPane::AppendJoinedLines(const SpillText& joined, std::size_t count,
                                   const std::function<bool()>& stop) {
  if (count == 0) return true;
  bool stopped = false;
  bool whole = true;
  AppendAsProgram([&](bool wasEmpty) {
    // Room for all of it at once: growing the document piece by piece would
    // copy it again and again. The room is filled at once (and, for a text
    // shown in colour, as much again for the colours), so it is no bigger
    // than needed: a byte above 0x7F takes at most three in UTF-8.
    const std::size_t wide = joined.NonAsciiBytes();
    std::string utf8;
    const auto before = static_cast<std::size_t>(Send(Sci::SCI_GETLENGTH));
    const std::size_t after = before + joined.size() + 2 * wide + 2;
    if ((after > kPlainTextBytes) != plainText_) {
      // The text before goes into the new document with the new lines.
      utf8 = DocumentText();
      UseDocumentFor(after);
      Send(Sci::SCI_SETUNDOCOLLECTION, 0);
    }
    Send(Sci::SCI_ALLOCATE, after);
    if (!wasEmpty) utf8 += '\n';
    // Every byte is a character of its own, so the text may be cut
    // anywhere. Without a byte above 0x7F (the usual case) the text is its
    // own UTF-8 and goes in as it is.
    whole = joined.ForEachPiece([&](std::string_view piece) {
      if (stopped || (stop && (stopped = stop()))) return;
      if (wide == 0) {
        if (!utf8.empty()) SendScintilla(Sci::SCI_APPENDTEXT, utf8.size(), utf8.data());
        utf8.clear();
        SendScintilla(Sci::SCI_APPENDTEXT, piece.size(), piece.data());
        return;
      }
      for (std::size_t start = 0; start < piece.size(); start += kChunk) {
        AppendBytesAsUtf8(piece.substr(start, kChunk), utf8);
        SendScintilla(Sci::SCI_APPENDTEXT, utf8.size(), utf8.data());
        utf8.clear();
      }
    });
    if (!utf8.empty()) SendScintilla(Sci::SCI_APPENDTEXT, utf8.size(), utf8.data());
  });
  if (!whole && !stopped) {
    throw std::runtime_error(
        Cp1252("Das Ergebnis konnte nicht vollständig aus der temporären Datei gelesen werden"));
  }
  return !stopped;
}

void EditorPane::AppendLine(std::string_view line) { AppendDocument({std::string(line)}); }

void EditorPane::AppendLines(const std::vector<std::string>& lines) { AppendDocument(lines); }

int EditorPane::LineCount() const {
  if (Send(Sci::SCI_GETLENGTH) == 0) return singleEmptyLine_ ? 1 : 0;
  return static_cast<int>(Send(Sci::SCI_GETLINECOUNT));
}

std::string EditorPane::LineBytes(int line, std::vector<int>* offsets) const {
  const long start = Send(Sci::SCI_POSITIONFROMLINE, line);
  const long end = Send(Sci::SCI_GETLINEENDPOSITION, line);
  std::string bytes;
  if (end > start) {
    const auto* text = reinterpret_cast<const char*>(Send(Sci::SCI_GETRANGEPOINTER, start, end - start));
    Utf8ToBytes(std::string_view(text, static_cast<std::size_t>(end - start)), bytes, offsets);
  } else if (offsets) {
    offsets->push_back(0);
  }
  return bytes;
}

std::string EditorPane::LineAt(int index) const {
  if (index < 0 || index >= LineCount() || Send(Sci::SCI_GETLENGTH) == 0) return {};
  return LineBytes(index, nullptr);
}

std::vector<std::string> EditorPane::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(LineCount()));
  ForEachDocumentLine(false, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::string_view EditorPane::DocumentText() const {
  const long length = Send(Sci::SCI_GETLENGTH);
  if (length == 0) return {};
  const auto* text = static_cast<const char*>(SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
  return std::string_view(text, static_cast<std::size_t>(length));
}

void EditorPane::LoadFromFile(const std::filesystem::path& path) {
  const std::string bytes = ReadWholeFile(path);
  const TextEncoding encoding = DetectEncoding(bytes);
  LineEnding lineBreak = LineEnding::LF;
  bool singleEmptyLine = false;
  ReplaceDocument(bytes.size(), [&](const Writer& write) {
    lineBreak = WriteFileAsDocument(bytes, encoding, write, singleEmptyLine);
  });
  singleEmptyLine_ = singleEmptyLine;
  lineBreak_ = lineBreak;
  encoding_ = encoding;
}

void EditorPane::ForEachDocumentLine(bool asUtf8, const LineTaker& take) const {
  const std::string_view doc = DocumentText();
  if (doc.empty()) {
    if (singleEmptyLine_) take({});
    return;
  }
  std::size_t position = 0;
  std::string_view line;
  bool sawCR = false;
  std::string bytes;
  while (NextLine(doc, position, line, sawCR)) {
    if (asUtf8 || IsAscii(line)) {
      take(line);
    } else {
      bytes.clear();
      Utf8ToBytes(line, bytes);
      take(bytes);
    }
  }
  // The editor shows a line after a final break; so does the list.
  if (IsLineBreak(doc.back())) take({});
}

void EditorPane::LoadFromFile(const QString& path) {
  LoadFromFile(std::filesystem::path(QFile::encodeName(path).toStdString()));
}

void EditorPane::SaveToFile(const std::filesystem::path& path) const {
  // Line by line into the file: a list of a result's millions of lines
  // would cost more memory than the pane itself.
  const bool asUtf8 = encoding_ == TextEncoding::UTF8;
  SaveLineFile(
      path, [&](const LineTaker& take) { ForEachDocumentLine(asUtf8, take); }, lineBreak_);
}

void EditorPane::SaveToFile(const QString& path) const {
  SaveToFile(std::filesystem::path(QFile::encodeName(path).toStdString()));
}

// The user's edits are what the undo history holds beyond the point of
// the last load or save; the program's own lines are written without undo
// and counted apart.
bool EditorPane::Edited() const { return appended_ || Send(Sci::SCI_GETMODIFY) != 0; }

void EditorPane::SetEdited(bool edited) {
  appended_ = edited;
  if (!edited) Send(Sci::SCI_SETSAVEPOINT);
}

void EditorPane::MarkLine(int index) {
  Send(Sci::SCI_MARKERDELETEALL, kMarkMarker);
  if (index < 0 || index >= LineCount()) return;
  Send(Sci::SCI_MARKERADD, static_cast<unsigned long>(index), kMarkMarker);
  Send(Sci::SCI_GOTOLINE, static_cast<unsigned long>(index));
  Send(Sci::SCI_VERTICALCENTRECARET);
}

int EditorPane::MarkedLine() const {
  return static_cast<int>(Send(Sci::SCI_MARKERNEXT, 0, 1L << kMarkMarker));
}

bool EditorPane::PasteFromClipboard() {
  if (isReadOnly()) return false;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  // An empty text is no text: nothing would be inserted.
  if (!data || !canInsertFromMimeData(data) || (data->hasText() && data->text().isEmpty()))
    return false;
  Send(Sci::SCI_PASTE);
  return true;
}

QByteArray EditorPane::fromMimeData(const QMimeData* source, bool& rectangular) const {
  const QByteArray utf8 = QsciScintilla::fromMimeData(source, rectangular);
  if (encoding_ == TextEncoding::UTF8) return utf8;
  std::string bytes;
  Utf8ToBytes(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), bytes);
  std::string back;
  AppendBytesAsUtf8(bytes, back);
  return QByteArray(back.data(), static_cast<qsizetype>(back.size()));
}

// ---- highlighter ----

void EditorPane::SetHighlighter(TSynCustomHighlighter* highlighter) {
  if (highlighter == highlighter_) return;
  if (highlighter_) {
    highlighter_->RemoveChangeSubscriber(&OnAttributesChanged, this);
    highlighter_->RemoveFreeNotification(&OnHighlighterFreed, this);
  }
  highlighter_ = highlighter;
  if (highlighter_) {
    highlighter_->AddChangeSubscriber(&OnAttributesChanged, this);
    highlighter_->AddFreeNotification(&OnHighlighterFreed, this);
  }
  ApplyHighlighter();
}

void EditorPane::ApplyHighlighter() {
  if (lexer_) {
    setLexer(nullptr);
    delete lexer_;
    lexer_ = nullptr;
  }
  if (highlighter_) {
    lexer_ = new HighlighterLexer(*highlighter_, look_, this);
    setLexer(lexer_);
    std::string words;
    const std::bitset<256> set = highlighter_->WordCharacters();
    for (int c = 1; c < 128; ++c)
      if (set[static_cast<std::size_t>(c)]) words += static_cast<char>(c);
    SendScintilla(Sci::SCI_SETWORDCHARS, 0UL, words.c_str());
  } else {
    ApplyLook();
    Send(Sci::SCI_CLEARDOCUMENTSTYLE);
    Send(Sci::SCI_SETINDICATORCURRENT, HighlighterLexer::kStrikeIndicator);
    Send(Sci::SCI_INDICATORCLEARRANGE, 0, Send(Sci::SCI_GETLENGTH));
    SendScintilla(Sci::SCI_SETWORDCHARS, 0UL, static_cast<const char*>(nullptr));
  }
  ApplyGutter();
  viewport()->update();
}

void EditorPane::OnAttributesChanged(void* pane, TSynCustomHighlighter&) {
  auto* self = static_cast<EditorPane*>(pane);
  if (!self->lexer_) return;
  if (self->lexer_->RefreshStyles()) {
    // Strike-out is drawn per token, not per style: colour the text again
    // from the top, lazily as it is shown.
    self->Send(Sci::SCI_STARTSTYLING, 0, 0x1f);
  }
  self->UpdateGutter(true);
  self->viewport()->update();
}

void EditorPane::OnHighlighterFreed(void* pane, TSynCustomHighlighter&) {
  auto* self = static_cast<EditorPane*>(pane);
  // It is going away: no unsubscribing from it, only letting go.
  self->highlighter_ = nullptr;
  self->ApplyHighlighter();
}

// ---- keys ----

TEditorCommand EditorPane::CommandFor(std::uint16_t shortcut) {
  if (shortcut == 0) return ecNone;
  for (const Keystroke& k : DefaultKeystrokes())
    if (k.shortcut == shortcut) return k.command;
  return ecNone;
}

bool EditorPane::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    // Keys without Ctrl or Alt belong to the pane; combinations with them
    // go to the window's menus first, which take them before the panes.
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && (CommandFor(ShortcutOf(*key)) != ecNone || IsTyping(*key))) {
      key->accept();
      return true;
    }
    return QAbstractScrollArea::event(e);
  }
  return QsciScintilla::event(e);
}

void EditorPane::keyPressEvent(QKeyEvent* e) {
  const TEditorCommand command = CommandFor(ShortcutOf(*e));
  if (command != ecNone) {
    ExecuteCommand(command);
    e->accept();
    return;
  }
  const Qt::KeyboardModifiers mods = e->modifiers();
  // Ctrl+Alt is how Windows reports AltGr, which types characters.
  const bool altGr = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
  if (!IsTyping(*e) || ((mods & (Qt::ControlModifier | Qt::AltModifier)) && !altGr)) {
    e->ignore();
    return;
  }
  const QString text = Representable(e->text(), encoding_);
  if (text == e->text()) {
    QsciScintilla::keyPressEvent(e);
    return;
  }
  QKeyEvent mapped(e->type(), e->key(), mods, text, e->isAutoRepeat(), static_cast<ushort>(e->count()));
  QsciScintilla::keyPressEvent(&mapped);
}

void EditorPane::inputMethodEvent(QInputMethodEvent* e) {
  const QString commit = Representable(e->commitString(), encoding_);
  if (commit == e->commitString()) {
    QsciScintilla::inputMethodEvent(e);
    return;
  }
  QInputMethodEvent mapped(e->preeditString(), e->attributes());
  mapped.setCommitString(commit, e->replacementStart(), e->replacementLength());
  QsciScintilla::inputMethodEvent(&mapped);
}

void EditorPane::paintEvent(QPaintEvent* e) {
  if (lexer_) lexer_->StyleShownLines();
  QsciScintilla::paintEvent(e);
}

bool EditorPane::focusNextPrevChild(bool next) {
  // The panes do not take Tab: it moves the focus like in any dialog.
  return QWidget::focusNextPrevChild(next);
}

}  // namespace torvane
