#pragma once
// Sector 0 of an MBR disk as a capture holds it: the disk signature (bytes 440 to 443) and the four entries
// of the partition table at 0x1BE, each a start and a length in 512-byte sectors.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

struct TableEntry {
  int slot = 0;  // 1 to 4, its place in the table
  bool active = false;
  std::uint8_t type = 0;
  std::uint32_t firstSector = 0;
  std::uint32_t sectorCount = 0;

  std::uint64_t offset() const { return std::uint64_t{firstSector} * 512; }  // bytes
  std::uint64_t size() const { return std::uint64_t{sectorCount} * 512; }
  bool isExtended() const { return type == 0x05 || type == 0x0F || type == 0x85; }
  bool isGptProtective() const { return type == 0xEE; }
};

struct SectorZero {
  std::string signature;         // "12ab0cff", as a machine description writes it
  bool bootSignature = false;    // 55 AA at 510: the partition table is there to read
  std::vector<TableEntry> used;  // the entries of a type other than 0, in table order
};

// Whether a partition of an MBR disk can start at the byte: on a whole sector whose number a table entry holds.
bool startsAnMbrSector(std::uint64_t offset);

// nullopt when the bytes are not one 512-byte sector.
std::optional<SectorZero> readSectorZero(std::string_view bytes);

}  // namespace winsim
