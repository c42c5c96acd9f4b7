// Key to pixels in the SDL window under Xvfb: the program's own menu runs in an SDL window of this process;
// each iteration presses Down through XTest, as a keyboard would, and times until the window's highlight
// rows, read back from the X server at each of its damage reports, show the redrawn menu. Iterations start
// at random points of the 10-millisecond refresh. The counters give the median, the 95th percentile and the slowest
// press. SDL_RENDER_DRIVER=software (or opengl) picks SDL's renderer.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/main_menu.h"
#include "fake_os.h"
#include "screen/drivers/sdl_driver.h"
#include "screen/menu_screen.h"
#include "screen/screen.h"
#include "sdl_xvfb.h"

namespace {

namespace q = quillfex;  // Xlib has a Screen and a KeyCode of its own
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Text rows 13 to 15, both menu entries, one of them highlighted, in the blank first column.
constexpr int watchedColumn = 2, watchedTop = 12 * 16, watchedHeight = 3 * 16;

class XConnection {
 public:
  XConnection() : display_(XOpenDisplay(nullptr)) {}
  ~XConnection() {
    if (display_) XCloseDisplay(display_);
  }
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  bool open() const { return display_ != nullptr; }

  // The top-level window with this title; 0 when there is none.
  Window findWindow(const char* title) const {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
    for (unsigned int at = 0; at < count && !found; ++at) {
      char* name = nullptr;
      if (XFetchName(display_, children[at], &name) && name) {
        if (std::strcmp(name, title) == 0) found = children[at];
        XFree(name);
      }
    }
    if (children) XFree(children);
    return found;
  }

  // Waits up to limit for the top-level window with this title to be viewable; 0 when it was not.
  Window waitForViewableWindow(const char* title, Clock::duration limit) const {
    for (const auto giveUp = Clock::now() + limit;; std::this_thread::sleep_for(10ms)) {
      const Window window = findWindow(title);
      XWindowAttributes attributes;
      if (window && XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable) {
        return window;
      }
      if (Clock::now() >= giveUp) return 0;
    }
  }

  // Asks for the focus, again every half second, until the window holds it; false when it did not within limit.
  bool focus(Window window, Clock::duration limit) const {
    const auto giveUp = Clock::now() + limit;
    for (auto nextRequest = Clock::now();; std::this_thread::sleep_for(10ms)) {
      Window focused = None;
      int revert = 0;
      XGetInputFocus(display_, &focused, &revert);
      if (focused == window) return true;
      if (Clock::now() >= giveUp) return false;
      if (Clock::now() >= nextRequest) {
        XSetInputFocus(display_, window, RevertToParent, CurrentTime);
        XSync(display_, False);
        nextRequest = Clock::now() + 500ms;
      }
    }
  }

  void press(KeySym key) const {
    const ::KeyCode code = XKeysymToKeycode(display_, key);
    XTestFakeKeyEvent(display_, code, True, 0);
    XTestFakeKeyEvent(display_, code, False, 0);
    XFlush(display_);
  }

