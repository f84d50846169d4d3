// SPDX-License-Identifier: GPL-3.0-or-later
// The panes' key bindings and the commands behind them.

#include <QApplication>
#include <QVBoxLayout>
#include <QtTest>

#include <set>

#include "EditorPane.h"
#include "highlighter/NCSyn.h"

using namespace torvane;
using Sci = QsciScintillaBase;

Q_DECLARE_METATYPE(TEditorCommand)
Q_DECLARE_METATYPE(Qt::Key)

namespace {

class RecordingPane : public EditorPane {
 public:
  void ExecuteCommand(TEditorCommand command) override { executed.push_back(command); }
  std::vector<TEditorCommand> executed;
};

QString Text(const EditorPane& pane) {
  QString text;
  for (const std::string& line : pane.Lines()) text += QString::fromStdString(line) + "|";
  return text;
}

// The selection as the editor copies it; a column selection gives its rows
// one per line.
QString Selected(const EditorPane& pane) {
  QByteArray text(int(pane.SendScintilla(Sci::SCI_GETSELTEXT, 0UL, static_cast<char*>(nullptr))), '\0');
  pane.SendScintilla(Sci::SCI_GETSELTEXT, 0UL, text.data());
  return QString::fromUtf8(text.constData());
}

long Caret(const EditorPane& pane) { return pane.SendScintilla(Sci::SCI_GETCURRENTPOS); }

}  // namespace

class EditorKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void bindingsReachTheirCommands_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<TEditorCommand>("command");
    const int S = Qt::ShiftModifier, C = Qt::ControlModifier, A = Qt::AltModifier;
    struct Row {
      Qt::Key key;
      int mods;
      TEditorCommand command;
    };
    const Row rows[] = {
        {Qt::Key_Up, 0, ecUp},
        {Qt::Key_Up, S, ecSelUp},
        {Qt::Key_Up, C, ecScrollUp},
        {Qt::Key_Down, 0, ecDown},
        {Qt::Key_Down, S, ecSelDown},
        {Qt::Key_Down, C, ecScrollDown},
        {Qt::Key_Left, 0, ecLeft},
        {Qt::Key_Left, S, ecSelLeft},
        {Qt::Key_Left, C, ecWordLeft},
        {Qt::Key_Left, S | C, ecSelWordLeft},
        {Qt::Key_Right, 0, ecRight},
        {Qt::Key_Right, S, ecSelRight},
        {Qt::Key_Right, C, ecWordRight},
        {Qt::Key_Right, S | C, ecSelWordRight},
        {Qt::Key_PageUp, 0, ecPageUp},
        {Qt::Key_PageUp, S, ecSelPageUp},
        {Qt::Key_PageUp, C, ecPageTop},
        {Qt::Key_PageUp, S | C, ecSelPageTop},
        {Qt::Key_PageDown, 0, ecPageDown},
        {Qt::Key_PageDown, S, ecSelPageDown},
        {Qt::Key_PageDown, C, ecPageBottom},
        {Qt::Key_PageDown, S | C, ecSelPageBottom},
        {Qt::Key_Home, 0, ecLineStart},
        {Qt::Key_Home, S, ecSelLineStart},
        {Qt::Key_Home, C, ecEditorTop},
        {Qt::Key_Home, S | C, ecSelEditorTop},
        {Qt::Key_End, 0, ecLineEnd},
        {Qt::Key_End, S, ecSelLineEnd},
        {Qt::Key_End, C, ecEditorBottom},
        {Qt::Key_End, S | C, ecSelEditorBottom},
        {Qt::Key_Insert, 0, ecToggleMode},
        {Qt::Key_Insert, S, ecPaste},
        {Qt::Key_Insert, C, ecCopy},
        {Qt::Key_Delete, 0, ecDeleteChar},
        {Qt::Key_Delete, S, ecCut},
        {Qt::Key_Backspace, 0, ecDeleteLastChar},
        {Qt::Key_Backspace, S, ecDeleteLastChar},
        {Qt::Key_Backspace, C, ecDeleteLastWord},
        {Qt::Key_Backspace, A, ecUndo},
        {Qt::Key_Backspace, S | A, ecRedo},
        {Qt::Key_Return, 0, ecLineBreak},
        {Qt::Key_Return, S, ecLineBreak},
        {Qt::Key_Enter, 0, ecLineBreak},
        {Qt::Key_F1, C, ecContextHelp},
        {Qt::Key_A, C, ecSelectAll},
        {Qt::Key_B, S | C, ecMatchBracket},
        {Qt::Key_C, C, ecCopy},
        {Qt::Key_C, S | C, ecColumnSelect},
        {Qt::Key_I, S | C, ecBlockIndent},
        {Qt::Key_L, S | C, ecLineSelect},
        {Qt::Key_M, C, ecLineBreak},
        {Qt::Key_N, C, ecInsertLine},
        {Qt::Key_N, S | C, ecNormalSelect},
        {Qt::Key_T, C, ecDeleteWord},
        {Qt::Key_U, S | C, ecBlockUnindent},
        {Qt::Key_V, C, ecPaste},
        {Qt::Key_X, C, ecCut},
        {Qt::Key_Y, C, ecDeleteLine},
        {Qt::Key_Y, S | C, ecDeleteEOL},
        {Qt::Key_Z, C, ecUndo},
        {Qt::Key_Z, S | C, ecRedo},
    };
    for (const Row& r : rows) {
      QTest::addRow("%s+%d", qPrintable(QKeySequence(r.key).toString()), r.mods) << r.key << r.mods << r.command;
    }
    for (int d = 0; d <= 9; ++d) {
      const auto key = static_cast<Qt::Key>(Qt::Key_0 + d);
      QTest::addRow("goto %d", d) << key << C << static_cast<TEditorCommand>(ecGotoMarker0 + d);
      QTest::addRow("set %d", d) << key << (S | C) << static_cast<TEditorCommand>(ecSetMarker0 + d);
    }
  }
  void bindingsReachTheirCommands() {
    QFETCH(Qt::Key, key);
    QFETCH(int, modifiers);
    QFETCH(TEditorCommand, command);
    RecordingPane pane;
    QTest::keyClick(&pane, key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(pane.executed, std::vector<TEditorCommand>{command});
  }

  void storedBindings() {
    const std::vector<Keystroke>& keys = EditorPane().Keystrokes();
    QCOMPARE(keys.size(), std::size_t(82));
    std::set<std::uint16_t> distinct;
    for (const Keystroke& k : keys) distinct.insert(k.shortcut);
    QCOMPARE(distinct.size(), std::size_t(82));
    QCOMPARE(EditorPane::CommandFor(24613), ecSelWordLeft);
    QCOMPARE(EditorPane::CommandFor(0x8008), ecUndo);
    QCOMPARE(EditorPane::CommandFor(0xA008), ecRedo);
    QCOMPARE(EditorPane::CommandFor(0x0009), ecTab);
    QCOMPARE(EditorPane::CommandFor(0x2009), ecShiftTab);
  }

  void unboundKeysDoNothing_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Ctrl+D") << Qt::Key_D << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+Q") << Qt::Key_Q << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+F1") << Qt::Key_F1 << int(Qt::ControlModifier);
    QTest::newRow("F2") << Qt::Key_F2 << 0;
    QTest::newRow("Escape") << Qt::Key_Escape << 0;
    QTest::newRow("Alt+X") << Qt::Key_X << int(Qt::AltModifier);
  }
  void unboundKeysDoNothing() {
    QFETCH(Qt::Key, key);
    QFETCH(int, modifiers);
    EditorPane pane;
    pane.SetLines({"N10 G1", "N20"});
    pane.SendScintilla(Sci::SCI_GOTOPOS, 3);
    QTest::keyClick(&pane, key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(Text(pane), QString("N10 G1|N20|"));
    QCOMPARE(Caret(pane), 3L);
  }

  void tabMovesTheFocus() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* quelle = new EditorPane;
    auto* ziel = new EditorPane;
    layout->addWidget(quelle);
    layout->addWidget(ziel);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    quelle->setFocus();
    QTRY_VERIFY(quelle->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_VERIFY(ziel->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(quelle->hasFocus());
    QCOMPARE(quelle->LineCount(), 0);
    QCOMPARE(ziel->LineCount(), 0);
  }

  void editingCommands_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("want");
    QTest::addColumn<int>("wantCaret");
    const int S = Qt::ShiftModifier, C = Qt::ControlModifier;
    QTest::newRow("delete line") << "a\nb\nc" << 2 << Qt::Key_Y << C << "a|c|" << 2;
    QTest::newRow("delete to end of line") << "G01 X10\nN2" << 4 << Qt::Key_Y << (S | C) << "G01 |N2|" << 4;
    QTest::newRow("delete word") << "G01 X10" << 0 << Qt::Key_T << C << "X10|" << 0;
    QTest::newRow("delete last word") << "G01 X10" << 7 << Qt::Key_Backspace << C << "G01 |" << 4;
    QTest::newRow("delete char") << "G01" << 0 << Qt::Key_Delete << 0 << "01|" << 0;
    QTest::newRow("delete last char") << "G01" << 3 << Qt::Key_Backspace << 0 << "G0|" << 2;
    QTest::newRow("insert line keeps the caret") << "ab" << 1 << Qt::Key_N << C << "a|b|" << 1;
    QTest::newRow("line break keeps the indent") << "  ab" << 4 << Qt::Key_M << C << "  ab|  |" << 7;
    QTest::newRow("line break trims the line") << "ab   \ncd" << 5 << Qt::Key_Return << 0 << "ab||cd|" << 3;
    QTest::newRow("indent the caret line") << "a\nb" << 0 << Qt::Key_I << (S | C) << "  a|b|" << 2;
    QTest::newRow("unindent the caret line") << "   a" << 3 << Qt::Key_U << (S | C) << " a|" << 1;
    QTest::newRow("context help does nothing") << "G1" << 1 << Qt::Key_F1 << C << "G1|" << 1;
    QTest::newRow("word right") << "G01 X10" << 0 << Qt::Key_Right << C << "G01 X10|" << 4;
    QTest::newRow("line start") << "G01 X10" << 5 << Qt::Key_Home << 0 << "G01 X10|" << 0;
    QTest::newRow("editor bottom") << "a\nbc" << 0 << Qt::Key_End << C << "a|bc|" << 4;
  }
  void editingCommands() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(Qt::Key, key);
    QFETCH(int, modifiers);
    QFETCH(QString, want);
    QFETCH(int, wantCaret);
    EditorPane pane;
    std::vector<std::string> lines;
    for (const QString& l : text.split('\n')) lines.push_back(l.toStdString());
    pane.SetLines(lines);
    pane.SendScintilla(Sci::SCI_GOTOPOS, caret);
    QTest::keyClick(&pane, key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(Text(pane), want);
    QCOMPARE(Caret(pane), long(wantCaret));
  }

  // The line numbers' margin (margin 1) widens with the fifth digit.
  void gutterGrowsWhenTypingAddsADigit() {
    EditorPane pane;
    pane.SetLines(std::vector<std::string>(9999, "G1"));
    pane.show();
    QApplication::processEvents();
    const long before = pane.SendScintilla(Sci::SCI_GETMARGINWIDTHN, 1);
    pane.SendScintilla(Sci::SCI_DOCUMENTEND);
    QTest::keyClick(&pane, Qt::Key_Return);
    QTRY_VERIFY(pane.SendScintilla(Sci::SCI_GETMARGINWIDTHN, 1) > before);
  }

  void blockIndentTakesEverySelectedLine() {
    EditorPane pane;
    pane.SetLines({"a", "b", "c"});
    pane.SendScintilla(Sci::SCI_SETSEL, 0, 4);  // ends at the start of "c"
    QTest::keyClick(&pane, Qt::Key_I, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(Text(pane), QString("  a|  b|c|"));
    QTest::keyClick(&pane, Qt::Key_U, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(Text(pane), QString("a|b|c|"));
  }

  void undoAndRedo() {
    EditorPane pane;
    QTest::keyClicks(&pane, "G1");
    QTest::keyClick(&pane, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pane.LineCount(), 0);
    QTest::keyClick(&pane, Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(Text(pane), QString("G1|"));
    QTest::keyClick(&pane, Qt::Key_Backspace, Qt::AltModifier);
    QCOMPARE(pane.LineCount(), 0);
    QTest::keyClick(&pane, Qt::Key_Backspace, Qt::ShiftModifier | Qt::AltModifier);
    QCOMPARE(Text(pane), QString("G1|"));
  }

  void insertKeyTogglesOverwrite() {
    EditorPane pane;
    pane.SetLines({"G01"});
    QTest::keyClick(&pane, Qt::Key_Insert);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETCARETSTYLE), long(Sci::CARETSTYLE_BLOCK));
    QTest::keyClicks(&pane, "M3");
    QCOMPARE(Text(pane), QString("M31|"));
    QTest::keyClick(&pane, Qt::Key_Insert);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETCARETSTYLE), long(Sci::CARETSTYLE_LINE));
    QTest::keyClicks(&pane, "0");
    QCOMPARE(Text(pane), QString("M301|"));
  }

  void bookmarks() {
    EditorPane pane;
    pane.SetLines({"N10", "N20 G1", "N30"});
    pane.SendScintilla(Sci::SCI_GOTOPOS, 7);  // line 1, column 3
    QTest::keyClick(&pane, Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(pane.BookmarkLine(3), 1);
    pane.SendScintilla(Sci::SCI_GOTOPOS, 0);
    QTest::keyClick(&pane, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(Caret(pane), 7L);
    QTest::keyClick(&pane, Qt::Key_5, Qt::ControlModifier);
    QCOMPARE(Caret(pane), 7L);
    pane.SendScintilla(Sci::SCI_GOTOPOS, 13);
    QTest::keyClick(&pane, Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(pane.BookmarkLine(3), 2);
    QTest::keyClick(&pane, Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(pane.BookmarkLine(3), -1);
  }

  void selectionModes() {
    EditorPane pane;
    pane.SetLines({"N10 G1", "N20 G2", "N30 G3"});
    QTest::keyClick(&pane, Qt::Key_C, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(pane.SelectionMode(), EditorPane::SelectionKind::Column);
    QTest::keyClick(&pane, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&pane, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&pane, Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(pane.SendScintilla(Sci::SCI_SELECTIONISRECTANGLE));
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETSELECTIONS), 2L);
    QCOMPARE(Selected(pane), QString("N1\nN2\n"));

    QTest::keyClick(&pane, Qt::Key_L, Qt::ShiftModifier | Qt::ControlModifier);
    pane.SendScintilla(Sci::SCI_GOTOPOS, 9);  // line 1, column 2
    QTest::keyClick(&pane, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(Selected(pane), QString("N20 G2\nN30 G3"));
    QTest::keyClick(&pane, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(&pane, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(Selected(pane), QString("N10 G1\nN20 G2\n"));

    QTest::keyClick(&pane, Qt::Key_N, Qt::ShiftModifier | Qt::ControlModifier);
    pane.SendScintilla(Sci::SCI_GOTOPOS, 0);
    QTest::keyClick(&pane, Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(!pane.SendScintilla(Sci::SCI_SELECTIONISRECTANGLE));
    QCOMPARE(Selected(pane), QString("N"));
  }

  void matchBracket_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<bool>("highlighted");
    QTest::addColumn<int>("want");
    QTest::newRow("square, plain") << "[a[b]c]" << 0 << false << 6;
    QTest::newRow("square, NC") << "[a[b]c]" << 0 << true << 6;
    QTest::newRow("backwards") << "[a[b]c]" << 6 << true << 0;
    QTest::newRow("parenthesis, plain") << "(a)" << 0 << false << 2;
    QTest::newRow("parenthesis, NC: comment") << "(a)" << 0 << true << 0;
    QTest::newRow("close bracket, NC: no attribute") << "X)(b" << 1 << true << 1;
    QTest::newRow("brace inside a comment skipped") << "{ (x}) }" << 0 << true << 7;
    QTest::newRow("same brace, plain") << "{ (x}) }" << 0 << false << 4;
    QTest::newRow("across lines") << "<a\nb>" << 0 << true << 4;
    QTest::newRow("no partner") << "<<>" << 0 << true << 0;
    QTest::newRow("not a bracket") << "G1[" << 0 << true << 0;
  }
  void matchBracket() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(bool, highlighted);
    QFETCH(int, want);
    TNCSyn syn;
    EditorPane pane;
    if (highlighted) pane.SetHighlighter(&syn);
    std::vector<std::string> lines;
    for (const QString& l : text.split('\n')) lines.push_back(l.toStdString());
    pane.SetLines(lines);
    pane.SendScintilla(Sci::SCI_GOTOPOS, caret);
    QTest::keyClick(&pane, Qt::Key_B, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(Caret(pane), long(want));
  }

  void pageTopAndBottom() {
    EditorPane pane;
    pane.resize(400, 300);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.SetLines(std::vector<std::string>(200, "N10 G1"));
    pane.SendScintilla(Sci::SCI_GOTOPOS, 3);
    QTest::keyClick(&pane, Qt::Key_PageDown, Qt::ControlModifier);
    const long shown = pane.SendScintilla(Sci::SCI_LINESONSCREEN);
    QVERIFY(shown > 2);
    QCOMPARE(pane.SendScintilla(Sci::SCI_LINEFROMPOSITION, Caret(pane)), shown - 1);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETCOLUMN, Caret(pane)), 3L);
    QTest::keyClick(&pane, Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Caret(pane), 3L);
    QCOMPARE(pane.SendScintilla(Sci::SCI_GETANCHOR), pane.SendScintilla(Sci::SCI_POSITIONFROMLINE, shown - 1) + 3);
  }
};

QTEST_MAIN(EditorKeysTest)
#include "EditorKeysTest.moc"
