#pragma once
// The keys that type no character, and the extended key code each gives with Shift or Ctrl held.

#include <optional>

#include "screen/key_queue.h"

namespace quillfex {

enum class Key {
  up,
  down,
  left,
  right,
  home,
  end,
  pageUp,
  pageDown,
  insert,
  del,
  f1,
  f2,
  f3,
  f4,
  f5,
  f6,
  f7,
  f8,
  f9,
  f10,
  f11,
  f12,
  close,  // the window's close request
};

// The characters pollKey returns for Enter and Escape, and the second character of the arrows Up and Down:
// the keys the menu reads.
inline constexpr KeyCode enterCharacter = 13;
inline constexpr KeyCode escapeCharacter = 27;
inline constexpr int upArrowCode = 'H';
inline constexpr int downArrowCode = 'P';

// Alt is not here: a press with Alt held reaches the window as a system key, which queues nothing.
struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  friend bool operator==(const KeyModifiers&, const KeyModifiers&) = default;
};

// The code to queue, or nothing where the key has none with these modifiers (F10 never has one, nor does
// any key with both Shift and Ctrl held).
std::optional<KeyCode> extendedKeyCode(Key key, KeyModifiers modifiers);

}  // namespace quillfex
