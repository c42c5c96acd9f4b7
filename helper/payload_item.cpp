#include "helper/payload_item.h"

#include <array>
#include <cstdint>

#include "helper/payload_item_blocks.h"

namespace quillfex {

namespace {

constexpr std::int8_t notHexDigit = -1;

constexpr std::array<std::int8_t, 256> hexDigitValues = [] {
  std::array<std::int8_t, 256> values{};
  values.fill(notHexDigit);
  for (int digit = 0; digit < 10; ++digit) values['0' + digit] = static_cast<std::int8_t>(digit);
  for (int digit = 0; digit < 6; ++digit) {
    values['a' + digit] = static_cast<std::int8_t>(10 + digit);
    values['A' + digit] = static_cast<std::int8_t>(10 + digit);
  }
  return values;
}();

// The value of the (up to two) digits that follow the blank at `blank`.
char escapedByte(std::string_view item, std::size_t blank) {
  int value = 0;
  for (std::size_t at = blank + 1; at < item.size() && at <= blank + 2; ++at) {
    const int digit = hexDigitValues[static_cast<unsigned char>(item[at])];
    if (digit == notHexDigit) break;
    value = value * 16 + digit;
  }
  return static_cast<char>(value);
}

// The rules one character at a time: right for every item, but a branch per character.
std::size_t decodeCharacterByCharacter(std::string_view item, char* into) {
  char* out = into;
  std::size_t at = 0;
  while (at < item.size()) {
    if (item[at] == ' ') {
      *out++ = escapedByte(item, at);
      at += 3;
    } else {
      *out++ = item[at++];
    }
  }
  return static_cast<std::size_t>(out - into);
}

}  // namespace

std::size_t decodePayloadItem(std::string_view item, char* into) {
  if (const auto written = decodeItemInBlocks(item, into)) return *written;
  return decodeCharacterByCharacter(item, into);
}

}  // namespace quillfex
