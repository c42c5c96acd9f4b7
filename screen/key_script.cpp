#include "screen/key_script.h"

#include "text/text.h"

namespace quillfex {
namespace {

struct NamedKey {
  std::string_view name;  // lower case
  std::optional<Key> key;
  std::uint8_t character;
};

constexpr NamedKey namedKeys[] = {
    {"up", Key::up, 0},
    {"down", Key::down, 0},
    {"left", Key::left, 0},
    {"right", Key::right, 0},
    {"home", Key::home, 0},
    {"end", Key::end, 0},
    {"pgup", Key::pageUp, 0},
    {"pgdn", Key::pageDown, 0},
    {"ins", Key::insert, 0},
    {"del", Key::del, 0},
    {"f1", Key::f1, 0},
    {"f2", Key::f2, 0},
    {"f3", Key::f3, 0},
    {"f4", Key::f4, 0},
    {"f5", Key::f5, 0},
    {"f6", Key::f6, 0},
    {"f7", Key::f7, 0},
    {"f8", Key::f8, 0},
    {"f9", Key::f9, 0},
    {"f10", Key::f10, 0},
    {"f11", Key::f11, 0},
    {"f12", Key::f12, 0},
    {"close", Key::close, 0},
    {"enter", std::nullopt, enterCharacter},
    {"esc", std::nullopt, escapeCharacter},
    {"tab", std::nullopt, 9},
    {"backspace", std::nullopt, 8},
    {"space", std::nullopt, ' '},
    {"escape", std::nullopt, escapeCharacter},
    {"return", std::nullopt, enterCharacter},
};

bool isPrintable(char character) { return character > ' ' && character < 127; }

// Takes the Shift+, Ctrl+ and Alt+ prefixes off the front of word; what is left names the key.
std::string_view takeModifiers(std::string_view word, ScriptedKey& press) {
  for (;;) {
    const std::string prefix = lowerCase(word.substr(0, word.find('+') + 1));
    if (word.size() <= prefix.size()) return word;
    if (prefix == "shift+") {
      press.modifiers.shift = true;
    } else if (prefix == "ctrl+") {
      press.modifiers.ctrl = true;
    } else if (prefix == "alt+") {
      press.alt = true;
    } else {
      return word;
    }
    word.remove_prefix(prefix.size());
  }
}

std::optional<ScriptedKey> parseKeyName(std::string_view word) {
  ScriptedKey press;
  const std::string_view name = takeModifiers(word, press);
  if (name.size() == 1 && isPrintable(name[0])) {
    press.character = static_cast<std::uint8_t>(name[0]);
    return press;
  }
  const std::string lowered = lowerCase(name);
  for (const NamedKey& named : namedKeys) {
    if (named.name != lowered) continue;
    press.key = named.key;
    press.character = named.character;
    return press;
  }
  return std::nullopt;
}

bool isBlank(char character) { return character == ' ' || character == '\t' || character == '\r' || character == '\n'; }

}  // namespace

std::optional<std::vector<ScriptedKey>> parseKeyScript(std::string_view script, std::string& error) {
  std::vector<ScriptedKey> keys;
  std::size_t at = 0;
  while (at < script.size()) {
    if (isBlank(script[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < script.size() && !isBlank(script[end])) ++end;
    const std::string_view word = script.substr(at, end - at);
    const auto press = parseKeyName(word);
    if (!press) {
      error = "unknown key name \"" + std::string(word) + "\"";
      return std::nullopt;
    }
    keys.push_back(*press);
    at = end;
  }
  return keys;
}

std::optional<KeyCode> keyCodeOf(const ScriptedKey& press) {
  if (press.alt) return std::nullopt;
  if (press.key) return extendedKeyCode(*press.key, press.modifiers);
  const std::uint8_t letter = press.character & ~0x20;
  if (press.modifiers.ctrl && letter >= 'A' && letter <= 'Z') return letter - 'A' + 1;
  return press.character;
}

}  // namespace quillfex
