// The title-band gradient on both bands, through a hand-made steps store and through the program's own.

#include "screen/gradient.h"

#include <gtest/gtest.h>

#include "data/data_image.h"

namespace quillfex {
namespace {

const ItemRecord handMadeSteps[] = {
    {2, "10"},
    {1, "8"},
    {1, "6"},
    {1, "5"},
    {1, "4"},
    {1, "3"},
    {1, "2"},
    {1, "1"},
    {1, "2"},
    {1, "3"},
    {1, "4"},
    {1, "5"},
    {1, "6"},
    {1, "8"},
    {2, "10"},
    {1, "0"},
    {linkLength, nullptr},
};

constexpr Pixel rowColours[16] = {
    0xFF4EBC, 0xF544B2, 0xED3CAA, 0xE736A4, 0xE2319F, 0xDE2D9B, 0xDB2A98, 0xD92896,
    0xD82795, 0xD62593, 0xD32290, 0xCF1E8C, 0xCA1987, 0xC41381, 0xBC0B79, 0xB2016F,
};

class GradientTest : public ::testing::TestWithParam<const ItemRecord*> {};

// Band background everywhere, with white pixels (either top byte), an almost white one, and white just left
// of the painted columns; the band is painted twice, which must change nothing.
TEST_P(GradientTest, EveryPixelButWhiteTakesItsRowsColour) {
  for (const int top : {0, 272}) {
    Screen screen;
    ItemCursor cursor;
    screen.setColour(0xFFFFFF, 0xD827BC);
    screen.clearScreen();
    for (int y = top; y < top + 16; ++y) {
      for (auto [x, value] : {std::pair{100, 0x00FFFFFFu}, {101, 0xFFFFFFFFu}, {102, 0x00FFFFFEu}, {0, 0x00FFFFFFu}}) {
        screen.writePixel(x, y, value);
      }
    }
    for (int time = 0; time < 2; ++time) {
      paintGradientBand(screen, cursor, GetParam(), top, 0xFF, 0x4E, 0xBC, 1, 639, 0xFFFFFF);
    }
    for (int offset = 0; offset < 16; ++offset) {
      const int y = top + offset;
      const Pixel expected = 0xFF000000 | rowColours[offset];
      for (int x : {1, 102, 639}) EXPECT_EQ(screen.readPixel(x, y), expected) << x << "," << y;
      EXPECT_EQ(screen.readPixel(100, y), 0x00FFFFFFu) << y;
      EXPECT_EQ(screen.readPixel(101, y), 0xFFFFFFFFu) << y;
      EXPECT_EQ(screen.readPixel(0, y), 0x00FFFFFFu) << y;
    }
    const int outside = top == 0 ? 16 : 271;
    EXPECT_EQ(screen.readPixel(1, outside), 0x00D827BCu) << "pixel row " << outside;
  }
}

INSTANTIATE_TEST_SUITE_P(Stores, GradientTest, ::testing::Values(handMadeSteps, gradientStepsStore),
                         [](const auto& info) { return info.index == 0 ? "handMade" : "program"; });

}  // namespace
}  // namespace quillfex