  // A column of the highlight rows, light to read so that reading disturbs the X server little.
  std::vector<unsigned long> watchedRows(Window window) const {
    XImage* image = XGetImage(display_, window, watchedColumn, watchedTop, 1, watchedHeight, AllPlanes, ZPixmap);
    std::vector<unsigned long> pixels;
    if (!image) return pixels;
    for (int y = 0; y < watchedHeight; ++y) pixels.push_back(XGetPixel(image, 0, y) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
  }

  // Asks the X server to report every change of the window's pixels.
  bool watchDamage(Window window) {
    int errorBase = 0;
    if (!XDamageQueryExtension(display_, &damageEventBase_, &errorBase)) return false;
    damage_ = XDamageCreate(display_, window, XDamageReportNonEmpty);
    return true;
  }

  // Waits for the next change of the window's pixels; false when none came before the deadline.
  bool waitForDamage(Clock::time_point deadline) const {
    for (;;) {
      while (XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type != damageEventBase_ + XDamageNotify) continue;
        XDamageSubtract(display_, damage_, None, None);
        return true;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return false;
      pollfd readable{ConnectionNumber(display_), POLLIN, 0};
      ::poll(&readable, 1, static_cast<int>(left));
    }
  }

  void forgetDamage() const {
    while (waitForDamage(Clock::now())) {
    }
  }

 private:
  Display* display_;
  int damageEventBase_ = 0;
  Damage damage_ = 0;
};

// Waits until the watched rows show wanted; the time since from, or nullopt after a second.
std::optional<Clock::duration> timeUntilShown(const XConnection& x, Window window,
                                              const std::vector<unsigned long>& wanted, Clock::time_point from) {
  while (x.waitForDamage(from + 1s)) {
    if (x.watchedRows(window) == wanted) return Clock::now() - from;
  }
  return std::nullopt;
}

using Rows = std::vector<unsigned long>;

// The rows once shown holds for them and they then stay unchanged for 100 ms; empty when that took over 5 s.
Rows settledRows(const XConnection& x, Window window, const std::function<bool(const Rows&)>& shown) {
  const auto giveUp = Clock::now() + 5s;
  Rows rows = x.watchedRows(window);
  for (auto still = Clock::now(); !shown(rows) || Clock::now() - still < 100ms;) {
    if (Clock::now() >= giveUp) return {};
    std::this_thread::sleep_for(5ms);
    if (Rows now = x.watchedRows(window); now != rows) {
      rows = std::move(now);
      still = Clock::now();
    }
  }
  return rows;
}

// The viewable window with the focus and the two pictures of its highlight rows, one for each entry
// highlighted; what did not come, or "".
std::string prepare(XConnection& x, Window& window, Rows (&pictures)[2]) {
  window = x.open() ? x.waitForViewableWindow("sdl_latency_bench", 10s) : 0;
  if (window == 0) return "no viewable window within 10 s";
  if (!x.watchDamage(window)) return "no damage reports";
  if (!x.focus(window, 10s)) return "the focus never reached the window within 10 s";
  // The first entry, highlighted at the start, is among the rows.
  pictures[0] = settledRows(
      x, window, [](const Rows& rows) { return std::find(rows.begin(), rows.end(), q::highlight) != rows.end(); });
  if (pictures[0].empty()) return "the menu was not drawn within 5 s";
  x.press(XK_Down);
  pictures[1] = settledRows(x, window, [&](const Rows& rows) { return rows != pictures[0]; });
  if (pictures[1].empty()) return "Down did not move the highlight within 5 s";
  // Down again must bring the first picture back: then both are whole pictures of the menu.
  x.forgetDamage();
  x.press(XK_Down);
  if (!timeUntilShown(x, window, pictures[0], Clock::now())) return "a second Down did not bring the first back";
  return "";
}

double percentile(std::vector<double> samples, double fraction) {
  std::sort(samples.begin(), samples.end());
  return samples[static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1))];
}

void keyToPixels(benchmark::State& run) {
  q::testing::XvfbServer xvfb;
  if (!xvfb.running()) return run.SkipWithError("Xvfb did not start");
  q::Screen screen;
  if (screen.openScreenWith(q::makeSdlDriver()) != 0) return run.SkipWithError("the SDL window did not open");
  q::testing::FakeOs os;
  q::ProgramState state;
  q::Context context{state, os, screen};
  std::thread program([&] { q::mainMenu(context); });

  XConnection x;
  Window window = 0;
  Rows pictures[2];
  if (const std::string missing = prepare(x, window, pictures); !missing.empty()) {
    run.SkipWithError(missing.c_str());
  } else {
    std::mt19937 random(8);
    std::uniform_int_distribution<int> phase_us(0, 10000);
    std::vector<double> samples_ms;
    int showing = 0;
    for (auto _ : run) {
      std::this_thread::sleep_for(std::chrono::microseconds(phase_us(random)));
      x.forgetDamage();
      const auto pressed = Clock::now();
      x.press(XK_Down);
      showing = 1 - showing;
      const auto took = timeUntilShown(x, window, pictures[showing], pressed);
      if (!took) {
        run.SkipWithError("the window did not show the redrawn menu within a second");
        break;
      }
      const double seconds = std::chrono::duration<double>(*took).count();
      run.SetIterationTime(seconds);
      samples_ms.push_back(seconds * 1000);
    }
    if (!samples_ms.empty()) {
      run.counters["median_ms"] = percentile(samples_ms, 0.5);
      run.counters["p95_ms"] = percentile(samples_ms, 0.95);
      run.counters["max_ms"] = percentile(samples_ms, 1.0);
    }
  }
  screen.queueKey(27);  // Escape ends the menu
  program.join();
  screen.closeScreen();
}
BENCHMARK(keyToPixels)->Iterations(300)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
