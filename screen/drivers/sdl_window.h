#pragma once
// The SDL window that shows the surface: SDL's video, a window of exactly 640 x 288 that cannot be resized,
// its renderer and a streaming texture that holds the surface's pixels. Everything runs on the one thread
// that opened it, as SDL's video requires.

#include <SDL_render.h>
#include <SDL_video.h>

#include <memory>
#include <string>
#include <vector>

#include "screen/drivers/sdl_window_setup.h"
#include "screen/surface.h"

namespace quillfex {

class SdlWindow {
 public:
  // Starts SDL's video (X11 or Wayland unless SDL_VIDEODRIVER says otherwise), opens the window centred on
  // the display under the mouse pointer and switches the screen saver off. nullptr when there is no display.
  static std::unique_ptr<SdlWindow> open(const std::string& title);

  // Closes the window, switches the screen saver back on and ends SDL.
  ~SdlWindow();
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // The window opens centred as if it had no frame; the window manager reports the frame's size only some
  // time after. Once it has, this centres the window frame and all and returns true; false until then.
  bool centreWithFrame();

  // Copies pixel rows first to last of the surface into the texture, and shows the texture.
  void showRows(const Surface& surface, RowRange rows);

  // Alt+Enter: full screen at the desktop's mode with the picture scaled by a whole factor, or back to the
  // window. A switch that SDL refuses leaves the window as it was.
  void switchFullScreen();
  // A maximised window goes full screen.
  void enterFullScreen();
  bool fullScreen() const { return fullScreen_; }

  // The texture as the window draws it, 0x00RRGGBB row by row: what the next frame shows.
  std::vector<Pixel> drawnPixels();

 private:
  SdlWindow() = default;
  bool create(const std::string& title);
  void setFullScreen(bool on);
  void drawTexture();

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  DisplayRect display_{};  // the display under the mouse pointer when the window opened
  bool fullScreen_ = false;
};

}  // namespace quillfex
