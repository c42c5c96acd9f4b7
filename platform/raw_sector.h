#pragma once
// Reading one sector of a physical disk.

#include <array>
#include <cstdint>

#include "platform/os.h"

namespace quillfex {

// readSector's status when the disk did not open: no administrator rights, or no such disk.
inline constexpr std::uint32_t diskDidNotOpen = 6;

struct SectorOffset {
  std::uint32_t low;   // low 32 bits of the byte offset
  std::uint32_t high;  // high 32 bits
};

// The byte offset of a sector number given as two 32-bit halves, as two 32-bit halves.
SectorOffset sectorOffset(std::uint32_t sectorLow, std::uint32_t sectorHigh);

struct SectorRead {
  std::uint32_t status = 0;  // 0 after a good read, diskDidNotOpen, another code when positioning or reading failed
  std::array<std::uint8_t, sectorSize> bytes{};  // the sector, after a good read
};

// Reads 512 bytes of physical disk `disk` (0 to 3) at the sector.
SectorRead readSector(Os& os, std::int32_t disk, std::int32_t sectorLow, std::int32_t sectorHigh);

}  // namespace quillfex
