#pragma once
// What a terminal cell shows for a text cell of the surface. The driver sees only pixels, so the
// character is found again by matching the cell against the font: one colour that draws a glyph exactly,
// on a background that is plain in each pixel row (the gradient bands vary it from row to row). A blank cell
// of a band takes the average of its rows' colours, as the background of a glyph beside it does. A cell that
// no glyph draws, such as a pixel written by hand, becomes an upper half block in the average colours of its
// upper and lower halves.

#include "screen/surface.h"

namespace quillfex {

struct TerminalCell {
  char32_t character;  // Unicode
  Pixel foreground;    // 0xRRGGBB; of no account for a blank
  Pixel background;    // 0xRRGGBB
  friend bool operator==(const TerminalCell&, const TerminalCell&) = default;
};

inline constexpr char32_t upperHalfBlock = U'\u2580';

// The cell at textRow 0 to 17, column 0 to 79.
TerminalCell terminalCell(const Surface& surface, int textRow, int column);

}  // namespace quillfex
