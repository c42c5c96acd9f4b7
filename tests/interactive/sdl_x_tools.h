#pragma once
// What a person does with the program's window under Xvfb: find it, give it the focus, press keys, look at
// it, press its close button. Through xdotool, ImageMagick's import and, where no tool does it, Xlib. Each
// step first waits, within a time limit, for the state it needs: a window that is viewable at its size, the
// focus on it; a failure names the state that never came.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillfex::testing {

// 0xRRGGBB, row by row; empty when no picture was taken.
using Picture = std::vector<std::uint32_t>;

constexpr int windowWidth = 640, windowHeight = 288;

// The id of the window titled exactly title, waiting up to limit for it; "" when none appeared.
std::string findWindow(const std::string& title, std::chrono::seconds limit);

// "0x..." for messages.
std::string hexId(const std::string& window);

// "" while the window is mapped, viewable and 640 x 288; otherwise what it is instead.
std::string whatIsWrongWithWindow(const std::string& window);

// Waits until the window is mapped, viewable and 640 x 288.
::testing::AssertionResult waitUntilViewable(const std::string& window, std::chrono::seconds limit);

// Asks for the focus to go to the window, again every half second, until the X server gives it there.
::testing::AssertionResult focusWindow(const std::string& window, std::chrono::seconds limit);

// Presses and lets go of a key, named as X names it (Down, Return, Escape), once the window holds the focus.
::testing::AssertionResult pressKey(const std::string& window, const std::string& keyName);

// A 640 x 288 picture from PNG bytes; empty when they hold something else.
Picture decodePng(const std::string& png);

// The window's client area as import photographs it; empty unless the window is viewable and 640 x 288.
Picture screenshot(const std::string& window);

// Sends the close request that the window manager sends for the caption's close button.
bool requestClose(const std::string& window);

struct WindowShape {
  std::string title;
  int left = 0, top = 0, width = 0, height = 0;                  // the client area on the screen
  int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;  // the size limits it asks for; 0: none
};

std::optional<WindowShape> windowShape(const std::string& window);

}  // namespace quillfex::testing
