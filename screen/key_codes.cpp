#include "screen/key_codes.h"

#include <array>

namespace quillfex {
namespace {

struct KeyCodes {
  int alone, withShift, withCtrl;  // the second character pollKey returns; 0: nothing
};

// In the order of Key.
constexpr std::array<KeyCodes, 23> keyTable = {{
    {upArrowCode, upArrowCode, 0x8D},
    {downArrowCode, downArrowCode, 0x91},
    {0x4B, 0x4B, 0x73},
    {0x4D, 0x4D, 0x74},
    {0x47, 0x47, 0x77},
    {0x4F, 0x4F, 0x75},
    {0x49, 0x49, 0x84},
    {0x51, 0x51, 0x76},
    {0x52, 0x52, 0x92},
    {0x53, 0x53, 0x93},
    {0x3B, 0x54, 0x5E},
    {0x3C, 0x55, 0x5F},
    {0x3D, 0x56, 0x60},
    {0x3E, 0x57, 0x61},
    {0x3F, 0x58, 0x62},
    {0x40, 0x59, 0x63},
    {0x41, 0x5A, 0x64},
    {0x42, 0x5B, 0x65},
    {0x43, 0x5C, 0x66},
    {0, 0, 0},
    {0x85, 0x87, 0x89},
    {0x86, 0x88, 0x8A},
    {0x6B, 0, 0},
}};
static_assert(keyTable.size() == static_cast<std::size_t>(Key::close) + 1);

}  // namespace

std::optional<KeyCode> extendedKeyCode(Key key, KeyModifiers modifiers) {
  if (modifiers.shift && modifiers.ctrl) return std::nullopt;
  const KeyCodes& codes = keyTable[static_cast<std::size_t>(key)];
  const int second = modifiers.ctrl ? codes.withCtrl : modifiers.shift ? codes.withShift : codes.alone;
  if (second == 0) return std::nullopt;
  return extendedKey(second);
}

}  // namespace quillfex
