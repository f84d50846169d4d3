// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

class QKeyEvent;

namespace torvane {

// The commands a key of a pane can trigger.
enum TEditorCommand {
  ecNone,
  ecLeft, ecRight, ecUp, ecDown,
  ecWordLeft, ecWordRight,
  ecLineStart, ecLineEnd,
  ecPageUp, ecPageDown, ecPageTop, ecPageBottom,
  ecEditorTop, ecEditorBottom,
  ecSelLeft, ecSelRight, ecSelUp, ecSelDown,
  ecSelWordLeft, ecSelWordRight,
  ecSelLineStart, ecSelLineEnd,
  ecSelPageUp, ecSelPageDown, ecSelPageTop, ecSelPageBottom,
  ecSelEditorTop, ecSelEditorBottom,
  ecScrollUp, ecScrollDown,
  ecSelectAll,
  ecToggleMode,
  ecCopy, ecCut, ecPaste,
  ecDeleteChar, ecDeleteLastChar, ecDeleteLastWord, ecDeleteWord, ecDeleteLine, ecDeleteEOL,
  ecLineBreak, ecInsertLine,
  ecTab, ecShiftTab,
  ecContextHelp,
  ecMatchBracket,
  ecNormalSelect, ecColumnSelect, ecLineSelect,
  ecBlockIndent, ecBlockUnindent,
  ecUndo, ecRedo,
  ecGotoMarker0, ecGotoMarker1, ecGotoMarker2, ecGotoMarker3, ecGotoMarker4,
  ecGotoMarker5, ecGotoMarker6, ecGotoMarker7, ecGotoMarker8, ecGotoMarker9,
  ecSetMarker0, ecSetMarker1, ecSetMarker2, ecSetMarker3, ecSetMarker4,
  ecSetMarker5, ecSetMarker6, ecSetMarker7, ecSetMarker8, ecSetMarker9,
};

// A key combination as one 16-bit value: the Windows virtual-key code in the
// low byte plus these flags, the form in which bindings are stored.
inline constexpr std::uint16_t kShift = 0x2000;
inline constexpr std::uint16_t kCtrl = 0x4000;
inline constexpr std::uint16_t kAlt = 0x8000;

namespace vk {
inline constexpr std::uint16_t Back = 0x08, Tab = 0x09, Return = 0x0D, Prior = 0x21, Next = 0x22, End = 0x23,
                               Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D,
                               Delete = 0x2E, F1 = 0x70;
}  // namespace vk

struct Keystroke {
  std::uint16_t shortcut;
  TEditorCommand command;
};

// The panes' 82 bindings.
const std::vector<Keystroke>& DefaultKeystrokes();

// The stored form of a key press, or 0 for a key that has no virtual-key
// code among those the bindings use.
std::uint16_t ShortcutOf(const QKeyEvent& event);

}  // namespace torvane
