#pragma once
// The menu screen: title band, help text, the two entries and the footer band, all 18 rows every time.

#include <string>

#include "data/item_store.h"
#include "screen/screen.h"

namespace quillfex {

inline constexpr Pixel bandBackground = 0xD827BC;
inline constexpr Pixel bandText = 0xFFFFFF;
inline constexpr Pixel bodyText = 0x000000;
inline constexpr Pixel bodyBackground = 0xFFD0FF;
inline constexpr Pixel highlight = 0xDDA0DD;

// Highlights row 13 for selectedRow 14 and row 15 (optionTwoText, the second entry) for 16; paints both
// gradient bands from gradientSteps. Leaves the cursor at row 11, column 1, with FFD0FF on FFD0FF, so that
// anything printed later without a colour change stays invisible.
void drawMenu(Screen& screen, int selectedRow, const std::string& optionTwoText, const ItemRecord* gradientSteps);

}  // namespace quillfex
