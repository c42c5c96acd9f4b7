#include "screen/drivers/gdi_driver.h"

#include <windows.h>

#include <algorithm>

#include "screen/drivers/gdi_display.h"
#include "screen/drivers/gdi_rules.h"
#include "screen/drivers/gdi_window.h"

namespace quillfex {
namespace {

std::string programWindowTitle() {
  constexpr DWORD longestPath = 127;
  char path[longestPath + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, longestPath + 1);
  return programTitle(std::string_view(path, std::min(length, longestPath)), "\\");
}

// Everything runs on the screen's refresh thread, which therefore owns the window.
class GdiDriver final : public ScreenDriver {
 public:
  bool needsRefreshThread() const override { return true; }

  bool start(const Surface& surface) override {
    if (!registerScreenWindowClass()) return false;
    window_ = std::make_unique<ScreenWindow>(surface, programWindowTitle());
    if (!window_->open(WindowMode::windowed)) {
      window_.reset();
      unregisterScreenWindowClass();
      return false;
    }
    screenSaver_.start();
    return true;
  }

  void present(RowRange rows) override { window_->copyRows(rows); }

  void deliverKeys(KeyQueue& keys, KeyDemand) override {
    handleWaitingMessages();
    if (window_->takeModeSwitchRequest()) switchWindowMode();
    for (const KeyCode code : window_->takeKeys()) keys.push(code);
  }

  void stop() override {
    window_->close();
    if (window_->mode() == WindowMode::fullScreen) restoreDisplayMode();
    window_.reset();
    screenSaver_.restore();
    unregisterScreenWindowClass();
  }

 private:
  // Between window and full screen, by closing the window and opening it again; a display that refuses
  // the surface's mode leaves the window as it was.
  void switchWindowMode() {
    const WindowMode was = window_->mode();
    window_->close();
    if (was == WindowMode::fullScreen) restoreDisplayMode();
    if (was == WindowMode::windowed && switchDisplayToSurfaceMode()) {
      if (window_->open(WindowMode::fullScreen)) return showWholeSurface();
      restoreDisplayMode();
    }
    window_->open(WindowMode::windowed);
    showWholeSurface();
  }

  // The driver may not mark the screen's rows, so it copies all of them itself.
  void showWholeSurface() { window_->copyRows({0, surfaceHeight - 1}); }

  std::unique_ptr<ScreenWindow> window_;
  ScreenSaverPause screenSaver_;
};

}  // namespace

std::unique_ptr<ScreenDriver> makeGdiDriver() { return std::make_unique<GdiDriver>(); }

}  // namespace quillfex
