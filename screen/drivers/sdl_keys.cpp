#include "screen/drivers/sdl_keys.h"

#include "screen/cp437.h"
#include "screen/key_codes.h"

namespace quillfex {
namespace {

struct KeyOfSdl {
  SDL_Keycode sdlKey;
  Key key;
};

constexpr KeyOfSdl cursorBlockKeys[] = {
    {SDLK_UP, Key::up},         {SDLK_DOWN, Key::down},  {SDLK_LEFT, Key::left},     {SDLK_RIGHT, Key::right},
    {SDLK_HOME, Key::home},     {SDLK_END, Key::end},    {SDLK_PAGEUP, Key::pageUp}, {SDLK_PAGEDOWN, Key::pageDown},
    {SDLK_INSERT, Key::insert}, {SDLK_DELETE, Key::del}, {SDLK_F1, Key::f1},         {SDLK_F2, Key::f2},
    {SDLK_F3, Key::f3},         {SDLK_F4, Key::f4},      {SDLK_F5, Key::f5},         {SDLK_F6, Key::f6},
    {SDLK_F7, Key::f7},         {SDLK_F8, Key::f8},      {SDLK_F9, Key::f9},         {SDLK_F10, Key::f10},
    {SDLK_F11, Key::f11},       {SDLK_F12, Key::f12},
};

// The keypad's cursor keys, which type digits instead while Num Lock is on.
constexpr KeyOfSdl keypadKeys[] = {
    {SDLK_KP_8, Key::up},     {SDLK_KP_2, Key::down},     {SDLK_KP_4, Key::left},   {SDLK_KP_6, Key::right},
    {SDLK_KP_7, Key::home},   {SDLK_KP_1, Key::end},      {SDLK_KP_9, Key::pageUp}, {SDLK_KP_3, Key::pageDown},
    {SDLK_KP_0, Key::insert}, {SDLK_KP_PERIOD, Key::del},
};

struct CharacterOfSdl {
  SDL_Keycode sdlKey;
  KeyCode alone;     // with or without Shift
  KeyCode withCtrl;  // 0: nothing
};

// SDL types no text for these; Windows sends them as characters.
constexpr CharacterOfSdl characterKeys[] = {
    {SDLK_RETURN, enterCharacter, 10},
    {SDLK_KP_ENTER, enterCharacter, 10},
    {SDLK_ESCAPE, escapeCharacter, escapeCharacter},
    {SDLK_BACKSPACE, 8, 127},
    {SDLK_TAB, 9, 0},
    {SDLK_LEFTBRACKET, 0, escapeCharacter},  // Ctrl+[ types Escape's character
    {SDLK_BACKSLASH, 0, 28},
    {SDLK_RIGHTBRACKET, 0, 29},
};

template <class Row, std::size_t rowCount>
const Row* findSdlKey(const Row (&table)[rowCount], SDL_Keycode sdlKey) {
  for (const Row& row : table) {
    if (row.sdlKey == sdlKey) return &row;
  }
  return nullptr;
}

KeyModifiers modifiersOf(Uint16 modifiers) { return {(modifiers & KMOD_SHIFT) != 0, (modifiers & KMOD_CTRL) != 0}; }

std::optional<KeyCode> characterOf(const CharacterOfSdl& row, Uint16 modifiers) {
  const KeyCode code = (modifiers & KMOD_CTRL) ? row.withCtrl : row.alone;
  if (code == 0) return std::nullopt;
  return code;
}

// Decodes one UTF-8 sequence at the front of text and drops it; a malformed byte counts as one character.
char32_t takeCodePoint(std::string_view& text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || length > text.size()) {
    text.remove_prefix(1);
    return U'?';
  }
  char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t at = 1; at < length; ++at)
    codePoint = codePoint << 6 | (static_cast<unsigned char>(text[at]) & 0x3F);
  text.remove_prefix(length);
  return codePoint;
}

}  // namespace

std::optional<KeyCode> keyCodeOfSdlKey(SDL_Keycode key, Uint16 modifiers) {
  if (modifiers & KMOD_ALT) return std::nullopt;
  if (const auto* row = findSdlKey(cursorBlockKeys, key)) return extendedKeyCode(row->key, modifiersOf(modifiers));
  if (const auto* row = findSdlKey(keypadKeys, key)) {
    if ((modifiers & KMOD_NUM) || (modifiers & KMOD_SHIFT)) return std::nullopt;
    return extendedKeyCode(row->key, modifiersOf(modifiers));
  }
  if (const auto* row = findSdlKey(characterKeys, key)) return characterOf(*row, modifiers);
  if ((modifiers & KMOD_CTRL) && key >= SDLK_a && key <= SDLK_z) return key - SDLK_a + 1;
  return std::nullopt;
}

bool typesText(Uint16 modifiers) {
  if (modifiers & KMOD_ALT) return false;
  return !(modifiers & KMOD_CTRL) || (modifiers & KMOD_MODE);
}

std::vector<KeyCode> keyCodesOfSdlText(std::string_view utf8) {
  std::vector<KeyCode> codes;
  while (!utf8.empty()) {
    if (const std::uint8_t code = cp437FromTypedCharacter(takeCodePoint(utf8))) codes.push_back(code);
  }
  return codes;
}

}  // namespace quillfex
