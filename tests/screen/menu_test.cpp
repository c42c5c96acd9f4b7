// The menu screen: highlight rows, repainting, where it leaves cursor and colours, and the whole screen
// against tests/data/menu.png. QUILLFEX_UPDATE_GOLDEN=1 rewrites that file from the current drawing.

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdlib>
#include <memory>

#include "app/messages.h"
#include "data/data_image.h"
#include "screen/menu_screen.h"
#include "screen/png_file.h"
#include "screen_support.h"

namespace quillfex {
namespace {

using testing::rowColour;

const std::string entries[] = {messages::optionOne,
                               "  - The Windows bootmanager integrate again" + std::string(37, ' ')};

// Column 80 of every help and entry row is a blank, so its pixels show the row's background.
Pixel rowBackground(const Screen& screen, int textRow) { return screen.readPixel(639, (textRow - 1) * 16 + 8); }

class MenuTest : public ::testing::Test {
 protected:
  void draw(std::size_t selected) { drawMenu(screen, entries, selected, gradientStepsStore); }

  Screen screen;
};

TEST_F(MenuTest, TheSelectedEntryIsHighlighted) {
  struct Case {
    std::size_t selected;
    Pixel row13, row15;
  };
  for (const Case& c : {Case{0, highlight, bodyBackground}, Case{1, bodyBackground, highlight}}) {
    draw(c.selected);
    EXPECT_EQ(rowBackground(screen, 13), c.row13) << "entry " << c.selected;
    EXPECT_EQ(rowBackground(screen, 15), c.row15) << "entry " << c.selected;
    for (int row : {2, 12, 14, 16, 17}) EXPECT_EQ(rowBackground(screen, row), bodyBackground) << "row " << row;
  }
}

TEST_F(MenuTest, DrawingTwiceGivesTheSameScreen) {
  draw(0);
  const Surface once = testing::surfaceOf(screen);
  draw(0);
  const Surface twice = testing::surfaceOf(screen);
  for (int y = 0; y < surfaceHeight; ++y) {
    ASSERT_TRUE(std::equal(once.row(y), once.row(y) + surfaceWidth, twice.row(y))) << "pixel row " << y;
  }
}

TEST_F(MenuTest, EndsOnRowElevenInvisibleWithBothBandsInPlace) {
  draw(0);
  EXPECT_EQ(screen.cursor(), (TextCursor{11, 1}));
  EXPECT_FALSE(screen.scrollPending());
  EXPECT_EQ(rowColour(screen, 1), 0xFFFF4EBCu);
  EXPECT_EQ(screen.readPixel(0, 272), 0xFFFF4EBCu);
  EXPECT_EQ(screen.readPixel(0, 287), 0xFFB2016Fu);
  screen.printText("\xDB", LineEnd::no);  // a full block in the foreground colour
  EXPECT_EQ(rowColour(screen, 11), bodyBackground);
}

TEST_F(MenuTest, MatchesTheGoldenPicture) {
  draw(0);
  const Surface drawn = testing::surfaceOf(screen);
  const std::string golden = QUILLFEX_TEST_DATA "/menu.png";
  if (std::getenv("QUILLFEX_UPDATE_GOLDEN")) {
    ASSERT_TRUE(savePng(drawn, golden));
  }

  int width = 0, height = 0, channels = 0;
  const std::unique_ptr<unsigned char, void (*)(void*)> picture(
      stbi_load(golden.c_str(), &width, &height, &channels, 3), stbi_image_free);
  ASSERT_TRUE(picture) << golden;
  ASSERT_EQ(width, surfaceWidth);
  ASSERT_EQ(height, surfaceHeight);
  int differing = 0;
  for (int y = 0; y < surfaceHeight; ++y) {
    for (int x = 0; x < surfaceWidth; ++x) {
      const unsigned char* rgb = picture.get() + (y * surfaceWidth + x) * 3;
      const Pixel expected = Pixel(rgb[0]) << 16 | Pixel(rgb[1]) << 8 | rgb[2];
      differing += (drawn.row(y)[x] & 0xFFFFFF) != expected;
    }
  }
  EXPECT_EQ(differing, 0) << "pixels that differ from " << golden;
}

}  // namespace
}  // namespace quillfex
