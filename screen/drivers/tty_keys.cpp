#include "screen/drivers/tty_keys.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "screen/cp437.h"
#include "screen/key_codes.h"
#include "text/utf8.h"

namespace quillfex {
namespace {

constexpr char escape = '\x1B';
constexpr KeyCode backspaceKey = 8;
constexpr KeyCode tabKey = 9;

// One key taken from the front of the bytes.
struct Step {
  std::size_t length = 0;  // 0: the key has not fully arrived
  std::optional<KeyCode> code;
};

constexpr Step notYet{};

struct Modifiers {
  KeyModifiers keys;
  bool alt = false;  // Alt or Meta
};

// xterm's modifier parameter: 1, plus 1 for Shift, 2 for Alt, 4 for Ctrl, 8 for Meta.
Modifiers modifiersOf(int parameter) {
  const int bits = parameter > 1 ? parameter - 1 : 0;
  return {{(bits & 1) != 0, (bits & 4) != 0}, (bits & 10) != 0};
}

constexpr Modifiers shift{{true, false}};
constexpr Modifiers ctrl{{false, true}};

std::optional<KeyCode> codeOf(std::optional<Key> key, Modifiers modifiers) {
  if (!key || modifiers.alt) return std::nullopt;
  return extendedKeyCode(*key, modifiers.keys);
}

// The keys of ESC [ n ~.
std::optional<Key> keyOfNumber(int number) {
  static constexpr std::array<std::pair<int, Key>, 20> keys = {{
      {1, Key::home},     {2, Key::insert}, {3, Key::del},  {4, Key::end},  {5, Key::pageUp},
      {6, Key::pageDown}, {7, Key::home},   {8, Key::end},  {11, Key::f1},  {12, Key::f2},
      {13, Key::f3},      {14, Key::f4},    {15, Key::f5},  {17, Key::f6},  {18, Key::f7},
      {19, Key::f8},      {20, Key::f9},    {21, Key::f10}, {23, Key::f11}, {24, Key::f12},
  }};
  for (const auto& [code, key] : keys) {
    if (code == number) return key;
  }
  return std::nullopt;
}

// The keys of ESC [ ... letter and ESC O ... letter.
std::optional<Key> keyOfLetter(char letter) {
  static constexpr std::string_view letters = "ABCDHFPQRS";
  static constexpr std::array<Key, letters.size()> keys = {Key::up,  Key::down, Key::right, Key::left, Key::home,
                                                           Key::end, Key::f1,   Key::f2,    Key::f3,   Key::f4};
  const auto at = letters.find(letter);
  return at == std::string_view::npos ? std::nullopt : std::optional<Key>(keys[at]);
}

// rxvt's arrows with a modifier: lower-case final letters.
std::optional<Key> arrowOfLowerCase(char letter) {
  return letter >= 'a' && letter <= 'd' ? keyOfLetter(static_cast<char>(letter - 'a' + 'A')) : std::nullopt;
}

// The keypad in application mode types its characters, Enter included.
std::optional<KeyCode> keypadCharacter(char letter) {
  static constexpr std::string_view keypad = "*+,-./0123456789";  // ESC O j to ESC O y
  if (letter == 'M') return enterCharacter;
  if (letter == 'X') return '=';
  if (letter >= 'j' && letter <= 'y') return keypad[static_cast<std::size_t>(letter - 'j')];
  return std::nullopt;
}

bool isParameterByte(char byte) { return byte >= 0x30 && byte <= 0x3F; }
bool isIntermediateByte(char byte) { return byte >= 0x20 && byte <= 0x2F; }
bool isFinalByte(char byte) { return byte >= 0x40 && byte <= 0x7E; }

// "1;5" as {1, 5}; an empty field is 1, as xterm reads it. Private sequences (with < = > ?) give none.
std::optional<std::array<int, 2>> numbersOf(std::string_view parameters) {
  std::array<int, 2> numbers{1, 1};
  std::size_t field = 0;
  int value = -1;
  for (const char byte : parameters) {
    if (byte == ';') {
      if (field < numbers.size() && value >= 0) numbers[field] = value;
      ++field;
      value = -1;
    } else if (byte >= '0' && byte <= '9') {
      value = std::min(std::max(value, 0) * 10 + (byte - '0'), 9999);
    } else {
      return std::nullopt;
    }
  }
  if (field < numbers.size() && value >= 0) numbers[field] = value;
  return numbers;
}

std::optional<KeyCode> controlSequenceKey(std::string_view parameters, char final) {
  const auto numbers = numbersOf(parameters);
  if (!numbers) return std::nullopt;
  const auto [first, modifier] = *numbers;
  switch (final) {
    case '~':
      return codeOf(keyOfNumber(first), modifiersOf(modifier));
    case '$':
      return codeOf(keyOfNumber(first), shift);
    case '^':
      return codeOf(keyOfNumber(first), ctrl);
    case '@':
      return codeOf(keyOfNumber(first), Modifiers{{true, true}});
    case 'Z':
      return tabKey;  // Shift+Tab types a tab, as in a window
    default:
      break;
  }
  if (const auto arrow = arrowOfLowerCase(final)) return codeOf(arrow, shift);
  return codeOf(keyOfLetter(final), modifiersOf(modifier));
}

// ESC [ parameters intermediates final, and the Linux console's ESC [ [ A to ESC [ [ E for F1 to F5.
Step controlSequence(std::string_view bytes) {
  std::size_t at = 2;
  if (at < bytes.size() && bytes[at] == '[') {
    if (at + 1 >= bytes.size()) return notYet;
    const char letter = bytes[at + 1];
    const bool function = letter >= 'A' && letter <= 'E';
    return {at + 2, function ? codeOf(static_cast<Key>(static_cast<int>(Key::f1) + letter - 'A'), {}) : std::nullopt};
  }
  while (at < bytes.size() && isParameterByte(bytes[at])) ++at;
  const std::string_view parameters = bytes.substr(2, at - 2);
  // rxvt ends a shifted key with $, which would otherwise be an intermediate byte.
  if (at < bytes.size() && bytes[at] == '$') return {at + 1, controlSequenceKey(parameters, '$')};
  while (at < bytes.size() && isIntermediateByte(bytes[at])) ++at;
  if (at >= bytes.size()) return notYet;
  // A sequence broken off by another byte is dropped; that byte starts afresh.
  if (!isFinalByte(bytes[at])) return {at, std::nullopt};
  return {at + 1, controlSequenceKey(parameters, bytes[at])};
}

// ESC O, optionally a modifier, then a letter: cursor keys in application mode, F1 to F4, the keypad.
Step singleShiftSequence(std::string_view bytes) {
  std::size_t at = 2;
  while (at < bytes.size() && isParameterByte(bytes[at])) ++at;
  if (at >= bytes.size()) return notYet;
  const char final = bytes[at];
  if (!isFinalByte(final)) return {at, std::nullopt};
  const auto numbers = numbersOf(bytes.substr(2, at - 2));
  const int modifier = numbers ? std::max((*numbers)[0], (*numbers)[1]) : 1;
  if (const auto arrow = arrowOfLowerCase(final)) return {at + 1, codeOf(arrow, ctrl)};
  if (const auto character = keypadCharacter(final)) return {at + 1, character};
  return {at + 1, codeOf(keyOfLetter(final), modifiersOf(modifier))};
}

// A character of several UTF-8 bytes, in code page 437 as Windows converts a typed character.
Step utf8Character(std::string_view bytes, InputEnd end) {
  const std::size_t length = utf8LengthOf(static_cast<unsigned char>(bytes[0]));
  if (length != 0 && bytes.size() < length && end == InputEnd::mayContinue) return notYet;
  const auto character = utf8CharacterAt(bytes);
  if (!character) return {1, std::nullopt};
  return {character->length, cp437FromTypedCharacter(character->codePoint)};
}

// A key that does not start with Esc: a control character or a character.
Step characterKey(std::string_view bytes, InputEnd end) {
  const auto byte = static_cast<unsigned char>(bytes[0]);
  if (byte == 0x7F) return {1, backspaceKey};
  if (byte == 0) return {1, std::nullopt};  // Ctrl+Space: code 0 is no key
  if (byte < 0x80) return {1, byte};
  return utf8Character(bytes, end);
}

Step escapeSequence(std::string_view bytes, InputEnd end) {
  if (bytes.size() == 1) return end == InputEnd::final ? Step{1, escapeCharacter} : notYet;
  Step step;
  if (bytes[1] == '[') {
    step = controlSequence(bytes);
  } else if (bytes[1] == 'O') {
    step = singleShiftSequence(bytes);
  } else if (bytes[1] == escape) {
    return {1, escapeCharacter};  // Esc pressed again: the first is a key of its own
  } else {
    const Step held = characterKey(bytes.substr(1), end);
    step = {held.length == 0 ? 0 : held.length + 1, std::nullopt};  // Alt with a character
  }
  // What has come of a sequence that will not go on is Alt with [ or O and more: nothing.
  if (step.length == 0 && end == InputEnd::final) return {bytes.size(), std::nullopt};
  return step;
}

}  // namespace

TerminalKeys parseTerminalKeys(std::string_view bytes, InputEnd end) {
  TerminalKeys keys;
  while (keys.consumed < bytes.size()) {
    const std::string_view rest = bytes.substr(keys.consumed);
    const Step step = rest[0] == escape ? escapeSequence(rest, end) : characterKey(rest, end);
    if (step.length == 0) break;
    if (step.code) keys.codes.push_back(*step.code);
    keys.consumed += step.length;
  }
  return keys;
}

}  // namespace quillfex
