#include "screen/drivers/gdi_rules.h"

#include <algorithm>

#include "screen/key_codes.h"

namespace quillfex {
namespace {

struct KeyOfVirtualKey {
  int virtualKey;
  Key key;
};

constexpr KeyOfVirtualKey cursorBlock[] = {
    {virtualKey::up, Key::up},         {virtualKey::down, Key::down},         {virtualKey::left, Key::left},
    {virtualKey::right, Key::right},   {virtualKey::home, Key::home},         {virtualKey::end, Key::end},
    {virtualKey::pageUp, Key::pageUp}, {virtualKey::pageDown, Key::pageDown}, {virtualKey::insert, Key::insert},
    {virtualKey::del, Key::del},
};

struct KeyPress {
  Key key;
  bool onKeypad;
};

std::optional<KeyPress> cursorBlockKey(const KeyDownEvent& event) {
  for (const KeyOfVirtualKey& entry : cursorBlock) {
    // Windows reports the keypad's cursor keys with Num Lock off as the same virtual keys, not extended.
    if (entry.virtualKey == event.virtualKey) return KeyPress{entry.key, !event.extended};
  }
  return std::nullopt;
}

std::optional<KeyPress> functionKey(const KeyDownEvent& event) {
  if (event.virtualKey < virtualKey::f1 || event.virtualKey > virtualKey::f12) return std::nullopt;
  return KeyPress{static_cast<Key>(static_cast<int>(Key::f1) + event.virtualKey - virtualKey::f1), false};
}

}  // namespace

std::optional<KeyCode> keyDownCode(const KeyDownEvent& event) {
  if (event.producesCharacter) return std::nullopt;
  auto press = cursorBlockKey(event);
  if (!press) press = functionKey(event);
  if (!press) return std::nullopt;
  // With Num Lock on the keypad types digits; its cursor keys then come only from Shift, which gives none.
  if (press->onKeypad && (event.shift || event.numLock)) return std::nullopt;
  return extendedKeyCode(press->key, {event.shift, event.ctrl});
}

int repeatCount(std::int64_t lParam) { return static_cast<int>(lParam & 0xFFFF); }

SystemKeyAction systemKeyAction(const SystemKeyEvent& event) {
  if (event.virtualKey == virtualKey::f10 || event.virtualKey == virtualKey::alt) return SystemKeyAction::withhold;
  if (event.virtualKey == virtualKey::f4 && event.altHeld) return SystemKeyAction::withhold;
  if (event.virtualKey == virtualKey::enter && event.altHeld && event.windowActive) {
    // Holding Alt+Enter down repeats it; one press switches once.
    return event.repeat ? SystemKeyAction::withhold : SystemKeyAction::switchFullScreen;
  }
  return SystemKeyAction::defaultHandling;
}

RowCopy rowCopyFor(RowRange rows) {
  const int first = std::max(rows.first, 0);
  const int last = std::min(rows.last, surfaceHeight - 1);
  const int count = std::max(last - first + 1, 0);
  return {first, count, -count};
}

}  // namespace quillfex
