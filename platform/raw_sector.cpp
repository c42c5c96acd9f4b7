#include "platform/raw_sector.h"

#include <string>

namespace quillfex {

SectorOffset sectorOffset(std::uint32_t sectorLow, std::uint32_t sectorHigh) {
  constexpr auto size = static_cast<std::uint32_t>(sectorSize);
  return {sectorLow * size, sectorHigh * size + (sectorLow >> 23)};
}

SectorRead readSector(Os& os, std::int32_t disk, std::int32_t sectorLow, std::int32_t sectorHigh) {
  const SectorOffset offset =
      sectorOffset(static_cast<std::uint32_t>(sectorLow), static_cast<std::uint32_t>(sectorHigh));
  const std::string devicePath = "\\\\.\\PhysicalDrive" + std::to_string(disk);
  SectorRead read;
  read.status = os.readRawSector(devicePath, offset.low, offset.high, read.bytes);
  return read;
}

}  // namespace quillfex
