#include "readers/disk_sector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace quillfex {
namespace {

TEST(DiskSector, SignatureTextOfChosenBytes) {
  struct Case {
    std::array<std::uint8_t, 4> bytes;
    std::string text;
  } cases[] = {
      {{0x12, 0xAB, 0x0C, 0xFF}, "12,ab,0c,ff"},
      {{0x00, 0x00, 0x00, 0x00}, "00,00,00,00"},
      {{0x01, 0x80, 0xA0, 0x0F}, "01,80,a0,0f"},
  };
  for (const auto& c : cases) {
    std::array<std::uint8_t, sectorSize> sector{};
    std::copy(c.bytes.begin(), c.bytes.end(), sector.begin() + 440);
    EXPECT_EQ(diskSignatureText(sector), c.text);
  }
}

}  // namespace
}  // namespace quillfex
