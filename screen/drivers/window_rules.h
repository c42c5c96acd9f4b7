#pragma once
// What every window driver decides the same way without a window: its title and its place.

#include <string>
#include <string_view>

namespace quillfex {

// The program file's name without its extension: the path's last part after any of separators, cut at its
// last full stop.
std::string programTitle(std::string_view programPath, std::string_view separators);

struct ScreenRect {
  int left, top, right, bottom;  // right and bottom exclusive
};

struct WindowOrigin {
  int left, top;
  friend bool operator==(const WindowOrigin&, const WindowOrigin&) = default;
};

// Centres a window of the given outer size on a monitor; a window larger than the monitor overhangs it
// on both sides, one pixel more on the left and top when the difference is odd.
WindowOrigin centredWindowOrigin(const ScreenRect& monitor, int outerWidth, int outerHeight);

}  // namespace quillfex
