// SPDX-License-Identifier: GPL-3.0-or-later
// The pane's text, files, highlighting and gutter.

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "EditorPane.h"
#include "LineBreakCases.h"
#include "app/text/QtText.h"
#include "highlighter/NCSyn.h"

using namespace torvane;
using Sci = QsciScintillaBase;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

std::string ReadBytes(const QString& path) {
  std::ifstream file(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

// Types text as a keyboard would, one character per key event.
void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

// The editor takes Qt's font weight as a negative number (-700 for bold).
bool IsBold(const EditorPane& pane, int style) {
  return std::abs(pane.SendScintilla(Sci::SCI_STYLEGETWEIGHT, style)) >= 600;
}

class CountingSyn : public TNCSyn {
 public:
  void BeginLine(std::string_view line, int index) override {
    ++lines;
    TNCSyn::BeginLine(line, index);
  }
  int lines = 0;
};

// Characters between "{" and "}" are drawn with its one attribute, across
// lines; the state says whether a line starts inside.
class BraceSyn : public TSynCustomHighlighter {
 public:
  BraceSyn() {
    inside_ = &RegisterAttribute(std::make_unique<TSynHighlighterAttributes>("Inside"));
    inside_->SetForeground(RGBColor(200, 0, 0));
  }
  TSynHighlighterAttributes* AttributeForRole(int) const override { return nullptr; }
  bool AtLineEnd() const override { return pos_ >= line_.size(); }
  std::string_view CurrentText() const override { return line_.substr(pos_, AtLineEnd() ? 0 : 1); }
  TSynHighlighterAttributes* CurrentAttribute() const override { return in_ ? inside_ : nullptr; }
  int CurrentKind() const override { return in_; }
  std::size_t CurrentStart() const override { return pos_; }
  void Advance() override {
    if (AtLineEnd()) return;
    if (line_[pos_] == '}') state_ = 0;
    if (++pos_ < line_.size()) Enter();
  }
  void BeginLine(std::string_view line, int) override {
    line_ = line;
    pos_ = 0;
    if (!line_.empty()) Enter();
  }
  TLineState LineState() const override { return state_; }
  void RestoreLineState(TLineState state) override { state_ = static_cast<int>(state); }
  void ClearLineState() override { state_ = 0; }

 private:
  void Enter() {
    if (line_[pos_] == '{') state_ = 1;
    in_ = state_;
  }
  TSynHighlighterAttributes* inside_;
  std::string_view line_;
  std::size_t pos_ = 0;
  int state_ = 0;
  int in_ = 0;
};

std::string AllBytesButBreaks() {
  std::string all;
  for (int code = 1; code < 256; ++code)
    if (code != '\r' && code != '\n') all += static_cast<char>(code);
  return all;
}

}  // namespace

class EditorPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void everyByteRoundTripsThroughText() {
    std::string all;
    for (int code = 0; code < 256; ++code) all += static_cast<char>(code);
    QCOMPARE(QStringToBytes(BytesToQString(all)), all);
    std::string utf8;
    AppendBytesAsUtf8(all, utf8);
    std::string back;
    Utf8ToBytes(utf8, back);
    QCOMPARE(back, all);
  }

  void windows1252Characters_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("character");
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("undefined 81") << 0x81 << 0x0081;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("a umlaut") << 0xE4 << 0x00E4;
  }
  void windows1252Characters() {
    QFETCH(int, byte);
    QFETCH(int, character);
    QCOMPARE(int(Windows1252ToUnicode(static_cast<unsigned char>(byte))), character);
    QCOMPARE(UnicodeToWindows1252(static_cast<char32_t>(character)), byte);
  }

  void charactersOutsideTheCodePageBecomeQuestionMarks() {
    QCOMPARE(QStringToBytes(QString::fromUtf8("a\xC5\x82" "b\xF0\x9F\x98\x80" "c")), std::string("a?b?c"));
    QCOMPARE(UnicodeToWindows1252(0x80), -1);
  }

  void lineList_data() {
    QTest::addColumn<std::vector<std::string>>("set");
    QTest::addColumn<std::vector<std::string>>("append");
    QTest::addColumn<std::vector<std::string>>("want");
    using V = std::vector<std::string>;
    QTest::newRow("nothing") << V{} << V{} << V{};
    QTest::newRow("one empty line") << V{} << V{""} << V{""};
    QTest::newRow("after one empty line") << V{""} << V{"G1"} << V{"", "G1"};
    QTest::newRow("empty lines at the end") << V{"a"} << V{"", ""} << V{"a", "", ""};
    QTest::newRow("block append") << V{"N10", "N20"} << V{"N30", "N40"} << V{"N10", "N20", "N30", "N40"};
    QTest::newRow("all bytes") << V{AllBytesButBreaks()} << V{std::string("x\0y", 3)}
                               << V{AllBytesButBreaks(), std::string("x\0y", 3)};
  }
  void lineList() {
    QFETCH(std::vector<std::string>, set);
    QFETCH(std::vector<std::string>, append);
    QFETCH(std::vector<std::string>, want);
    EditorPane pane;
    pane.SetLines(set);
    pane.AppendLines(append);
    QCOMPARE(pane.Lines(), want);
    QCOMPARE(pane.LineCount(), int(want.size()));
    for (int i = 0; i < int(want.size()); ++i) QCOMPARE(pane.LineAt(i), want[std::size_t(i)]);

    EditorPane oneByOne;
    oneByOne.SetLines(set);
    for (const std::string& line : append) oneByOne.AppendLine(line);
    QCOMPARE(oneByOne.Lines(), want);
  }

  void lineOutsideIsEmpty() {
    EditorPane pane;
    QCOMPARE(pane.LineAt(0), std::string());
    pane.AppendLines({"G1", "G2"});
    QCOMPARE(pane.LineAt(-1), std::string());
    QCOMPARE(pane.LineAt(2), std::string());
    QCOMPARE(pane.LineAt(1), std::string("G2"));
  }

  void loadAndSave_data() {
    QTest::addColumn<std::string>("file");
    QTest::addColumn<std::string>("saved");
    // The pane breaks lines like every other reader: loading and saving
    // gives what splitting and joining the bytes gives.
    for (const LineBreakCase& c : LineBreakCases()) {
      QTest::newRow(c.name) << c.bytes
                            << JoinLines(c.lines, c.crlf ? LineEnding::CRLF : LineEnding::LF);
    }
    QTest::newRow("high bytes") << "(" + std::string("\x80\x81\x8D\x8F\x90\x9D\xE4\xFF") + ")\r\n"
                                << "(" + std::string("\x80\x81\x8D\x8F\x90\x9D\xE4\xFF") + ")\r\n";
  }
  void loadAndSave() {
    QFETCH(std::string, file);
    QFETCH(std::string, saved);
    QTemporaryDir dir;
    WriteBytes(dir.filePath("in.nc"), file);
    EditorPane pane;
    pane.SetHighlighter(nullptr);
    pane.LoadFromFile(dir.filePath("in.nc"));
    pane.SaveToFile(dir.filePath("out.nc"));
    QCOMPARE(ReadBytes(dir.filePath("out.nc")), saved);
  }

  // A UTF-8 file with umlauts shows them as umlauts, keeps what the user
  // types (even outside Windows-1252) and saves back byte for byte; the
  // conversion still reads Windows-1252 bytes. Anything else is
  // Windows-1252 as before.
  void utf8Files_data() {
    QTest::addColumn<std::string>("file");
    QTest::addColumn<QString>("shown");  // first line, as the user sees it
    QTest::addColumn<std::string>("lineBytes");  // first line, as the conversion reads it
    QTest::addColumn<std::string>("savedAfterTyping");  // "Ω" typed at the very start
    QTest::newRow("UTF-8 umlauts")
        << std::string("(Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC)\r\nG1 X1\r\n")
        << QStringLiteral("(Größe €)") << std::string("(Gr\xF6\xDF" "e \x80)")
        << std::string("\xCE\xA9(Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC)\r\nG1 X1\r\n");
    QTest::newRow("UTF-8 outside the code page, LF")
        << std::string("(\xCE\xA9)\n") << QStringLiteral("(Ω)") << std::string("(?)")
        << std::string("\xCE\xA9(\xCE\xA9)\n");
    QTest::newRow("Windows-1252 umlauts")
        << std::string("(Gr\xF6\xDF" "e)\r\n") << QStringLiteral("(Größe)")
        << std::string("(Gr\xF6\xDF" "e)") << std::string("?(Gr\xF6\xDF" "e)\r\n");
    QTest::newRow("broken UTF-8 is Windows-1252")
        << std::string("(\xC3\xB6 \xC3)\r\n") << QStringLiteral("(Ã¶ Ã)")
        << std::string("(\xC3\xB6 \xC3)") << std::string("?(\xC3\xB6 \xC3)\r\n");
  }
  void utf8Files() {
    QFETCH(std::string, file);
    QFETCH(QString, shown);
    QFETCH(std::string, lineBytes);
    QFETCH(std::string, savedAfterTyping);
    QTemporaryDir dir;
    WriteBytes(dir.filePath("in.nc"), file);
    EditorPane pane;
    pane.show();
    pane.LoadFromFile(dir.filePath("in.nc"));
    QCOMPARE(pane.text(0).section('\n', 0, 0), shown);
    QCOMPARE(pane.LineAt(0), lineBytes);
    pane.SaveToFile(dir.filePath("same.nc"));
    QCOMPARE(ReadBytes(dir.filePath("same.nc")), file);
    Type(&pane, QStringLiteral("Ω"));
    pane.SaveToFile(dir.filePath("typed.nc"));
    QCOMPARE(ReadBytes(dir.filePath("typed.nc")), savedAfterTyping);
  }

  // A line longer than the pane is wide can be scrolled to; a pane whose
  // lines all fit shows no bar.
  void longLinesScrollSideways() {
    EditorPane pane;
    pane.resize(300, 200);
    pane.show();
    pane.SetLines({"G1 X1"});
    QApplication::processEvents();
    QVERIFY(!pane.horizontalScrollBar()->isVisible());
    pane.SetLines({"G01 Z10.000 X99.000 C354.276 M15 (" + std::string(60, 'x') + ")"});
    // The bar follows the widest line painted so far.
    QTRY_VERIFY(pane.horizontalScrollBar()->isVisible());
    pane.Clear();
    QTRY_VERIFY(!pane.horizontalScrollBar()->isVisible());
  }

  void failedLoadKeepsTheLines() {
    QTemporaryDir dir;
    const QString missing = dir.filePath("fehlt.nc");
    EditorPane pane;
    pane.AppendLines({"N10 G1", "N20"});
    pane.SetLineBreak(LineEnding::LF);
    try {
      pane.LoadFromFile(missing);
      QFAIL("no error");
    } catch (const LineFileError& e) {
      QCOMPARE(std::string(e.what()), "Datei " + missing.toStdString() + " kann nicht ge\xF6" "ffnet werden");
    }
    QCOMPARE(pane.Lines(), (std::vector<std::string>{"N10 G1", "N20"}));
    QCOMPARE(pane.LineBreak(), LineEnding::LF);
  }

  void failedSaveNamesTheFile() {
    QTemporaryDir dir;
    const QString target = dir.filePath("fehlt/out.nc");
    EditorPane pane;
    pane.AppendLine("G1");
    try {
      pane.SaveToFile(target);
      QFAIL("no error");
    } catch (const LineFileError& e) {
      QCOMPARE(std::string(e.what()), "Datei " + target.toStdString() + " kann nicht erstellt werden");
    }
  }

  void newPaneAndTargetSaveWithCrLf() {
    QTemporaryDir dir;
    EditorPane pane;
    pane.AppendLines({"G1", "G2"});
    pane.SaveToFile(dir.filePath("out.min"));
    QCOMPARE(ReadBytes(dir.filePath("out.min")), std::string("G1\r\nG2\r\n"));
  }

  void typedAndPastedTextKeepsItsBytes() {
    EditorPane pane;
    pane.show();
    Type(&pane, QString::fromUtf8("X\xC3\xA4\xE2\x82\xAC\xC5\x82"));
    QCOMPARE(pane.LineAt(0), std::string("X\xE4\x80?"));

    QApplication::clipboard()->setText(QString::fromUtf8("Y\xC5\xA0\r\nZ"));
    QVERIFY(pane.PasteFromClipboard());
    QCOMPARE(pane.Lines(), (std::vector<std::string>{"X\xE4\x80?Y\x8A", "Z"}));

    QApplication::clipboard()->setMimeData(new QMimeData);
    QVERIFY(!pane.PasteFromClipboard());
  }

  void clearEmptiesUndoAndKeepsTheBreak() {
    EditorPane pane;
    pane.show();
    pane.SetLineBreak(LineEnding::LF);
    QTest::keyClicks(&pane, "G1 X10");
    pane.SendScintilla(Sci::SCI_SETSEL, 1, 4);
    QVERIFY(pane.isUndoAvailable());
    pane.Clear();
    QCOMPARE(pane.LineCount(), 0);
    QVERIFY(!pane.isUndoAvailable());
    QVERIFY(!pane.hasSelectedText());
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETCURRENTPOS), 0L);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE), 0L);
    QCOMPARE(pane.LineBreak(), LineEnding::LF);
  }

  void gutterWidensAtTenThousandLines() {
    EditorPane pane;
    const std::vector<std::string> lines(9999, "G1");
    pane.SetLines(lines);
    QCOMPARE(pane.GutterDigits(), 4);
    const int narrow = pane.GutterWidth();
    const long cell = pane.SendScintilla(Sci::SCI_TEXTWIDTH, Sci::STYLE_DEFAULT, "0");
    QCOMPARE(long(narrow), 16 + 4 * cell + 4);
    pane.AppendLine("M30");
    QCOMPARE(pane.GutterDigits(), 5);
    QCOMPARE(long(pane.GutterWidth()), narrow + cell);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETMARGINWIDTHN, 1) + pane.SendScintilla(Sci::SCI_GETMARGINWIDTHN, 0),
             long(pane.GutterWidth()));
    pane.Clear();
    QCOMPARE(pane.GutterDigits(), 4);
  }

  void settings() {
    EditorPane pane;
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETEDGECOLUMN), 80L);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETEDGEMODE), long(Sci::EDGE_LINE));
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETEDGECOLOUR), 0xC0C0C0L);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETTABWIDTH), 8L);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETMARGINBACKN, 0), long(EditorPane::kGutterColor));
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETBACK, Sci::STYLE_LINENUMBER), long(EditorPane::kGutterColor));
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETFORE, Sci::STYLE_LINENUMBER), 0x800000L);
    QVERIFY(!IsBold(pane, Sci::STYLE_LINENUMBER));
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETFORE, 0), 0x800000L);
    QVERIFY(IsBold(pane, 0));
    QVERIFY(!pane.isReadOnly());
    const QString family = pane.Look().font.family();
    QVERIFY(family == "Courier New" || QFontDatabase::isFixedPitch(family));
    QCOMPARE(pane.Look().font.bold(), true);
    QCOMPARE(pane.Look().color, QColor(0, 0, 128));
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETCARETSTYLE), long(Sci::CARETSTYLE_LINE));
  }

  // ---- highlighting ----

  void stylesFollowTheAttributes_data() {
    QTest::addColumn<std::string>("line");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("attribute");
    QTest::newRow("label") << std::string("N10 G01 (AB)") << 0 << "Label";
    QTest::newRow("number") << std::string("N10 G01 (AB)") << 2 << "Number";
    QTest::newRow("space") << std::string("N10 G01 (AB)") << 3 << "Space";
    QTest::newRow("comment") << std::string("N10 G01 (AB)") << 9 << "Comment";
    QTest::newRow("close bracket has none") << std::string("(a)q)") << 4 << "";
    QTest::newRow("lower case is a label") << std::string("g1") << 0 << "Label";
    QTest::newRow("semicolon comment") << std::string("M30;Ende") << 4 << "Comment";
    // "\xE4" takes two bytes in the editor; the "1" after it sits at 3.
    QTest::newRow("after an umlaut") << std::string("\xE4\x80" "1") << 5 << "Number";
    QTest::newRow("umlaut itself") << std::string("X\xE4") << 2 << "Identifier";
  }
  void stylesFollowTheAttributes() {
    QFETCH(std::string, line);
    QFETCH(int, at);
    QFETCH(QString, attribute);
    TNCSyn syn;
    EditorPane pane;
    pane.SetHighlighter(&syn);
    pane.AppendLines({"M30", line});
    pane.SendScintilla(Sci::SCI_COLOURISE, 0, -1);
    const long position = pane.SendScintilla(Sci::SCI_POSITIONFROMLINE, 1) + at;
    const long style = pane.SendScintilla(Sci::SCI_GETSTYLEAT, position);
    if (attribute.isEmpty()) {
      QCOMPARE(style, 0L);
      QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETFORE, 0), 0x800000L);
      return;
    }
    int index = 0;
    while (QString::fromStdString(syn.AttributeAt(index)->Name()) != attribute) ++index;
    const TSynHighlighterAttributes& a = *syn.AttributeAt(index);
    QCOMPARE(style, long(HighlighterLexer::StyleOfIndex(index)));
    const long pane_colour = 0x800000;
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETFORE, style), a.Foreground() == clNone ? pane_colour : long(a.Foreground()));
    QCOMPARE(IsBold(pane, int(style)), bool(a.Style() & fsBold));
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETITALIC, style) != 0, bool(a.Style() & fsItalic));
  }

  void attributeChangesRestyleAndDestroyingGivesPlainText() {
    auto syn = std::make_unique<TNCSyn>();
    EditorPane pane;
    pane.AppendLines({"N10 G1 X5.5", "(x) Y7"});
    pane.SetHighlighter(syn.get());
    pane.SendScintilla(Sci::SCI_COLOURISE, 0, -1);
    const long number = HighlighterLexer::StyleOfIndex(5);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETSTYLEAT, 1), number);

    syn->NumberAttri().SetForeground(RGBColor(1, 2, 3));
    syn->NumberAttri().SetStyle(fsUnderline);
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETFORE, number), long(RGBColor(1, 2, 3)));
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETUNDERLINE, number), 1L);
    QVERIFY(!IsBold(pane, int(number)));

    syn->SpaceAttri().SetBackground(RGBColor(255, 255, 0));
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETBACK, Sci::STYLE_DEFAULT), long(RGBColor(255, 255, 0)));

    syn->LabelAttri().SetStyle(fsStrikeOut);
    pane.SendScintilla(Sci::SCI_COLOURISE, 0, -1);
    QVERIFY(pane.SendScintilla(Sci::SCI_INDICATORALLONFOR, 0) & (1 << HighlighterLexer::kStrikeIndicator));
    QCOMPARE(pane.SendScintilla(Sci::SCI_INDICATORALLONFOR, 1), 0L);

    syn.reset();
    QVERIFY(pane.Highlighter() == nullptr);
    QVERIFY(pane.lexer() == nullptr);
    const long length = pane.SendScintilla(Sci::SCI_GETLENGTH);
    for (long i = 0; i < length; ++i) QCOMPARE(pane.SendScintilla(Sci::SCI_GETSTYLEAT, i), 0L);
    QCOMPARE(pane.SendScintilla(Sci::SCI_INDICATORALLONFOR, 0), 0L);
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETFORE, 0), 0x800000L);
  }

  // A text past the limit comes without colours, by loading or by
  // appending (the lines before it kept), and keeps the pane's document
  // settings; a short one afterwards is coloured again.
  void largeTextsAreShownPlain() {
    TNCSyn syn;
    EditorPane pane;
    pane.SetHighlighter(&syn);
    pane.setReadOnly(true);
    const std::string line = "N10 G1 X5.5 Y7\n";
    std::string big;
    while (big.size() <= EditorPane::kPlainTextBytes) big += line;
    QTemporaryDir dir;
    const QString path = dir.filePath("big.nc");
    WriteBytes(path, big);
    pane.LoadFromFile(path);
    QVERIFY(pane.PlainText());
    QCOMPARE(pane.DocumentText().size(), big.size() - 1);
    QVERIFY(pane.isReadOnly());
    QVERIFY(pane.isUtf8());
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETTABWIDTH), long(EditorPane::kTabWidth));

    auto colouredAtStart = [&pane] {
      pane.SendScintilla(Sci::SCI_COLOURISE, 0, -1);
      return pane.SendScintilla(Sci::SCI_GETSTYLEAT, 1) != 0;
    };
    pane.SetLines({"N10 G1 X5.5"});
    QVERIFY(!pane.PlainText());
    QVERIFY(colouredAtStart());

    SpillText joined;
    joined.Append(std::string_view(big).substr(0, big.size() - 1));
    pane.AppendJoinedLines(joined, 2);
    QVERIFY(pane.PlainText());
    QCOMPARE(pane.DocumentText().substr(0, 13), std::string_view("N10 G1 X5.5\nN"));
    QCOMPARE(pane.DocumentText().size(), 11 + big.size());
    QVERIFY(!colouredAtStart());
    QVERIFY(pane.isReadOnly());
  }

  // A new text goes into a document of its own while the old one waits
  // aside: stopped part way, the pane shows the old text again, caret and
  // all; let go, the new text stays.
  void documentSetAsideComesBackWhole_data() {
    QTest::addColumn<int>("stopAfter");  // pieces appended before the stop; -1: none
    QTest::newRow("stopped at once") << 0;
    QTest::newRow("stopped after a piece") << 1;
    QTest::newRow("not stopped") << -1;
  }
  void documentSetAsideComesBackWhole() {
    QFETCH(int, stopAfter);
    EditorPane pane;
    pane.SetLines({"alt 1", "alt 2", "alt 3"});
    pane.setCursorPosition(1, 2);
    SpillText joined(1 << 10);  // in pieces, through a file beyond 1 KB
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "G01 Z" + std::to_string(i) + (i + 1 < 200000 ? "\n" : "");
    joined.Append(text);

    EditorPane::KeptDocument kept = pane.SetDocumentAside(joined.size());
    QCOMPARE(pane.LineCount(), 0);
    int asked = 0;
    const bool whole = pane.AppendJoinedLines(joined, 200000, [&] { return asked++ == stopAfter; });
    QCOMPARE(whole, stopAfter < 0);
    if (whole) {
      pane.LetGo(kept);
      QCOMPARE(pane.LineCount(), 200000);
      QCOMPARE(pane.LineAt(199999), std::string("G01 Z199999"));
      return;
    }
    QVERIFY(pane.LineCount() < 200000);
    pane.PutBack(kept);
    QCOMPARE(pane.Lines(), (std::vector<std::string>{"alt 1", "alt 2", "alt 3"}));
    int line = -1, column = -1;
    pane.getCursorPosition(&line, &column);
    QCOMPARE(line, 1);
    QCOMPARE(column, 2);
  }

  void switchingHighlightersUnsubscribes() {
    TNCSyn first;
    TNCSyn second;
    EditorPane pane;
    pane.AppendLine("N1");
    pane.SetHighlighter(&first);
    pane.SetHighlighter(&second);
    first.NumberAttri().SetForeground(RGBColor(9, 9, 9));
    pane.SendScintilla(Sci::SCI_COLOURISE, 0, -1);
    QCOMPARE(pane.SendScintilla(Sci::SCI_STYLEGETFORE, HighlighterLexer::StyleOfIndex(5)), 0x800000L);
    pane.SetHighlighter(nullptr);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETSTYLEAT, 0), 0L);
  }

  void onlyTheShownLinesAreScanned() {
    CountingSyn syn;
    EditorPane pane;
    pane.resize(400, 300);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.SetHighlighter(&syn);
    pane.SetLines(std::vector<std::string>(200000, "N10 G01 X12.5 Y7"));
    pane.repaint();
    QVERIFY2(syn.lines < 1000, qPrintable(QString::number(syn.lines)));

    struct Step {
      const char* name;
      std::function<void()> act;
      long line;
    };
    const Step steps[] = {
        {"to the end", [&] { QTest::keyClick(&pane, Qt::Key_End, Qt::ControlModifier); }, 199999},
        {"to the middle", [&] { pane.SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, 100000); }, 100000},
        {"typed at the top, then to the end",
         [&] {
           QTest::keyClick(&pane, Qt::Key_Home, Qt::ControlModifier);
           QTest::keyClicks(&pane, "G1 ");
           pane.repaint();
           QTest::keyClick(&pane, Qt::Key_End, Qt::ControlModifier);
         },
         199999},
    };
    for (const Step& step : steps) {
      syn.lines = 0;
      step.act();
      pane.repaint();
      QVERIFY2(syn.lines < 1000, qPrintable(QString("%1: %2").arg(step.name).arg(syn.lines)));
      const long start = pane.SendScintilla(Sci::SCI_POSITIONFROMLINE, step.line);
      QCOMPARE(pane.SendScintilla(Sci::SCI_GETSTYLEAT, start), long(HighlighterLexer::StyleOfIndex(3)));
      QCOMPARE(pane.SendScintilla(Sci::SCI_GETSTYLEAT, start + 1), long(HighlighterLexer::StyleOfIndex(5)));
    }
  }

  // A highlighter whose state spans lines: the pane keeps each line's
  // start state and scans again from the first changed line.
  void statesCarryAcrossLines() {
    BraceSyn syn;
    EditorPane pane;
    pane.SetHighlighter(&syn);
    pane.SetLines({"a", "{", "b", "}", "c"});
    pane.SendScintilla(Sci::SCI_COLOURISE, 0, -1);
    auto styleOfLine = [&](long line) {
      return pane.SendScintilla(Sci::SCI_GETSTYLEAT, pane.SendScintilla(Sci::SCI_POSITIONFROMLINE, line));
    };
    const long inside = HighlighterLexer::StyleOfIndex(0);
    QCOMPARE(styleOfLine(0), 0L);
    QCOMPARE(styleOfLine(2), inside);
    QCOMPARE(styleOfLine(4), 0L);

    pane.SendScintilla(Sci::SCI_GOTOLINE, 1);
    QTest::keyClick(&pane, Qt::Key_Y, Qt::ControlModifier);  // the line with "{" goes
    pane.SendScintilla(Sci::SCI_COLOURISE, 0, -1);
    QCOMPARE(styleOfLine(1), 0L);

    pane.SendScintilla(Sci::SCI_GOTOPOS, 0);
    QTest::keyClicks(&pane, "{");
    pane.SendScintilla(Sci::SCI_COLOURISE, 0, -1);
    QCOMPARE(styleOfLine(1), inside);
    QCOMPARE(styleOfLine(3), 0L);
  }
};

QTEST_MAIN(EditorPaneTest)
#include "EditorPaneTest.moc"
