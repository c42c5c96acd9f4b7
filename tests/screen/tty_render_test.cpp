// The terminal's picture of the surface: cells read back from pixels, gradient bands, and the escape
// sequences of a row.

#include "screen/drivers/tty_render.h"

#include <gtest/gtest.h>

#include <string>

#include "app/messages.h"
#include "data/data_image.h"
#include "screen/cp437.h"
#include "screen/drivers/tty_cells.h"
#include "screen/font.h"
#include "screen/menu_screen.h"
#include "screen_support.h"

namespace quillfex {
namespace {

constexpr Pixel pink = 0xFFD0FF;
constexpr Pixel black = 0x000000;
constexpr Pixel white = 0xFFFFFF;

// Draws code as the screen does.
void drawGlyph(Surface& surface, int textRow, int column, int code, Pixel foreground, Pixel background) {
  for (int y = 0; y < glyphHeight; ++y) {
    Pixel* row = surface.row(textRow * glyphHeight + y) + column * glyphWidth;
    for (int x = 0; x < glyphWidth; ++x) {
      row[x] = (fontCp437[code * glyphHeight + y] >> x & 1) ? foreground : background;
    }
  }
}

TEST(TtyCellTest, EveryPrintableCharacterIsReadBack) {
  Surface surface;
  for (int code = 33; code <= 126; ++code) {
    drawGlyph(surface, 4, 10, code, black | 0xFF000000, pink);
    EXPECT_EQ(terminalCell(surface, 4, 10), (TerminalCell{char32_t(code), black, pink})) << "code " << code;
  }
}

TEST(TtyCellTest, CellsOfOtherShapes) {
  struct Case {
    const char* name;
    int code;
    Pixel foreground, background;
    TerminalCell shown;
  };
  const Case cases[] = {
      {"a blank", ' ', white, pink, {U' ', pink, pink}},
      {"text in its own background colour", 'A', pink, pink, {U' ', pink, pink}},
      {"light shade", 0xB0, white, black, {U'\u2591', white, black}},
      {"a smiling face", 0x01, white, black, {U'\u263A', white, black}},
      {"e acute", 0x82, black, pink, {U'\u00E9', black, pink}},
      {"a full block, as a blank in its colour", 0xDB, white, black, {U' ', white, white}},
      {"an underscore, not a lower half of another glyph", '_', black, pink, {U'_', black, pink}},
      {"an upper half block, read as the lower one in the other colour", 0xDF, white, black, {U'\u2584', black, white}},
  };
  for (const Case& c : cases) {
    Surface surface;
    drawGlyph(surface, 0, 0, c.code, c.foreground, c.background);
    EXPECT_EQ(terminalCell(surface, 0, 0), c.shown) << c.name;
  }
}

TEST(TtyRenderTest, ColoursAreSetOnlyWhereTheyChangeAndNeverABlanksForeground) {
  const TerminalCell cells[] = {
      {U' ', white, pink},
      {U'A', black, pink},
      {U' ', white, pink},
      {U'B', black, pink},
      {upperHalfBlock, 0x102030, 0x405060},
      {U' ', 0x102030, 0x405060},
      {U'c', 0x102030, pink},
  };
  EXPECT_EQ(renderCells(cells, 5),
            "\x1B[5;1H"
            "\x1B[48;2;255;208;255m \x1B[38;2;0;0;0mA B"
            "\x1B[38;2;16;32;48;48;2;64;80;96m\xE2\x96\x80 "
            "\x1B[48;2;255;208;255mc");
}

TEST(TtyRenderTest, APrintedRowAsTheTerminalGetsIt) {
  Screen screen;
  ASSERT_EQ(screen.openScreenWith(testing::makeSilentDriver()), 0);
  screen.setColour(0xD827BC, pink);
  screen.clearScreen();
  screen.locate(3, 1);
  screen.printText("Hi \x82", LineEnd::no);
  EXPECT_EQ(renderTextRow(testing::surfaceOf(screen), 2),
            "\x1B[3;1H\x1B[38;2;216;39;188;48;2;255;208;255mHi \xC3\xA9" + std::string(76, ' '));
}

// The menu's rows read back as the text it printed.
TEST(TtyRenderTest, TheMenuReadsBackAsItsText) {
  Screen screen;
  const std::string entries[] = {messages::optionOne, messages::optionTwo};
  drawMenu(screen, entries, 0, gradientStepsStore);
  const Surface surface = testing::surfaceOf(screen);
  const auto rowText = [&](int textRow) {
    std::string text;
    for (int column = 0; column < 80; ++column) {
      const char32_t character = terminalCell(surface, textRow, column).character;
      text += static_cast<char>(cp437FromUnicode(character));
    }
    return text;
  };
  EXPECT_EQ(rowText(0), ">>>>>>>>>>>>>>>>>>>>>>>>>>>>>>> Tavrinel Quillfex <<<<<<<<<<<<<<<<<<<<<<<<<<<<<<");
  EXPECT_EQ(rowText(12).substr(0, 30), "  - Eliminate the Windows boot");
  EXPECT_EQ(rowText(14), messages::optionTwo);
  EXPECT_EQ(rowText(17), ">>>>>>>>>>> Escape = stop. Quillfex 1.03 - free to use, no warranties <<<<<<<<<<");
  const Pixel besideBlank = terminalCell(surface, 0, 30).background;
  EXPECT_EQ(terminalCell(surface, 0, 31), (TerminalCell{U' ', besideBlank, besideBlank}))
      << "a band's blank in one colour, the background of the letters beside it";
  EXPECT_EQ(terminalCell(surface, 12, 0).background, highlight);
  EXPECT_EQ(terminalCell(surface, 14, 0).background, bodyBackground);
}

}  // namespace
}  // namespace quillfex
