// Opening and closing the screen, keys and pixels. Printing is in printing.cpp.

#include "screen/screen.h"

#include <chrono>
#include <cstdlib>
#include <vector>

namespace quillfex {
namespace {

constexpr auto waitPoll_ms = std::chrono::milliseconds(50);
constexpr auto refreshInterval_ms = std::chrono::milliseconds(10);
// Right after a key arrives the program redraws within a few milliseconds; refreshing more often for a
// while shows the redrawn rows without waiting out a whole interval.
constexpr auto afterKeyInterval_ms = std::chrono::milliseconds(2);
constexpr auto afterKeySpan_ms = std::chrono::milliseconds(12);
constexpr Pixel outsideSurface = 0xFFFFFFFF;

// The screens that are open, so that the process's end closes them.
std::mutex openScreensLock;
std::vector<Screen*> openScreens;

void closeOpenScreens() {
  std::vector<Screen*> screens;
  {
    std::lock_guard guard(openScreensLock);
    screens = openScreens;
  }
  for (Screen* screen : screens) screen->closeScreen();
}

void registerOpen(Screen* screen) {
  static const bool registered = std::atexit(closeOpenScreens) == 0;
  (void)registered;
  std::lock_guard guard(openScreensLock);
  openScreens.push_back(screen);
}

void unregisterOpen(Screen* screen) {
  std::lock_guard guard(openScreensLock);
  std::erase(openScreens, screen);
}

bool insideSurface(int x, int y) { return x >= 0 && x < surfaceWidth && y >= 0 && y < surfaceHeight; }

}  // namespace

Screen::Screen() { resetState(); }

Screen::~Screen() { closeScreen(); }

void Screen::selectDriver(std::string_view name) { driverName_ = name; }

int Screen::openScreen(int width, int height, int bitsPerPixel) {
  if (driver_) return 0;
  if (width != surfaceWidth || height != surfaceHeight || bitsPerPixel != 32) return 1;
  for (std::string_view name : driverOrder(driverName_)) {
    if (openScreenWith(makeDriver(name)) == 0) return 0;
  }
  endIfNoDriverStarted();
  return 1;
}

int Screen::openScreenWith(std::unique_ptr<ScreenDriver> driver) {
  if (driver_) return 0;
  if (!driver) return 1;
  resetState();
  if (!startDriver(std::move(driver))) return 1;
  registerOpen(this);
  return 0;
}

void Screen::resetState() {
  std::lock_guard guard(lock_);
  surface_ = Surface();
  keys_ = KeyQueue();
  foreground_ = 0xFFFFFFFF;
  background_ = openingBlack;
  cursor_ = {1, 1};
  scrollPending_ = false;
}

bool Screen::startDriver(std::unique_ptr<ScreenDriver> driver) {
  driver_ = std::move(driver);
  const bool started = driver_->needsRefreshThread() ? startRefreshThread() : driver_->start(surface_);
  if (!started) driver_.reset();
  return started;
}

bool Screen::startRefreshThread() {
  std::promise<bool> started;
  std::future<bool> result = started.get_future();
  stopRefresh_ = false;
  refreshThread_ = std::thread([this, &started] { refreshLoop(started); });
  if (result.get()) return true;
  refreshThread_.join();
  return false;
}

void Screen::refreshLoop(std::promise<bool>& started) {
  const bool opened = driver_->start(surface_);
  started.set_value(opened);
  if (!opened) return;
  auto quickUntil = std::chrono::steady_clock::now();
  while (!stopRefresh_) {
    const auto now = std::chrono::steady_clock::now();
    if (refresh()) quickUntil = now + afterKeySpan_ms;
    std::this_thread::sleep_for(now < quickUntil ? afterKeyInterval_ms : refreshInterval_ms);
  }
  driver_->stop();
}

bool Screen::refresh() {
  std::lock_guard guard(lock_);
  if (const auto rows = surface_.changedRows()) {
    driver_->present(*rows);
    surface_.clearChangedMarks();
  }
  const bool keyWaitedBefore = keys_.keyPressed();
  driver_->deliverKeys(keys_, KeyDemand::refresh);
  return keys_.keyPressed() && !keyWaitedBefore;
}

void Screen::closeScreen() {
  if (!driver_) return;
  unregisterOpen(this);
  if (refreshThread_.joinable()) {
    stopRefresh_ = true;
    refreshThread_.join();
  } else {
    driver_->stop();
  }
  driver_.reset();
}

void Screen::queueKey(KeyCode code) {
  std::lock_guard guard(lock_);
  keys_.push(code);
}

std::string Screen::pollKey() {
  if (!driver_) return "";
  std::lock_guard guard(lock_);
  if (keys_.empty() && driverWithoutThread()) driver_->deliverKeys(keys_, KeyDemand::poll);
  const KeyCode code = keys_.take();
  if (code == 0) return "";
  if (code < 256) return std::string(1, static_cast<char>(code));
  return {'\xFF', static_cast<char>(code >> 8)};
}

void Screen::waitKey() {
  if (!driver_) return;
  if (driverWithoutThread()) {
    std::lock_guard guard(lock_);
    driver_->present({0, surfaceHeight - 1});
    surface_.clearChangedMarks();
  }
  for (;;) {
    {
      std::lock_guard guard(lock_);
      if (!keys_.keyPressed() && driverWithoutThread()) driver_->deliverKeys(keys_, KeyDemand::wait);
      if (keys_.takeKeyPressedMark()) return;
    }
    std::this_thread::sleep_for(waitPoll_ms);
  }
}

Pixel Screen::readPixel(int x, int y) const {
  std::lock_guard guard(lock_);
  return insideSurface(x, y) ? surface_.row(y)[x] : outsideSurface;
}

void Screen::writePixel(int x, int y, Pixel value) {
  std::lock_guard guard(lock_);
  if (!insideSurface(x, y)) return;
  surface_.row(y)[x] = value;
  surface_.markRows(y, 1);
}

TextCursor Screen::cursor() const {
  std::lock_guard guard(lock_);
  return cursor_;
}

bool Screen::scrollPending() const {
  std::lock_guard guard(lock_);
  return scrollPending_;
}

}  // namespace quillfex
