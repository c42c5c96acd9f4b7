#include "screen/drivers/tty_render.h"

#include <array>
#include <optional>

#include "screen/font.h"
#include "text/utf8.h"

namespace quillfex {
namespace {

constexpr int gridColumns = surfaceWidth / glyphWidth;
constexpr int gridRows = surfaceHeight / glyphHeight;

void appendNumber(std::string& text, unsigned number) { text += std::to_string(number); }

// "38;2;R;G;B" for the foreground (layer 38) or "48;2;R;G;B" for the background (layer 48).
void appendColour(std::string& text, unsigned layer, Pixel colour) {
  appendNumber(text, layer);
  text += ";2";
  for (const int shift : {16, 8, 0}) {
    text += ';';
    appendNumber(text, colour >> shift & 0xFF);
  }
}

}  // namespace

std::string renderCells(std::span<const TerminalCell> cells, int terminalRow) {
  std::string text = "\x1B[";
  appendNumber(text, static_cast<unsigned>(terminalRow));
  text += ";1H";
  std::optional<Pixel> foreground, background;
  for (const TerminalCell& cell : cells) {
    const bool setForeground = cell.character != U' ' && foreground != cell.foreground;
    const bool setBackground = background != cell.background;
    if (setForeground || setBackground) {
      text += "\x1B[";
      if (setForeground) appendColour(text, 38, cell.foreground);
      if (setForeground && setBackground) text += ';';
      if (setBackground) appendColour(text, 48, cell.background);
      text += 'm';
    }
    if (setForeground) foreground = cell.foreground;
    background = cell.background;
    appendUtf8(text, cell.character);
  }
  return text;
}

std::string renderTextRow(const Surface& surface, int textRow) {
  std::array<TerminalCell, gridColumns> cells;
  for (int column = 0; column < gridColumns; ++column) cells[column] = terminalCell(surface, textRow, column);
  return renderCells(cells, textRow + 1);
}

std::string renderTooSmallNotice(int columns, int rows) {
  const std::string lines[] = {
      "Please enlarge the",
      "terminal to " + std::to_string(gridColumns) + " x " + std::to_string(gridRows),
      "(it is " + std::to_string(columns) + " x " + std::to_string(rows) + ").",
  };
  std::string text = "\x1B[0m\x1B[2J";
  int terminalRow = 1;
  for (const std::string& line : lines) text += "\x1B[" + std::to_string(terminalRow++) + ";1H" + line;
  return text;
}

}  // namespace quillfex
