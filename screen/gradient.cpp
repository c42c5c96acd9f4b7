#include "screen/gradient.h"

#include <algorithm>
#include <charconv>

namespace quillfex {
namespace {

constexpr int bandHeight = 16;

int integerOf(const std::optional<std::string>& item) {
  int value = 0;
  if (item) std::from_chars(item->data(), item->data() + item->size(), value);
  return value;
}

Pixel channel(int value) { return static_cast<Pixel>(std::clamp(value, 0, 255)); }

Pixel opaque(int red, int green, int blue) {
  return 0xFF000000 | channel(red) << 16 | channel(green) << 8 | channel(blue);
}

// Whole groups of 8 pixels, so that the compiler handles a group at once.
void paintRow(std::span<Pixel> row, Pixel colour, Pixel keptColour) {
  const auto paint = [&](Pixel& pixel) { pixel = (pixel & 0xFFFFFF) == keptColour ? pixel : colour; };
  const std::size_t groups = row.size() / 8;
  for (std::size_t group = 0; group < groups; ++group) {
    for (std::size_t inGroup = 0; inGroup < 8; ++inGroup) paint(row[group * 8 + inGroup]);
  }
  for (std::size_t at = groups * 8; at < row.size(); ++at) paint(row[at]);
}

}  // namespace

void paintGradientBand(Screen& screen, ItemCursor& cursor, const ItemRecord* steps, int top, int startRed,
                       int startGreen, int startBlue, int firstColumn, int lastColumn, Pixel keptColour) {
  int red = startRed, green = startGreen, blue = startBlue;
  cursor.restore(steps);
  for (int offset = 0; offset < bandHeight; ++offset) {
    // Off the surface a pixel reads as white and takes no writes, so only the part on it is looked at.
    screen.editPixelRow(top + offset, firstColumn, lastColumn,
                        [&](std::span<Pixel> row) { paintRow(row, opaque(red, green, blue), keptColour & 0xFFFFFF); });
    const int step = integerOf(cursor.readItem());
    red -= step;
    green -= step;
    blue -= step;
  }
}

}  // namespace quillfex
