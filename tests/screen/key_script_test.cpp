// Key scripts: names to key presses, and what the window would queue for each press.

#include "screen/key_script.h"

#include <gtest/gtest.h>

namespace quillfex {
namespace {

ScriptedKey press(Key key, KeyModifiers modifiers = {}, bool alt = false) { return {key, 0, modifiers, alt}; }
ScriptedKey press(std::uint8_t character, KeyModifiers modifiers = {}, bool alt = false) {
  return {std::nullopt, character, modifiers, alt};
}

TEST(KeyScriptTest, NamesBecomePressesInOrder) {
  const std::pair<const char*, std::vector<ScriptedKey>> cases[] = {
      {" \t ", {}},
      {"Down Down Enter", {press(Key::down), press(Key::down), press(13)}},
      {"PgUp pgdn Ins Del F10 CLOSE",
       {press(Key::pageUp), press(Key::pageDown), press(Key::insert), press(Key::del), press(Key::f10),
        press(Key::close)}},
      {"Esc Tab Backspace Space", {press(27), press(9), press(8), press(' ')}},
      {"Escape ESCAPE Return return Ctrl+Return",
       {press(27), press(27), press(13), press(13), press(13, {.ctrl = true})}},
      {"Shift+Up Ctrl+Left Alt+F4 Ctrl+Shift+Home",
       {press(Key::up, {.shift = true}), press(Key::left, {.ctrl = true}), press(Key::f4, {}, true),
        press(Key::home, {.shift = true, .ctrl = true})}},
      {"a Z + Shift++", {press('a'), press('Z'), press('+'), press('+', {.shift = true})}},
  };
  for (const auto& [script, expected] : cases) {
    std::string error;
    const auto keys = parseKeyScript(script, error);
    ASSERT_TRUE(keys) << script << ": " << error;
    EXPECT_EQ(*keys, expected) << script;
  }
}

TEST(KeyScriptTest, AnUnknownNameIsNamedInTheError) {
  for (const char* name : {"Foo", "Shift+", "Meta+Up", "F13", "ab", "\xE9"}) {
    std::string error;
    EXPECT_FALSE(parseKeyScript(std::string("Up ") + name + " Down", error)) << name;
    EXPECT_NE(error.find(std::string("\"") + name + "\""), std::string::npos) << name << ": " << error;
  }
}

TEST(KeyScriptTest, WhatTheWindowQueuesForAPress) {
  const std::pair<ScriptedKey, std::optional<KeyCode>> cases[] = {
      {press(Key::up), extendedKey(0x48)},
      {press(Key::up, {.ctrl = true}), extendedKey(0x8D)},
      {press(Key::up, {}, true), {}},
      {press(Key::f4, {}, true), {}},
      {press(Key::f10), {}},
      {press(Key::close), extendedKey(0x6B)},
      {press(13), 13},
      {press('c', {.ctrl = true}), 3},
      {press('C', {.ctrl = true}), 3},
      {press('1', {.ctrl = true}), '1'},
      {press('x', {}, true), {}},
  };
  int index = 0;
  for (const auto& [scripted, expected] : cases) EXPECT_EQ(keyCodeOf(scripted), expected) << "case " << index++;
}

}  // namespace
}  // namespace quillfex
