#include "helper/payload_item.h"

#include <array>
#include <cstdint>

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

// The byte that a blank followed by `first` and `second` stands for. Escapes are most of an executable's
// units, and a loop over the two digits, with its tests, slows the whole extraction by a quarter.
char escapedByte(unsigned char first, unsigned char second) {
  const int high = hexDigitValues[first];
  const int low = hexDigitValues[second];
  if (high == notHexDigit) return 0;
  return static_cast<char>(low == notHexDigit ? high : high * 16 + low);
}

}  // namespace

std::size_t decodePayloadItem(std::string_view item, char* into) {
  char* out = into;
  std::size_t at = 0;
  // While an escape's two characters are inside the item, no position needs a bounds check.
  while (at + 2 < item.size()) {
    if (item[at] != ' ') {
      *out++ = item[at++];
    } else {
      *out++ = escapedByte(item[at + 1], item[at + 2]);
      at += 3;
    }
  }
  for (; at < item.size(); ++at) {
    if (item[at] != ' ') {
      *out++ = item[at];
      continue;
    }
    // A NUL is no digit: it stands in for the character past the item's end.
    const unsigned char first = at + 1 < item.size() ? item[at + 1] : '\0';
    *out++ = escapedByte(first, '\0');
    break;
  }
  return static_cast<std::size_t>(out - into);
}

}  // namespace quillfex
