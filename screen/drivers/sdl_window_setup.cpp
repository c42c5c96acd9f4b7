#include "screen/drivers/sdl_window_setup.h"

#include "screen/drivers/window_rules.h"

namespace quillfex {

std::string videoDriversToTry(const char* display, const char* waylandDisplay) {
  const bool x11 = display && *display;
  const bool wayland = waylandDisplay && *waylandDisplay;
  // X11 first: SDL2 draws its own window frame under Wayland, and XWayland serves it just as well.
  return std::string(x11 ? "x11" : "") + (x11 && wayland ? "," : "") + (wayland ? "wayland" : "");
}

std::size_t displayHolding(WindowPoint point, std::span<const DisplayRect> displays) {
  for (std::size_t index = 0; index < displays.size(); ++index) {
    const DisplayRect& display = displays[index];
    const bool insideX = point.x >= display.left && point.x < display.left + display.width;
    const bool insideY = point.y >= display.top && point.y < display.top + display.height;
    if (insideX && insideY) return index;
  }
  return 0;
}

WindowPoint centredClientOrigin(const DisplayRect& display, int clientWidth, int clientHeight,
                                const WindowBorders& borders) {
  const ScreenRect monitor{display.left, display.top, display.left + display.width, display.top + display.height};
  const WindowOrigin outer = centredWindowOrigin(monitor, borders.left + clientWidth + borders.right,
                                                 borders.top + clientHeight + borders.bottom);
  return {outer.left + borders.left, outer.top + borders.top};
}

}  // namespace quillfex
