#include "winsim/replica/sector_zero.h"

#include <algorithm>
#include <limits>
#include <span>

#include "readers/disk_sector.h"

namespace winsim {

namespace {

constexpr std::size_t tableAt = 0x1BE;
constexpr std::size_t entrySize = 16;

std::uint32_t littleEndian32(const std::uint8_t* at) {
  return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}

}  // namespace

bool startsAnMbrSector(std::uint64_t offset) {
  return offset % quillfex::sectorSize == 0 &&
         offset / quillfex::sectorSize <= std::numeric_limits<decltype(TableEntry::firstSector)>::max();
}

std::optional<SectorZero> readSectorZero(std::string_view bytes) {
  if (bytes.size() != quillfex::sectorSize) return std::nullopt;
  std::array<std::uint8_t, quillfex::sectorSize> sector{};
  std::copy(bytes.begin(), bytes.end(), sector.begin());
  SectorZero read;
  read.signature = quillfex::diskSignatureText(sector);
  std::erase(read.signature, ',');
  read.bootSignature = sector[510] == 0x55 && sector[511] == 0xAA;
  if (!read.bootSignature) return read;
  for (int slot = 1; slot <= 4; ++slot) {
    const std::uint8_t* entry = sector.data() + tableAt + entrySize * static_cast<std::size_t>(slot - 1);
    if (entry[4] == 0) continue;
    read.used.push_back({slot, entry[0] == 0x80, entry[4], littleEndian32(entry + 8), littleEndian32(entry + 12)});
  }
  return read;
}

}  // namespace winsim
