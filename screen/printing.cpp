// Printing on the text grid: cells, the cursor, the held-back scroll at the bottom-right corner, clears.

#include <algorithm>
#include <cstring>

#include "screen/font.h"
#include "screen/screen.h"

namespace quillfex {
namespace {

int pixelRowOf(int textRow) { return (textRow - 1) * glyphHeight; }

}  // namespace

void Screen::setTextGrid(int, int) { clearScreen(); }

void Screen::clearScreen() {
  std::lock_guard guard(lock_);
  surface_.fillRows(0, surfaceHeight, background_);
  cursor_ = {1, 1};
  scrollPending_ = false;
}

void Screen::setColour(Pixel foreground, Pixel background) {
  std::lock_guard guard(lock_);
  foreground_ = foreground;
  background_ = background;
}

void Screen::locate(int row, int column, int) {
  std::lock_guard guard(lock_);
  scrollPending_ = false;
  const bool rowFits = row == 0 || (row >= 1 && row <= textRows);
  const bool columnFits = column == 0 || (column >= 1 && column <= textColumns);
  if (!rowFits || !columnFits) return;
  if (row != 0) cursor_.row = row;
  if (column != 0) cursor_.column = column;
}

void Screen::printText(std::string_view text, LineEnd lineEnd) {
  std::lock_guard guard(lock_);
  print(text);
  if (lineEnd == LineEnd::yes) print("\r\n");
}

void Screen::printEmptyLine() { printText("", LineEnd::yes); }

void Screen::print(std::string_view text) {
  if (text.empty()) return;
  if (scrollPending_) {
    scrollPending_ = false;
    scrollUp(1);
    cursor_ = {textRows, 1};
  }
  LastStep last = LastStep::none;
  while (!text.empty()) {
    if (text.front() == '\r') {
      cursor_.column = 1;
      last = LastStep::lineMove;
      text.remove_prefix(1);
    } else if (text.front() == '\n') {
      cursor_ = {cursor_.row + 1, 1};
      last = LastStep::lineMove;
      text.remove_prefix(1);
    } else {
      last = drawUpToLineEnd(text);
    }
  }
  if (cursor_.row <= textRows) return;
  if (last == LastStep::lineMove) {
    scrollUp(cursor_.row - textRows);
    cursor_ = {textRows, 1};
  } else if (last == LastStep::wrappedPastEnd) {
    // The bottom-right corner holds the scroll back, so that a full last row does not push the screen up.
    cursor_ = {textRows, textColumns};
    scrollPending_ = true;
  }
}

// Draws the characters before the next 13 or 10 that fit on the cursor's row, takes them off text and
// moves the cursor past them.
Screen::LastStep Screen::drawUpToLineEnd(std::string_view& text) {
  if (cursor_.row > textRows) {
    scrollUp(cursor_.row - textRows);
    cursor_.row = textRows;
  }
  const std::size_t room = static_cast<std::size_t>(textColumns - cursor_.column + 1);
  std::size_t length = 0;
  while (length < std::min(text.size(), room) && text[length] != '\r' && text[length] != '\n') ++length;
  const std::string_view run = text.substr(0, length);
  drawCharacters(run);
  text.remove_prefix(run.size());
  if (run.size() == room) {
    cursor_ = {cursor_.row + 1, 1};
    return LastStep::wrappedPastEnd;
  }
  cursor_.column += static_cast<int>(run.size());
  return LastStep::drawn;
}

// Each cell row is a copy of the current colours' prepared pixels for its glyph byte.
void Screen::drawCharacters(std::string_view run) {
  const int top = pixelRowOf(cursor_.row);
  Pixel* cell = surface_.row(top) + (cursor_.column - 1) * glyphWidth;
  cellRows_.select(foreground_, background_);
  const CellRows::Rows& rows = cellRows_.current();
  for (const char character : run) {
    const std::uint8_t* glyph = &fontCp437[static_cast<std::uint8_t>(character) * glyphHeight];
    for (int y = 0; y < glyphHeight; ++y) {
      std::memcpy(cell + y * surfaceWidth, rows[glyph[y]].data(), sizeof(Pixel) * glyphWidth);
    }
    cell += glyphWidth;
  }
  surface_.markRows(top, glyphHeight);
}

void Screen::scrollUp(int rowCount) {
  const int kept = textRows - std::min(rowCount, textRows);
  if (kept > 0) surface_.moveUp(pixelRowOf(rowCount + 1));
  surface_.fillRows(pixelRowOf(kept + 1), (textRows - kept) * glyphHeight, background_);
  surface_.markRows(0, surfaceHeight);
}

}  // namespace quillfex
