#pragma once
// What the screen tests share: an open screen without a display, and looking at whole text rows.

#include <memory>
#include <string>

#include "screen/screen.h"

namespace quillfex::testing {

// A driver that shows nothing and delivers no keys: keys come only from Screen::queueKey.
std::unique_ptr<ScreenDriver> makeSilentDriver();

// The colour of the top-left pixel of a text row: a row printed in blanks shows its background there.
inline Pixel rowColour(const Screen& screen, int textRow) { return screen.readPixel(0, (textRow - 1) * 16); }

// The whole surface as the window would show it.
Surface surfaceOf(const Screen& screen);

}  // namespace quillfex::testing
