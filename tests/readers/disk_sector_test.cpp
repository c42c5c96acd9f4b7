#include "readers/disk_sector.h"

#include <gtest/gtest.h>

#include "fake_os.h"
#include "screen/screen.h"

namespace quillfex {
namespace {

TEST(DiskSector, OffsetHalvesOfASectorNumber) {
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

class ReadSectorTest : public ::testing::Test {
 protected:
  testing::FakeOs os;
  ProgramState state;
  Screen screen;
  Context context{state, os, screen};
};

TEST_F(ReadSectorTest, NamesTheDeviceAndPassesTheHalves) {
  readSector(context, 3, 8388608, 0);
  EXPECT_EQ(os.lastDevicePath, "\\\\.\\PhysicalDrive3");
  EXPECT_EQ(os.lastOffsetLow, 0u);
  EXPECT_EQ(os.lastOffsetHigh, 1u);
}

TEST_F(ReadSectorTest, LeavesTheStatusAndKeepsTheBufferWhenTheDiskDoesNotOpen) {
  std::string disk0(512, '\0');
  disk0[440] = '\x55';
  os.disks[0] = disk0;
  readSector(context, 0, 0, 0);
  EXPECT_EQ(state.lastStatus, 0);
  EXPECT_EQ(state.sectorBuffer[440], 0x55);

  readSector(context, 3, 0, 0);
  EXPECT_EQ(state.lastStatus, 6);
  EXPECT_EQ(state.sectorBuffer[440], 0x55);

  os.elevated = false;
  readSector(context, 0, 0, 0);
  EXPECT_EQ(state.lastStatus, 6);
}

TEST_F(ReadSectorTest, SignatureTextOfChosenBytes) {
  struct Case {
    std::array<std::uint8_t, 4> bytes;
    std::string text;
  } cases[] = {
      {{0x12, 0xAB, 0x0C, 0xFF}, "12,ab,0c,ff"},
      {{0x00, 0x00, 0x00, 0x00}, "00,00,00,00"},
      {{0x01, 0x80, 0xA0, 0x0F}, "01,80,a0,0f"},
  };
  for (const auto& c : cases) {
    std::copy(c.bytes.begin(), c.bytes.end(), state.sectorBuffer.begin() + 440);
    diskSignatureText(context);
    EXPECT_EQ(state.lineBuffer, c.text);
  }
}

}  // namespace
}  // namespace quillfex
