#pragma once
// Reading one sector of a physical disk, and the MBR disk signature as text.

#include <cstdint>
#include <span>
#include <string>

#include "state/context.h"

namespace quillfex {

struct SectorOffset {
  std::uint32_t low;   // low 32 bits of the byte offset
  std::uint32_t high;  // high 32 bits
};

// The byte offset of a sector number given as two 32-bit halves, as two 32-bit halves.
SectorOffset sectorOffset(std::uint32_t sectorLow, std::uint32_t sectorHigh);

// Reads 512 bytes of disk (0 to 3) at the sector into sectorBuffer and leaves the outcome in lastStatus:
// 0 after a good read, 6 when the disk did not open (no administrator rights, no such disk; the buffer
// then keeps what it held), another non-zero code when positioning or reading failed.
void readSector(Context& context, std::int32_t disk, std::int32_t sectorLow, std::int32_t sectorHigh);

// The signature of a sector 0 (bytes 440 to 443 in disk order) as diskSignatureText forms it.
std::string diskSignatureTextOf(std::span<const std::uint8_t, sectorSize> sector);

// Leaves the signature of sectorBuffer (bytes 440 to 443 in disk order) in lineBuffer as 11 characters:
// four lower-case two-digit hexadecimal numbers joined by commas, such as "12,ab,0c,ff".
void diskSignatureText(Context& context);

}  // namespace quillfex
