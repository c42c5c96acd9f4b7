// SDL key presses and text input against the codes the Windows window queues for the same presses.

#include "screen/drivers/sdl_keys.h"

#include <SDL_keyboard.h>
#include <gtest/gtest.h>

namespace quillfex {
namespace {

constexpr KeyCode none = 0;
constexpr Uint16 shift = KMOD_LSHIFT;
constexpr Uint16 ctrl = KMOD_RCTRL;
constexpr Uint16 alt = KMOD_LALT;
constexpr Uint16 numLock = KMOD_NUM;

KeyCode codeOf(SDL_Keycode key, Uint16 modifiers) { return keyCodeOfSdlKey(key, modifiers).value_or(none); }

struct KeyRow {
  SDL_Keycode key;
  int alone, withShift, withCtrl;  // the second character pollKey returns; 0: nothing
};

TEST(SdlKeysTest, EveryKeyOfTheExtendedTableWithEachModifier) {
  const KeyRow table[] = {
      {SDLK_UP, 0x48, 0x48, 0x8D},     {SDLK_DOWN, 0x50, 0x50, 0x91},
      {SDLK_LEFT, 0x4B, 0x4B, 0x73},   {SDLK_RIGHT, 0x4D, 0x4D, 0x74},
      {SDLK_HOME, 0x47, 0x47, 0x77},   {SDLK_END, 0x4F, 0x4F, 0x75},
      {SDLK_PAGEUP, 0x49, 0x49, 0x84}, {SDLK_PAGEDOWN, 0x51, 0x51, 0x76},
      {SDLK_INSERT, 0x52, 0x52, 0x92}, {SDLK_DELETE, 0x53, 0x53, 0x93},
      {SDLK_F1, 0x3B, 0x54, 0x5E},     {SDLK_F2, 0x3C, 0x55, 0x5F},
      {SDLK_F3, 0x3D, 0x56, 0x60},     {SDLK_F4, 0x3E, 0x57, 0x61},
      {SDLK_F5, 0x3F, 0x58, 0x62},     {SDLK_F6, 0x40, 0x59, 0x63},
      {SDLK_F7, 0x41, 0x5A, 0x64},     {SDLK_F8, 0x42, 0x5B, 0x65},
      {SDLK_F9, 0x43, 0x5C, 0x66},     {SDLK_F10, 0, 0, 0},
      {SDLK_F11, 0x85, 0x87, 0x89},    {SDLK_F12, 0x86, 0x88, 0x8A},
  };
  const auto expected = [](int second) { return second == 0 ? none : extendedKey(second); };
  for (const KeyRow& row : table) {
    const char* name = SDL_GetKeyName(row.key);
    EXPECT_EQ(codeOf(row.key, KMOD_NONE), expected(row.alone)) << name;
    EXPECT_EQ(codeOf(row.key, shift), expected(row.withShift)) << name << " with Shift";
    EXPECT_EQ(codeOf(row.key, ctrl), expected(row.withCtrl)) << name << " with Ctrl";
    EXPECT_EQ(codeOf(row.key, shift | ctrl), none) << name << " with Shift and Ctrl";
    EXPECT_EQ(codeOf(row.key, alt), none) << name << " with Alt";
    EXPECT_EQ(codeOf(row.key, numLock), expected(row.alone)) << name << " with Num Lock on";
  }
}

TEST(SdlKeysTest, KeypadIsTheCursorBlockOnlyWithNumLockOffAndWithoutShift) {
  const KeyRow table[] = {
      {SDLK_KP_8, 0x48, 0, 0x8D},      {SDLK_KP_2, 0x50, 0, 0x91}, {SDLK_KP_4, 0x4B, 0, 0x73},
      {SDLK_KP_6, 0x4D, 0, 0x74},      {SDLK_KP_7, 0x47, 0, 0x77}, {SDLK_KP_1, 0x4F, 0, 0x75},
      {SDLK_KP_9, 0x49, 0, 0x84},      {SDLK_KP_3, 0x51, 0, 0x76}, {SDLK_KP_0, 0x52, 0, 0x92},
      {SDLK_KP_PERIOD, 0x53, 0, 0x93}, {SDLK_KP_5, 0, 0, 0},
  };
  const auto expected = [](int second) { return second == 0 ? none : extendedKey(second); };
  for (const KeyRow& row : table) {
    const char* name = SDL_GetKeyName(row.key);
    EXPECT_EQ(codeOf(row.key, KMOD_NONE), expected(row.alone)) << name;
    EXPECT_EQ(codeOf(row.key, shift), none) << name << " with Shift";
    EXPECT_EQ(codeOf(row.key, ctrl), expected(row.withCtrl)) << name << " with Ctrl";
    EXPECT_EQ(codeOf(row.key, numLock), none) << name << " with Num Lock on types a digit";
    EXPECT_EQ(codeOf(row.key, alt), none) << name << " with Alt";
  }
}

TEST(SdlKeysTest, KeysThatSdlTypesNoTextForAndKeysWhoseTextComesSeparately) {
  struct Row {
    SDL_Keycode key;
    Uint16 modifiers;
    KeyCode code;
  };
  const Row table[] = {
      {SDLK_RETURN, KMOD_NONE, 13}, {SDLK_RETURN, shift, 13},
      {SDLK_RETURN, ctrl, 10},      {SDLK_KP_ENTER, numLock, 13},
      {SDLK_ESCAPE, shift, 27},     {SDLK_BACKSPACE, KMOD_NONE, 8},
      {SDLK_BACKSPACE, ctrl, 127},  {SDLK_TAB, shift, 9},
      {SDLK_TAB, ctrl, none},       {SDLK_a, ctrl, 1},
      {SDLK_z, ctrl | shift, 26},   {SDLK_LEFTBRACKET, ctrl, 27},
      {SDLK_BACKSLASH, ctrl, 28},   {SDLK_RIGHTBRACKET, ctrl, 29},
      {SDLK_RETURN, alt, none},     {SDLK_a, alt | ctrl, none},
      {SDLK_a, shift, none},        {SDLK_SPACE, KMOD_NONE, none},
      {SDLK_1, ctrl, none},         {SDLK_KP_PLUS, KMOD_NONE, none},
      {SDLK_LCTRL, ctrl, none},
  };
  for (const Row& row : table) {
    EXPECT_EQ(codeOf(row.key, row.modifiers), row.code) << SDL_GetKeyName(row.key) << ", modifiers " << row.modifiers;
  }
}

TEST(SdlKeysTest, TextInCodePage437) {
  struct Row {
    const char* utf8;
    std::vector<KeyCode> codes;
  };
  const Row table[] = {
      {"Zx 9", {'Z', 'x', ' ', '9'}}, {"\xC3\xA9", {0x82}}, {"\xE2\x96\x91", {0xB0}}, {"\xE2\x82\xAC", {'?'}},
      {"\xF0\x9F\x98\x80", {'?'}},    {"\xC3", {'?'}},      {"\x80!", {'?', '!'}},    {"", {}},
  };
  for (const Row& row : table) EXPECT_EQ(keyCodesOfSdlText(row.utf8), row.codes) << row.utf8;
}

}  // namespace
}  // namespace quillfex
