#include "screen/drivers/gdi_display.h"

#include <windows.h>

#include "screen/surface.h"

namespace quillfex {

void ScreenSaverPause::start() {
  BOOL active = FALSE;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) return;
  wasActive_ = active != FALSE;
  paused_ = true;
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
}

void ScreenSaverPause::restore() {
  if (!paused_) return;
  paused_ = false;
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, wasActive_ ? TRUE : FALSE, nullptr, 0);
}

bool switchDisplayToSurfaceMode() {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = surfaceWidth;
  mode.dmPelsHeight = surfaceHeight;
  mode.dmBitsPerPel = 32;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void restoreDisplayMode() { ChangeDisplaySettingsA(nullptr, 0); }

}  // namespace quillfex
