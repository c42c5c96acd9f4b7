#pragma once
// Terminal output for the text grid: the escape sequences that draw a row of cells in 24-bit colour.

#include <span>
#include <string>

#include "screen/drivers/tty_cells.h"

namespace quillfex {

// Moves the cursor to column 1 of terminalRow (from 1) and draws the cells, setting a colour only where it
// changes; a blank's foreground is never set, as it shows none.
std::string renderCells(std::span<const TerminalCell> cells, int terminalRow);

// Text row textRow (0 to 17) of the surface, drawn on terminal row textRow + 1.
std::string renderTextRow(const Surface& surface, int textRow);

// What a terminal of columns x rows, smaller than the grid, shows instead: short lines asking for more room.
std::string renderTooSmallNotice(int columns, int rows);

}  // namespace quillfex
