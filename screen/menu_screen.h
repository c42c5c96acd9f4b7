#pragma once
// The menu screen: title band, help text, the entries it is given and the footer band, all 18 rows every time.

#include <cstddef>
#include <span>
#include <string>

#include "data/item_store.h"
#include "screen/screen.h"

namespace quillfex {

inline constexpr Pixel bandBackground = 0xD827BC;
inline constexpr Pixel bandText = 0xFFFFFF;
inline constexpr Pixel bodyText = 0x000000;
inline constexpr Pixel bodyBackground = 0xFFD0FF;
inline constexpr Pixel highlight = 0xDDA0DD;

// The rows 13 to 17 hold the entries, one on every other row from row 13: three at the most.
inline constexpr std::size_t mostMenuEntries = 3;

// Shows entry n's text (filled with blanks to the row's 80 characters) on row 13 + 2n, the one at index
// `selected` highlighted; paints both gradient bands from gradientSteps. Leaves the cursor at row 11, column
// 1, with FFD0FF on FFD0FF, so that anything printed later without a colour change stays invisible.
void drawMenu(Screen& screen, std::span<const std::string> entries, std::size_t selected,
              const ItemRecord* gradientSteps);

}  // namespace quillfex
