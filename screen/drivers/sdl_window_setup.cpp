#include "screen/drivers/sdl_window_setup.h"

namespace quillfex {

std::string videoDriversToTry(const char* display, const char* waylandDisplay) {
  const bool x11 = display && *display;
  const bool wayland = waylandDisplay && *waylandDisplay;
  // X11 first: SDL2 draws its own window frame under Wayland, and XWayland serves it just as well.
  return std::string(x11 ? "x11" : "") + (x11 && wayland ? "," : "") + (wayland ? "wayland" : "");
}

std::string windowTitleFromProgramPath(std::string_view programPath) {
  std::string_view name = programPath.substr(programPath.find_last_of('/') + 1);
  if (const auto stop = name.find_last_of('.'); stop != std::string_view::npos) name = name.substr(0, stop);
  return std::string(name);
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
  const int outerWidth = borders.left + clientWidth + borders.right;
  const int outerHeight = borders.top + clientHeight + borders.bottom;
  return {display.left + ((display.width - outerWidth) >> 1) + borders.left,
          display.top + ((display.height - outerHeight) >> 1) + borders.top};
}

}  // namespace quillfex
