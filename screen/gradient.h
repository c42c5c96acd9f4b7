#pragma once
// The title-band gradient: repaints a band of 16 pixel rows so that every pixel but those of the kept
// colour takes its row's colour, which starts at the given colour and drops by the gradient steps.

#include "data/item_store.h"
#include "screen/screen.h"

namespace quillfex {

// Restores cursor to steps and reads 16 items as integers, one after each row; row r is painted in the
// start colour lowered by the first r steps (alpha FF). Columns firstColumn to lastColumn, both included.
// Pixels are compared without their top byte.
void paintGradientBand(Screen& screen, ItemCursor& cursor, const ItemRecord* steps, int top, int startRed,
                       int startGreen, int startBlue, int firstColumn, int lastColumn, Pixel keptColour);

}  // namespace quillfex
