#pragma once
// The display settings that the Windows screen changes while it is open: the screen saver and, in full
// screen, the display mode.

namespace quillfex {

// Switches the screen saver off until restore, which puts back the setting found at the start.
class ScreenSaverPause {
 public:
  void start();
  void restore();

 private:
  bool paused_ = false;
  bool wasActive_ = false;
};

// Switches the display to 640 x 288 at 32 bits per pixel; false when the display refuses that mode.
bool switchDisplayToSurfaceMode();

// Back to the mode saved in the registry, the one the display had before the switch.
void restoreDisplayMode();

}  // namespace quillfex
