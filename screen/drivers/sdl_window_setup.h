#pragma once
// What the SDL window opens with, decided without a display: its title and its place.

#include <span>
#include <string>
#include <string_view>

namespace quillfex {

// SDL's video drivers to try, by the display variables that are set: "x11" for DISPLAY, "wayland" for
// WAYLAND_DISPLAY, separated by a comma; "" when neither is set, so there is no display to open.
std::string videoDriversToTry(const char* display, const char* waylandDisplay);

struct DisplayRect {
  int left, top, width, height;
};

struct WindowPoint {
  int x, y;
  friend bool operator==(const WindowPoint&, const WindowPoint&) = default;
};

// The frame that the window manager puts around the client area.
struct WindowBorders {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The display that holds the point; the first (the primary) when none does or there is none.
std::size_t displayHolding(WindowPoint point, std::span<const DisplayRect> displays);

// Where the client area goes so that the whole window, frame included, is centred on the display.
WindowPoint centredClientOrigin(const DisplayRect& display, int clientWidth, int clientHeight,
                                const WindowBorders& borders);

}  // namespace quillfex
