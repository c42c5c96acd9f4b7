#pragma once
// Key scripts: the keys a person would press, written as names separated by blanks, for example
// "Down Down Enter" or "Ctrl+Up F1 a Esc". Names: Up Down Left Right Home End PgUp PgDn Ins Del F1 ... F12,
// Enter (or Return) Esc (or Escape) Tab Backspace Space Close (the window's close request), any single printable
// character, and any of these after one or more of the prefixes Shift+, Ctrl+ and Alt+. Names of more than one
// character are read without regard to letter case.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screen/key_codes.h"

namespace quillfex {

struct ScriptedKey {
  std::optional<Key> key;      // a key that types no character
  std::uint8_t character = 0;  // otherwise the character the key types: Enter 13, Esc 27, Tab 9, ...
  KeyModifiers modifiers;
  bool alt = false;
  friend bool operator==(const ScriptedKey&, const ScriptedKey&) = default;
};

// The keys in order; nullopt with error naming the first name that is not a key.
std::optional<std::vector<ScriptedKey>> parseKeyScript(std::string_view script, std::string& error);

// What the window queues for the press: nothing with Alt held or for a key without a code; Ctrl with a
// letter types its control character (Ctrl+A is 1), as on Windows.
std::optional<KeyCode> keyCodeOf(const ScriptedKey& press);

}  // namespace quillfex
