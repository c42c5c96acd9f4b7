#include "sdl_x_tools.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stb_image.h>

#include <memory>

#include "sdl_xvfb.h"

namespace quillfex::testing {
namespace {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

Window windowOf(const std::string& id) { return static_cast<Window>(std::stoul(id)); }

}  // namespace

std::string findWindow(const std::string& title, int limit_s) {
  const CommandResult found = runCommand({"xdotool", "search", "--sync", "--name", "^" + title + "$"}, limit_s);
  if (found.status != 0) return "";
  return found.output.substr(0, found.output.find('\n'));
}

bool focusWindow(const std::string& window) {
  return runCommand({"xdotool", "windowfocus", "--sync", window}).status == 0;
}

bool pressKey(const std::string& keyName) { return runCommand({"xdotool", "key", keyName}).status == 0; }

Picture decodePng(const std::string& png) {
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                                                static_cast<int>(png.size()), &width, &height, &channels, 3);
  Picture picture;
  for (int at = 0; pixels && width == 640 && height == 288 && at < width * height; ++at) {
    picture.push_back(std::uint32_t{pixels[3 * at]} << 16 | std::uint32_t{pixels[3 * at + 1]} << 8 |
                      pixels[3 * at + 2]);
  }
  stbi_image_free(pixels);
  return picture;
}

Picture screenshot(const std::string& window) {
  return decodePng(runCommand({"import", "-window", window, "png:-"}).output);
}

bool requestClose(const std::string& window) {
  const DisplayConnection display(XOpenDisplay(nullptr));
  if (!display) return false;
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = windowOf(window);
  close.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(display.get(), windowOf(window), False, NoEventMask, &close) != 0;
  XSync(display.get(), False);
  return sent;
}

std::optional<WindowShape> windowShape(const std::string& window) {
  const DisplayConnection display(XOpenDisplay(nullptr));
  if (!display) return std::nullopt;
  const Window id = windowOf(window);
  WindowShape shape;
  XWindowAttributes attributes;
  Window child;
  if (!XGetWindowAttributes(display.get(), id, &attributes)) return std::nullopt;
  shape.width = attributes.width;
  shape.height = attributes.height;
  XTranslateCoordinates(display.get(), id, attributes.root, 0, 0, &shape.left, &shape.top, &child);
  XSizeHints hints{};
  long supplied = 0;
  if (XGetWMNormalHints(display.get(), id, &hints, &supplied)) {
    if (hints.flags & PMinSize) shape.minWidth = hints.min_width, shape.minHeight = hints.min_height;
    if (hints.flags & PMaxSize) shape.maxWidth = hints.max_width, shape.maxHeight = hints.max_height;
  }
  char* name = nullptr;
  if (XFetchName(display.get(), id, &name) && name) {
    shape.title = name;
    XFree(name);
  }
  return shape;
}

}  // namespace quillfex::testing
