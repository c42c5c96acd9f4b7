#include "platform/raw_sector.h"

#include <gtest/gtest.h>

#include "fake_os.h"

namespace quillfex {
namespace {

TEST(RawSector, OffsetHalvesOfASectorNumber) {
  struct Case {
    std::uint32_t sectorLow, sectorHigh, low, high;
  } cases[] = {
      {0, 0, 0, 0},
      {1, 0, 512, 0},
      {8388607, 0, 0xFFFFFE00u, 0},
      {8388608, 0, 0, 1},  // 2^23 sectors are 2^32 bytes
      {8388609, 0, 512, 1},
      {0xFFFFFFFFu, 0, 0xFFFFFE00u, 511},
      {0, 1, 0, 512},
  };
  for (const auto& c : cases) {
    const SectorOffset offset = sectorOffset(c.sectorLow, c.sectorHigh);
    EXPECT_EQ(offset.low, c.low) << c.sectorLow;
    EXPECT_EQ(offset.high, c.high) << c.sectorLow;
  }
}

TEST(RawSector, NamesTheDeviceAndPassesTheHalves) {
  testing::FakeOs os;
  (void)readSector(os, 3, 8388608, 0);
  EXPECT_EQ(os.lastDevicePath, "\\\\.\\PhysicalDrive3");
  EXPECT_EQ(os.lastOffsetLow, 0u);
  EXPECT_EQ(os.lastOffsetHigh, 1u);
}

TEST(RawSector, TheStatusAndTheBytesOfEachRead) {
  testing::FakeOs os;
  std::string disk0(512, '\0');
  disk0[440] = '\x55';
  os.disks[0] = disk0;
  os.disks[1] = std::string(100, '\x55');
  struct Case {
    const char* what;
    bool elevated;
    int disk;
    std::uint32_t status;
    std::uint8_t byte440;
  } cases[] = {
      {"a good read", true, 0, 0, 0x55},
      {"no such disk", true, 3, diskDidNotOpen, 0},
      {"a short read", true, 1, 38, 0},
      {"no rights", false, 0, diskDidNotOpen, 0},
  };
  for (const auto& c : cases) {
    os.elevated = c.elevated;
    const SectorRead read = readSector(os, c.disk, 0, 0);
    EXPECT_EQ(read.status, c.status) << c.what;
    if (c.status == 0) {
      EXPECT_EQ(read.bytes[440], c.byte440) << c.what;
    }
  }
}

}  // namespace
}  // namespace quillfex
