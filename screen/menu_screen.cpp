#include "screen/menu_screen.h"

#include <array>
#include <string>
#include <string_view>

#include "screen/gradient.h"

namespace quillfex {
namespace {

constexpr std::string_view title = ">>>>>>>>>>>>>>>>>>>>>>>>>>>>>>> Tavrinel Quillfex <<<<<<<<<<<<<<<<<<<<<<<<<<<<<<";
constexpr std::string_view footer = ">>>>>>>>>>> Escape = stop. Quillfex 1.03 - free to use, no warranties <<<<<<<<<<";
static_assert(title.size() == textColumns && footer.size() == textColumns);

// Rows 2 to 12; each is printed padded with blanks to the full 80 columns.
constexpr std::array<std::string_view, 11> helpRows = {
    "",
    "  With this tool can Windows-bootmanager eliminated, and also the bootfiles on",
    "  each Windows-partitie to be put. Because of this can another boot manager,",
    "  such as Lunvex installed become, with which then all DOS (DOS only on the",
    "  1st drive) and Windows-partitions can be started up. Must be started on the",
    "  partitie where Windows-bootmanager stand. Works with Windows Vista and/or",
    "  Seven with or without XP. Windows-bootmanager must be OK. Windows-bootmanager",
    "  can be integrated with the 2nd option. Make with arrow-up or arrow-down your",
    "  choice and activate these with Enter.",
    "",
    "",
};
const std::string blankRow(textColumns, ' ');
constexpr int entryRows = 2 * static_cast<int>(mostMenuEntries) - 1;  // rows 13 to 17
constexpr int titleBandTop = 0;
constexpr int footerBandTop = 272;  // text row 18

std::string fullRow(std::string_view text) {
  std::string row(text);
  row.resize(textColumns, ' ');
  return row;
}

void printRow(Screen& screen, std::string_view text) { screen.printText(text, LineEnd::no); }

void printBand(Screen& screen, ItemCursor& cursor, const ItemRecord* gradientSteps, std::string_view text, int top) {
  screen.setColour(bandText, bandBackground);
  printRow(screen, text);
  paintGradientBand(screen, cursor, gradientSteps, top, 0xFF, 0x4E, 0xBC, 0, surfaceWidth - 1, bandText);
}

Pixel entryBackground(std::size_t selected, std::size_t entry) {
  return selected == entry ? highlight : bodyBackground;
}

}  // namespace

// Every row is exactly 80 characters without a line end; the footer's fills the corner, which holds the
// scroll back until the final locate cancels it.
void drawMenu(Screen& screen, std::span<const std::string> entries, std::size_t selected,
              const ItemRecord* gradientSteps) {
  static const std::array<std::string, 11> helpText = [] {
    std::array<std::string, 11> rows;
    for (std::size_t at = 0; at < rows.size(); ++at) rows[at] = fullRow(helpRows[at]);
    return rows;
  }();
  ItemCursor cursor;  // each band reads the steps from the first

  screen.locate(1, 1);
  printBand(screen, cursor, gradientSteps, title, titleBandTop);
  screen.setColour(bodyText, bodyBackground);
  for (const std::string& row : helpText) printRow(screen, row);
  for (int row = 0; row < entryRows; ++row) {
    const auto entry = static_cast<std::size_t>(row / 2);
    if (row % 2 == 0 && entry < entries.size()) {
      screen.setColour(bodyText, entryBackground(selected, entry));
      printRow(screen, fullRow(entries[entry]));
    } else {
      screen.setColour(bodyText, bodyBackground);
      printRow(screen, blankRow);
    }
  }
  printBand(screen, cursor, gradientSteps, footer, footerBandTop);
  screen.locate(11, 1);
  screen.setColour(bodyBackground, bodyBackground);
}

}  // namespace quillfex
