// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorCommands.h"

#include <QKeyEvent>

namespace torvane {

namespace {

constexpr std::uint16_t Letter(char c) { return static_cast<std::uint16_t>(c); }

std::vector<Keystroke> MakeKeystrokes() {
  using namespace vk;
  std::vector<Keystroke> k = {
      {Up, ecUp},
      {Up | kShift, ecSelUp},
      {Up | kCtrl, ecScrollUp},
      {Down, ecDown},
      {Down | kShift, ecSelDown},
      {Down | kCtrl, ecScrollDown},
      {Left, ecLeft},
      {Left | kShift, ecSelLeft},
      {Left | kCtrl, ecWordLeft},
      {Left | kShift | kCtrl, ecSelWordLeft},
      {Right, ecRight},
      {Right | kShift, ecSelRight},
      {Right | kCtrl, ecWordRight},
      {Right | kShift | kCtrl, ecSelWordRight},
      {Next, ecPageDown},
      {Next | kShift, ecSelPageDown},
      {Next | kCtrl, ecPageBottom},
      {Next | kShift | kCtrl, ecSelPageBottom},
      {Prior, ecPageUp},
      {Prior | kShift, ecSelPageUp},
      {Prior | kCtrl, ecPageTop},
      {Prior | kShift | kCtrl, ecSelPageTop},
      {Home, ecLineStart},
      {Home | kShift, ecSelLineStart},
      {Home | kCtrl, ecEditorTop},
      {Home | kShift | kCtrl, ecSelEditorTop},
      {End, ecLineEnd},
      {End | kShift, ecSelLineEnd},
      {End | kCtrl, ecEditorBottom},
      {End | kShift | kCtrl, ecSelEditorBottom},
      {Insert, ecToggleMode},
      {Insert | kShift, ecPaste},
      {Insert | kCtrl, ecCopy},
      {Delete, ecDeleteChar},
      {Delete | kShift, ecCut},
      {Back, ecDeleteLastChar},
      {Back | kShift, ecDeleteLastChar},
      {Back | kCtrl, ecDeleteLastWord},
      {Back | kAlt, ecUndo},
      {Back | kShift | kAlt, ecRedo},
      {Return, ecLineBreak},
      {Return | kShift, ecLineBreak},
      {Tab, ecTab},
      {Tab | kShift, ecShiftTab},
      {F1 | kCtrl, ecContextHelp},
      {Letter('A') | kCtrl, ecSelectAll},
      {Letter('B') | kShift | kCtrl, ecMatchBracket},
      {Letter('C') | kCtrl, ecCopy},
      {Letter('C') | kShift | kCtrl, ecColumnSelect},
      {Letter('I') | kShift | kCtrl, ecBlockIndent},
      {Letter('L') | kShift | kCtrl, ecLineSelect},
      {Letter('M') | kCtrl, ecLineBreak},
      {Letter('N') | kCtrl, ecInsertLine},
      {Letter('N') | kShift | kCtrl, ecNormalSelect},
      {Letter('T') | kCtrl, ecDeleteWord},
      {Letter('U') | kShift | kCtrl, ecBlockUnindent},
      {Letter('V') | kCtrl, ecPaste},
      {Letter('X') | kCtrl, ecCut},
      {Letter('Y') | kCtrl, ecDeleteLine},
      {Letter('Y') | kShift | kCtrl, ecDeleteEOL},
      {Letter('Z') | kCtrl, ecUndo},
      {Letter('Z') | kShift | kCtrl, ecRedo},
  };
  for (int digit = 0; digit <= 9; ++digit) {
    const auto key = static_cast<std::uint16_t>('0' + digit);
    k.push_back({static_cast<std::uint16_t>(key | kCtrl), static_cast<TEditorCommand>(ecGotoMarker0 + digit)});
    k.push_back({static_cast<std::uint16_t>(key | kShift | kCtrl),
                 static_cast<TEditorCommand>(ecSetMarker0 + digit)});
  }
  return k;
}

std::uint16_t VirtualKeyOf(const QKeyEvent& event) {
  const int key = event.key();
  switch (key) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_F1: return vk::F1;
    default: break;
  }
  // Qt's letter and digit keys carry the same numbers as the virtual keys.
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return static_cast<std::uint16_t>(key);
  // With Shift held, a digit key reports the symbol above it ("!" or "§"),
  // which depends on the keyboard layout; the physical key does not.
#if defined(Q_OS_WIN)
  const quint32 native = event.nativeVirtualKey();
  if ((native >= '0' && native <= '9') || (native >= 'A' && native <= 'Z')) return static_cast<std::uint16_t>(native);
#else
  // X11 and evdev key codes of the digit row, "1" to "9" then "0".
  const quint32 scan = event.nativeScanCode();
  if (scan >= 10 && scan <= 19) return static_cast<std::uint16_t>(scan == 19 ? '0' : '1' + (scan - 10));
#endif
  return 0;
}

}  // namespace

const std::vector<Keystroke>& DefaultKeystrokes() {
  static const std::vector<Keystroke> keystrokes = MakeKeystrokes();
  return keystrokes;
}

std::uint16_t ShortcutOf(const QKeyEvent& event) {
  const std::uint16_t key = VirtualKeyOf(event);
  if (key == 0) return 0;
  const Qt::KeyboardModifiers mods = event.modifiers();
  std::uint16_t shortcut = key;
  if (mods & Qt::ShiftModifier) shortcut |= kShift;
  if (mods & Qt::ControlModifier) shortcut |= kCtrl;
  if (mods & Qt::AltModifier) shortcut |= kAlt;
  return shortcut;
}

}  // namespace torvane
