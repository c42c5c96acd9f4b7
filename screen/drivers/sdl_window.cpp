#include "screen/drivers/sdl_window.h"

#include <SDL.h>

#include <cstdlib>

#include "screen/drivers/sdl_window_setup.h"

namespace quillfex {
namespace {

constexpr int surfacePitch = surfaceWidth * static_cast<int>(sizeof(Pixel));

bool startVideo() {
  // Without a desktop, SDL would try the console's KMS display; the terminal driver fits better there.
  // SDL_VIDEODRIVER, when set, still chooses.
  if (!std::getenv("SDL_VIDEODRIVER")) {
    const std::string drivers = videoDriversToTry(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    if (drivers.empty()) return false;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  }
  // SDL's own SIGINT handler would turn Ctrl+C in the starting terminal into a close request.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The close button must only queue the close key, never end SDL's event loop.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

DisplayRect displayUnderPointer() {
  std::vector<DisplayRect> displays;
  for (int index = 0; index < SDL_GetNumVideoDisplays(); ++index) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(index, &bounds) == 0) displays.push_back({bounds.x, bounds.y, bounds.w, bounds.h});
  }
  if (displays.empty()) return {0, 0, surfaceWidth, surfaceHeight};
  WindowPoint pointer{};
  SDL_GetGlobalMouseState(&pointer.x, &pointer.y);
  return displays[displayHolding(pointer, displays)];
}

SDL_Renderer* createRenderer(SDL_Window* window) {
  if (SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0)) return renderer;
  return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

}  // namespace

std::unique_ptr<SdlWindow> SdlWindow::open(const std::string& title) {
  if (!startVideo()) {
    SDL_Quit();  // also forgets the hints, which outlive SDL_QuitSubSystem
    return nullptr;
  }
  std::unique_ptr<SdlWindow> window(new SdlWindow);
  if (!window->create(title)) return nullptr;
  return window;
}

SdlWindow::~SdlWindow() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_EnableScreenSaver();
  SDL_Quit();
}

bool SdlWindow::create(const std::string& title) {
  display_ = displayUnderPointer();
  const WindowPoint origin = centredClientOrigin(display_, surfaceWidth, surfaceHeight, {});
  window_ = SDL_CreateWindow(title.c_str(), origin.x, origin.y, surfaceWidth, surfaceHeight, SDL_WINDOW_HIDDEN);
  if (!window_) return false;
  renderer_ = createRenderer(window_);
  if (!renderer_) return false;
  // In full screen the picture keeps its proportions and its pixels stay square.
  SDL_RenderSetLogicalSize(renderer_, surfaceWidth, surfaceHeight);
  SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
  texture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, surfaceWidth, surfaceHeight);
  if (!texture_) return false;
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  SDL_DisableScreenSaver();
  SDL_StartTextInput();
  return true;
}

bool SdlWindow::centreWithFrame() {
  WindowBorders borders;
  const bool told =
      SDL_GetWindowBordersSize(window_, &borders.top, &borders.left, &borders.bottom, &borders.right) == 0 &&
      borders.top + borders.left + borders.bottom + borders.right > 0;
  if (!told) return false;
  const WindowPoint origin = centredClientOrigin(display_, surfaceWidth, surfaceHeight, borders);
  SDL_SetWindowPosition(window_, origin.x, origin.y);
  return true;
}

void SdlWindow::showRows(const Surface& surface, RowRange rows) {
  const SDL_Rect band{0, rows.first, surfaceWidth, rows.last - rows.first + 1};
  SDL_UpdateTexture(texture_, &band, surface.row(rows.first), surfacePitch);
  drawTexture();
  SDL_RenderPresent(renderer_);
}

void SdlWindow::switchFullScreen() { setFullScreen(!fullScreen_); }

void SdlWindow::enterFullScreen() {
  if (!fullScreen_) setFullScreen(true);
}

void SdlWindow::setFullScreen(bool on) {
  if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
  // A window that went full screen because it was maximised comes back at its own size.
  if (!on) SDL_RestoreWindow(window_);
  fullScreen_ = on;
}

std::vector<Pixel> SdlWindow::drawnPixels() {
  drawTexture();
  std::vector<Pixel> pixels(static_cast<std::size_t>(surfaceWidth) * surfaceHeight);
  SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), surfacePitch);
  for (Pixel& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

void SdlWindow::drawTexture() {
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
}

}  // namespace quillfex
