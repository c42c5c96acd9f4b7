#include "readers/disk_sector.h"

#include <cstdio>

#include "text/text.h"

namespace quillfex {

namespace {

constexpr std::size_t signaturePosition = 440;

// The byte as two hexadecimal digits, leading zero kept: value + 256 always has three.
std::string twoDigitHex(std::uint8_t byte) {
  char digits[4];
  std::snprintf(digits, sizeof digits, "%X", byte + 256);
  return rightPart(digits, 2);
}

}  // namespace

std::string diskSignatureText(std::span<const std::uint8_t, sectorSize> sector) {
  std::string text = twoDigitHex(sector[signaturePosition]);
  for (std::size_t i = 1; i < 4; ++i) {
    text += ',';
    text += twoDigitHex(sector[signaturePosition + i]);
  }
  return lowerCase(text);
}

}  // namespace quillfex
