#pragma once
// The decisions of the Windows screen window that need no window: its title, its place, which key press
// queues what, and which pixel rows a refresh copies. Plain integers in, so both hosts compile and test them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "screen/drivers/window_rules.h"
#include "screen/key_queue.h"
#include "screen/surface.h"

namespace quillfex {

// The Windows virtual-key codes that the window looks at (VK_* of <windows.h>).
namespace virtualKey {
inline constexpr int enter = 0x0D;
inline constexpr int alt = 0x12;
inline constexpr int pageUp = 0x21;
inline constexpr int pageDown = 0x22;
inline constexpr int end = 0x23;
inline constexpr int home = 0x24;
inline constexpr int left = 0x25;
inline constexpr int up = 0x26;
inline constexpr int right = 0x27;
inline constexpr int down = 0x28;
inline constexpr int insert = 0x2D;
inline constexpr int del = 0x2E;
inline constexpr int f1 = 0x70;
inline constexpr int f4 = 0x73;
inline constexpr int f10 = 0x79;
inline constexpr int f12 = 0x7B;
}  // namespace virtualKey

// A WM_KEYDOWN, as the window sees it with the keyboard's state at that moment.
struct KeyDownEvent {
  int virtualKey;
  bool extended;  // lParam bit 24: the separate cursor block, not the keypad
  bool shift, ctrl;
  bool numLock;
  bool producesCharacter;  // it comes again as WM_CHAR
};

// The extended key code to queue for a key press, or nothing: the key types a character, or has no code
// with these modifiers (keypad cursor keys with Shift or Num Lock have none).
std::optional<KeyCode> keyDownCode(const KeyDownEvent& event);

// How many presses a WM_KEYDOWN or WM_CHAR reports (auto-repeat): lParam bits 0 to 15.
int repeatCount(std::int64_t lParam);

enum class SystemKeyAction { defaultHandling, withhold, switchFullScreen };

// A WM_SYSKEYDOWN queues nothing. Alt+Enter switches between window and full screen; F10, Alt itself and
// Alt+F4 are withheld so that they neither open the window menu nor close the window.
struct SystemKeyEvent {
  int virtualKey;
  bool altHeld;  // lParam bit 29
  bool repeat;   // lParam bit 30: the key was down already
  bool windowActive;
};
SystemKeyAction systemKeyAction(const SystemKeyEvent& event);

// The rows of a refresh as a 32-bit DIB: firstRow of the surface is its top row, dibHeight is negative
// for top-down. rowCount 0 when the range holds no row of the surface.
struct RowCopy {
  int firstRow;
  int rowCount;
  int dibHeight;
  friend bool operator==(const RowCopy&, const RowCopy&) = default;
};
RowCopy rowCopyFor(RowRange rows);

}  // namespace quillfex
