// Printing on the text grid, the held-back scroll, locate and pixels, read back from the surface.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/screen.h"
#include "screen_support.h"

namespace quillfex {
namespace {

using testing::rowColour;

const std::string fullRow(80, ' ');
const std::string fullBlocks(80, '\xDB');  // every pixel of a full block shows the foreground
constexpr Pixel textColour = 0x66, background = 0x44;

// Text row r shows background r, so that where a row went after a scroll can be read back; the cursor then
// rests on row 18, column 80 with the scroll held back.
void paintNumberedRows(Screen& screen) {
  screen.locate(1, 1);
  for (Pixel row = 1; row <= 18; ++row) {
    screen.setColour(0xFFFFFF, row);
    screen.printText(fullRow, LineEnd::no);
  }
  screen.setColour(textColour, background);
}

TEST(PrintingTest, ConsequencesTheProgramReliesOn) {
  constexpr TextCursor stay{0, 0};  // no locate: the cursor where the numbered rows left it, scroll held back
  struct Case {
    TextCursor from;
    std::string text;
    LineEnd lineEnd;
    TextCursor cursor;
    bool scrollPending;
    std::vector<std::pair<int, Pixel>> rowColours;
  };
  const Case cases[] = {
      {{5, 1}, fullBlocks, LineEnd::no, {6, 1}, false, {{5, textColour}, {6, 6}}},
      {{5, 1}, fullBlocks, LineEnd::yes, {7, 1}, false, {{5, textColour}, {6, 6}, {7, 7}}},
      {stay, "", LineEnd::no, {18, 80}, true, {{1, 1}, {18, 18}}},
      {{11, 1}, "\xDB", LineEnd::no, {11, 2}, false, {{1, 1}, {11, textColour}, {18, 18}}},
      {stay, "\xDB\xDB", LineEnd::no, {18, 3}, false, {{1, 2}, {17, 18}, {18, textColour}}},
      {{18, 1}, "", LineEnd::yes, {18, 1}, false, {{1, 2}, {17, 18}, {18, background}}},
      {{4, 9}, "", LineEnd::yes, {5, 1}, false, {{4, 4}, {5, 5}}},
      {{18, 1}, fullBlocks, LineEnd::yes, {18, 1}, false, {{15, 17}, {16, textColour}, {17, background}}},
      {{3, 10}, "ab\rc\n\nd", LineEnd::no, {5, 2}, false, {{3, background}, {4, 4}}},
  };
  for (const Case& c : cases) {
    Screen screen;
    paintNumberedRows(screen);
    if (c.from != stay) screen.locate(c.from.row, c.from.column);
    screen.printText(c.text, c.lineEnd);
    const std::string what = "from " + std::to_string(c.from.row) + "," + std::to_string(c.from.column) + ": " +
                             std::to_string(c.text.size()) + " characters" +
                             (c.lineEnd == LineEnd::yes ? " and a line end" : "");
    EXPECT_EQ(screen.cursor(), c.cursor) << what;
    EXPECT_EQ(screen.scrollPending(), c.scrollPending) << what;
    for (auto [row, colour] : c.rowColours) EXPECT_EQ(rowColour(screen, row), colour) << what << ", row " << row;
  }
}

TEST(PrintingTest, ScrollingPaintsTheVacatedRowsInTheCurrentBackground) {
  Screen screen;
  paintNumberedRows(screen);
  screen.printText("\xDB", LineEnd::no);
  EXPECT_EQ(screen.readPixel(639, 287), background);
  EXPECT_EQ(screen.readPixel(639, 271), 18u);
}

TEST(PrintingTest, LocateMovesOnlyWhenEveryGivenCoordinateFits) {
  const std::pair<TextCursor, TextCursor> cases[] = {
      {{19, 1}, {5, 7}}, {{5, 81}, {5, 7}}, {{-1, 3}, {5, 7}}, {{0, 81}, {5, 7}},    {{0, 0}, {5, 7}},
      {{0, 2}, {5, 2}},  {{9, 0}, {9, 7}},  {{1, 1}, {1, 1}},  {{18, 80}, {18, 80}},
  };
  for (auto [to, expected] : cases) {
    Screen screen;
    screen.locate(5, 7);
    screen.locate(to.row, to.column, 1);
    EXPECT_EQ(screen.cursor(), expected) << "locate " << to.row << ", " << to.column;
  }
}

TEST(PrintingTest, ColoursAreStoredWithTheirTopByte) {
  Screen screen;
  screen.setTextGrid(80, 18);
  EXPECT_EQ(screen.readPixel(320, 200), 0xFF000000u);
  screen.printText("\xDB", LineEnd::no);
  EXPECT_EQ(screen.readPixel(0, 0), 0xFFFFFFFFu) << "white before any setColour";
  screen.setColour(0xFFFFFF, 0xD827BC);
  screen.printText(" ", LineEnd::no);
  for (int y = 0; y < 16; ++y) {
    for (int x = 8; x < 16; ++x) ASSERT_EQ(screen.readPixel(x, y), 0x00D827BCu) << x << "," << y;
  }
}

TEST(PixelTest, OutsideTheSurfaceReadsWhiteAndTakesNoWrites) {
  Screen screen;
  for (auto [x, y] : {std::pair{-1, 0}, {640, 0}, {0, -1}, {0, 288}}) {
    screen.writePixel(x, y, 0x123);
    EXPECT_EQ(screen.readPixel(x, y), 0xFFFFFFFFu);
  }
  screen.writePixel(639, 287, 0x12345678);
  EXPECT_EQ(screen.readPixel(639, 287), 0x12345678u);
}

}  // namespace
}  // namespace quillfex
