#include "screen/drivers/tty_cells.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <unordered_map>

#include "screen/cp437.h"
#include "screen/font.h"

namespace quillfex {
namespace {

using GlyphBits = std::array<std::uint8_t, glyphHeight>;  // bit x of byte y: pixel x of row y
using CellPixels = std::array<std::array<Pixel, glyphWidth>, glyphHeight>;

struct GlyphBitsHash {
  std::size_t operator()(const GlyphBits& bits) const {
    std::uint64_t upper = 0, lower = 0;
    std::memcpy(&upper, bits.data(), 8);
    std::memcpy(&lower, bits.data() + 8, 8);
    return std::hash<std::uint64_t>()(upper * 0x9E3779B97F4A7C15u ^ lower);
  }
};

// Printable ASCII first, so that it wins over identical or complementary glyphs of other codes.
int preferenceOf(int code) { return code >= 33 && code <= 126 ? 0 : 1; }

const std::unordered_map<GlyphBits, std::uint8_t, GlyphBitsHash>& glyphCodes() {
  static const std::unordered_map<GlyphBits, std::uint8_t, GlyphBitsHash> codes = [] {
    std::unordered_map<GlyphBits, std::uint8_t, GlyphBitsHash> table;
    for (int preference : {0, 1}) {
      for (int code = 1; code < 256; ++code) {
        if (preferenceOf(code) != preference) continue;
        GlyphBits bits;
        for (int y = 0; y < glyphHeight; ++y) bits[y] = fontCp437[code * glyphHeight + y];
        table.emplace(bits, static_cast<std::uint8_t>(code));
      }
    }
    return table;
  }();
  return codes;
}

CellPixels pixelsOf(const Surface& surface, int textRow, int column) {
  CellPixels pixels;
  for (int y = 0; y < glyphHeight; ++y) {
    const Pixel* row = surface.row(textRow * glyphHeight + y) + column * glyphWidth;
    for (int x = 0; x < glyphWidth; ++x) pixels[y][x] = row[x] & 0xFFFFFF;
  }
  return pixels;
}

// Most cells are blanks: a quick look first.
bool plain(const CellPixels& pixels) {
  const Pixel first = pixels[0][0];
  bool same = true;
  for (const auto& row : pixels) {
    for (const Pixel pixel : row) same &= pixel == first;
  }
  return same;
}

// A cell's colours, and for each the pixels it covers; a glyph on a band has at most 17 colours.
struct CellColours {
  static constexpr int maximum = 32;
  std::array<Pixel, maximum> colours{};
  int count = 0;
  std::array<GlyphBits, maximum> bits{};
  std::array<std::uint32_t, glyphHeight> inRow{};  // bit i: colour i is in the pixel row
  bool tooMany = false;
};

CellColours coloursOf(const CellPixels& pixels) {
  CellColours cell;
  for (int y = 0; y < glyphHeight; ++y) {
    std::uint32_t inRow = 0;
    for (int x = 0; x < glyphWidth; ++x) {
      int colour = 0;
      while (colour < cell.count && cell.colours[colour] != pixels[y][x]) ++colour;
      if (colour == cell.count) {
        if (cell.count == CellColours::maximum) {
          cell.tooMany = true;
          return cell;
        }
        cell.colours[cell.count++] = pixels[y][x];
      }
      cell.bits[colour][y] |= static_cast<std::uint8_t>(1 << x);
      inRow |= 1u << colour;
    }
    cell.inRow[y] = inRow;
  }
  return cell;
}

// Whether the pixels that are not of the colour share one colour in each pixel row.
bool backgroundPlainInEachRow(const CellColours& cell, int foreground) {
  return std::all_of(cell.inRow.begin(), cell.inRow.end(),
                     [&](std::uint32_t colours) { return std::popcount(colours & ~(1u << foreground)) <= 1; });
}

bool onlyWholeRows(const GlyphBits& bits) {
  return std::all_of(bits.begin(), bits.end(), [](std::uint8_t row) { return row == 0 || row == 0xFF; });
}

// A running average of colours, channel by channel.
class ColourAverage {
 public:
  void add(Pixel colour) {
    for (int channel = 0; channel < 3; ++channel) sums_[channel] += colour >> (16 - 8 * channel) & 0xFF;
    ++count_;
  }
  bool empty() const { return count_ == 0; }
  Pixel average() const {
    if (count_ == 0) return 0;
    Pixel average = 0;
    for (int channel = 0; channel < 3; ++channel) average = average << 8 | (sums_[channel] + count_ / 2) / count_;
    return average;
  }

 private:
  std::array<unsigned, 3> sums_{};
  unsigned count_ = 0;
};

Pixel averageOf(const CellPixels& pixels, int firstRow, int lastRow) {
  ColourAverage colours;
  for (int y = firstRow; y <= lastRow; ++y) {
    for (const Pixel pixel : pixels[y]) colours.add(pixel);
  }
  return colours.average();
}

// The average over the pixel rows of each row's colour, its pixels of leftOut aside: a band's blank cell and the
// background of a glyph on it come out the same, each row weighed once.
Pixel rowColoursAverage(const CellPixels& pixels, std::optional<Pixel> leftOut) {
  ColourAverage colours;
  for (const auto& row : pixels) {
    const auto colour = std::find_if(row.begin(), row.end(), [&](Pixel pixel) { return pixel != leftOut; });
    if (colour != row.end()) colours.add(*colour);
  }
  return colours.empty() ? leftOut.value_or(0) : colours.average();
}

bool plainInEachRow(const CellColours& cell) {
  return !cell.tooMany && std::all_of(cell.inRow.begin(), cell.inRow.end(),
                                      [](std::uint32_t colours) { return std::popcount(colours) == 1; });
}

struct GlyphMatch {
  std::uint8_t code;
  Pixel foreground;
};

std::optional<GlyphMatch> matchGlyph(const CellColours& cell) {
  std::optional<GlyphMatch> best;
  for (int colour = 0; colour < cell.count; ++colour) {
    const GlyphBits& bits = cell.bits[colour];
    // With more than two colours, whole rows of one colour are a band's background, not a glyph.
    if (cell.count > 2 && onlyWholeRows(bits)) continue;
    if (!backgroundPlainInEachRow(cell, colour)) continue;
    const auto found = glyphCodes().find(bits);
    if (found == glyphCodes().end()) continue;
    const std::uint8_t code = found->second;
    const bool better = !best || preferenceOf(code) < preferenceOf(best->code) ||
                        (preferenceOf(code) == preferenceOf(best->code) && code < best->code);
    if (better) best = GlyphMatch{code, cell.colours[colour]};
  }
  return best;
}

}  // namespace

TerminalCell terminalCell(const Surface& surface, int textRow, int column) {
  const CellPixels pixels = pixelsOf(surface, textRow, column);
  if (plain(pixels)) return {U' ', pixels[0][0], pixels[0][0]};
  const CellColours cell = coloursOf(pixels);
  if (const auto glyph = cell.tooMany ? std::nullopt : matchGlyph(cell)) {
    return {unicodeOfCp437(glyph->code), glyph->foreground, rowColoursAverage(pixels, glyph->foreground)};
  }
  if (plainInEachRow(cell)) {
    const Pixel background = rowColoursAverage(pixels, std::nullopt);
    return {U' ', background, background};
  }
  constexpr int half = glyphHeight / 2;
  return {upperHalfBlock, averageOf(pixels, 0, half - 1), averageOf(pixels, half, glyphHeight - 1)};
}

}  // namespace quillfex
