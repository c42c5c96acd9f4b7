#include "readers/disk_sector.h"

#include <cstdio>
#include <string>

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

SectorOffset sectorOffset(std::uint32_t sectorLow, std::uint32_t sectorHigh) {
  return {sectorLow * 512u, sectorHigh * 512u + (sectorLow >> 23)};
}

void readSector(Context& context, std::int32_t disk, std::int32_t sectorLow, std::int32_t sectorHigh) {
  const SectorOffset offset =
      sectorOffset(static_cast<std::uint32_t>(sectorLow), static_cast<std::uint32_t>(sectorHigh));
  const std::string devicePath = "\\\\.\\PhysicalDrive" + std::to_string(disk);
  context.state.lastStatus = static_cast<std::int32_t>(
      context.os.readRawSector(devicePath, offset.low, offset.high, context.state.sectorBuffer));
}

std::string diskSignatureTextOf(std::span<const std::uint8_t, sectorSize> sector) {
  std::string text = twoDigitHex(sector[signaturePosition]);
  for (std::size_t i = 1; i < 4; ++i) {
    text += ',';
    text += twoDigitHex(sector[signaturePosition + i]);
  }
  return lowerCase(text);
}

void diskSignatureText(Context& context) { context.state.lineBuffer = diskSignatureTextOf(context.state.sectorBuffer); }

}  // namespace quillfex
