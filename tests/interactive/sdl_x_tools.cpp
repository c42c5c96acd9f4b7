#include "sdl_x_tools.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stb_image.h>

#include <memory>
#include <sstream>
#include <thread>

#include "sdl_xvfb.h"

namespace quillfex::testing {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

// Xlib's own handler ends the process, and a window that is not yet mapped, or already gone, makes errors.
int ignoreError(Display*, XErrorEvent*) { return 0; }

DisplayConnection openDisplay() {
  XSetErrorHandler(ignoreError);
  return DisplayConnection(XOpenDisplay(nullptr));
}

Window windowOf(const std::string& id) { return static_cast<Window>(std::stoul(id)); }

std::string hexOf(Window window) {
  std::ostringstream text;
  text << "0x" << std::hex << window;
  return text.str();
}

std::string whatIsWrong(Display* display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return "gone";
  if (attributes.map_state == IsUnmapped) return "not mapped";
  if (attributes.map_state == IsUnviewable) return "mapped but not viewable";
  if (attributes.width != windowWidth || attributes.height != windowHeight) {
    return "viewable at " + std::to_string(attributes.width) + " x " + std::to_string(attributes.height);
  }
  return "";
}

// The focus window; the focus counts as the window's also when it is on a window inside it.
Window focusOf(Display* display) {
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  return focus;
}

bool holdsFocus(Display* display, Window window) {
  for (Window at = focusOf(display); at != None && at != PointerRoot;) {
    if (at == window) return true;
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, at, &root, &parent, &children, &count)) return false;
    if (children) XFree(children);
    at = at == root ? None : parent;
  }
  return false;
}

}  // namespace

std::string findWindow(const std::string& title, std::chrono::seconds limit) {
  const CommandResult found =
      runCommand({"xdotool", "search", "--sync", "--name", "^" + title + "$"}, static_cast<int>(limit.count()));
  if (found.status != 0) return "";
  return found.output.substr(0, found.output.find('\n'));
}

std::string hexId(const std::string& window) { return hexOf(windowOf(window)); }

std::string whatIsWrongWithWindow(const std::string& window) {
  const DisplayConnection display = openDisplay();
  if (!display) return "on a display that does not open";
  return whatIsWrong(display.get(), windowOf(window));
}

::testing::AssertionResult waitUntilViewable(const std::string& window, std::chrono::seconds limit) {
  const DisplayConnection display = openDisplay();
  if (!display) return ::testing::AssertionFailure() << "the display does not open";
  std::string wrong;
  for (const auto giveUp = Clock::now() + limit;; std::this_thread::sleep_for(20ms)) {
    wrong = whatIsWrong(display.get(), windowOf(window));
    if (wrong.empty()) return ::testing::AssertionSuccess();
    if (Clock::now() >= giveUp) break;
  }
  return ::testing::AssertionFailure() << "window " << hexId(window) << " not viewable at " << windowWidth << " x "
                                       << windowHeight << " after " << limit.count() << " s: it is " << wrong;
}

::testing::AssertionResult focusWindow(const std::string& window, std::chrono::seconds limit) {
  const DisplayConnection display = openDisplay();
  if (!display) return ::testing::AssertionFailure() << "the display does not open";
  const Window id = windowOf(window);
  const auto giveUp = Clock::now() + limit;
  for (auto nextRequest = Clock::now();; std::this_thread::sleep_for(10ms)) {
    if (holdsFocus(display.get(), id)) return ::testing::AssertionSuccess();
    if (Clock::now() >= giveUp) break;
    // Focusing a window that is not viewable fails, and the request is lost: it goes again.
    if (Clock::now() >= nextRequest && whatIsWrong(display.get(), id).empty()) {
      XSetInputFocus(display.get(), id, RevertToParent, CurrentTime);
      XSync(display.get(), False);
      nextRequest = Clock::now() + 500ms;
    }
  }
  const std::string wrong = whatIsWrong(display.get(), id);
  return ::testing::AssertionFailure() << "focus never reached window " << hexId(window) << " in " << limit.count()
                                       << " s: it is on " << hexOf(focusOf(display.get())) << ", the window is "
                                       << (wrong.empty() ? "viewable" : wrong);
}

::testing::AssertionResult pressKey(const std::string& window, const std::string& keyName) {
  // xdotool key goes to whichever window holds the focus.
  if (auto focused = focusWindow(window, 10s); !focused) return focused << " (to press " << keyName << ")";
  if (runCommand({"xdotool", "key", keyName}).status != 0) {
    return ::testing::AssertionFailure() << "xdotool could not press " << keyName;
  }
  return ::testing::AssertionSuccess();
}

Picture decodePng(const std::string& png) {
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                                                static_cast<int>(png.size()), &width, &height, &channels, 3);
  Picture picture;
  for (int at = 0; pixels && width == windowWidth && height == windowHeight && at < width * height; ++at) {
    picture.push_back(std::uint32_t{pixels[3 * at]} << 16 | std::uint32_t{pixels[3 * at + 1]} << 8 |
                      pixels[3 * at + 2]);
  }
  stbi_image_free(pixels);
  return picture;
}

Picture screenshot(const std::string& window) {
  if (!whatIsWrongWithWindow(window).empty()) return {};
  return decodePng(runCommand({"import", "-window", window, "png:-"}).output);
}

bool requestClose(const std::string& window) {
  const DisplayConnection display = openDisplay();
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
  const DisplayConnection display = openDisplay();
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
