#include "screen/drivers/sdl_driver.h"

#include <SDL_events.h>
#include <unistd.h>

#include <array>

#include "screen/drivers/sdl_events.h"
#include "screen/drivers/sdl_window.h"
#include "screen/drivers/sdl_window_setup.h"
#include "screen/drivers/window_rules.h"

namespace quillfex {
namespace {

constexpr RowRange wholeSurface{0, surfaceHeight - 1};

std::string programPath() {
  std::array<char, 4096> path{};
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  return length > 0 ? std::string(path.data(), static_cast<std::size_t>(length)) : std::string();
}

class SdlDriver final : public ScreenDriver {
 public:
  bool needsRefreshThread() const override { return true; }

  bool start(const Surface& surface) override {
    surface_ = &surface;
    window_ = SdlWindow::open(programTitle(programPath(), "/"));
    if (!window_) return false;
    window_->showRows(surface, wholeSurface);
    return true;
  }

  void present(RowRange rows) override { window_->showRows(*surface_, rows); }

  void deliverKeys(KeyQueue& keys, KeyDemand) override {
    SDL_Event event;
    while (SDL_PollEvent(&event)) carryOut(events_.read(event, keys));
    if (frameChecksLeft_ > 0) frameChecksLeft_ = window_->centreWithFrame() ? 0 : frameChecksLeft_ - 1;
  }

  void stop() override { window_.reset(); }

 private:
  void carryOut(WindowRequest request) {
    if (request == WindowRequest::none) return;
    if (request == WindowRequest::switchFullScreen) window_->switchFullScreen();
    if (request == WindowRequest::enterFullScreen) window_->enterFullScreen();
    // After a switch, or when the window lost its picture, the whole surface is shown again.
    window_->showRows(*surface_, wholeSurface);
  }

  const Surface* surface_ = nullptr;
  std::unique_ptr<SdlWindow> window_;
  SdlEventReader events_;
  int frameChecksLeft_ = 50;  // a window manager reports the frame within half a second, if there is one
};

}  // namespace

std::unique_ptr<ScreenDriver> makeSdlDriver() { return std::make_unique<SdlDriver>(); }

}  // namespace quillfex
