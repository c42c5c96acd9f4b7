// The SDL window and driver on SDL's display-less video driver: which pixels reach the window, and the
// keys and close request that the driver queues.

#include "screen/drivers/sdl_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "screen/drivers/sdl_driver.h"
#include "screen/screen.h"
#include "sdl_key_event.h"

namespace quillfex {
namespace {

using namespace std::chrono_literals;
using testing::keyDown;

void useDisplaylessVideo() { ::setenv("SDL_VIDEODRIVER", "dummy", 1); }

Pixel shownAt(const std::vector<Pixel>& shown, int x, int y) {
  return shown[static_cast<std::size_t>(y) * surfaceWidth + static_cast<std::size_t>(x)];
}

// Whether every pixel of rows first to last shows colour.
bool rowsShow(const std::vector<Pixel>& shown, int first, int last, Pixel colour) {
  for (int y = first; y <= last; ++y) {
    for (int x = 0; x < surfaceWidth; ++x) {
      if (shownAt(shown, x, y) != colour) return false;
    }
  }
  return true;
}

class SdlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    useDisplaylessVideo();
    window = SdlWindow::open("Quillfex");
    ASSERT_TRUE(window) << SDL_GetError();
  }

  std::unique_ptr<SdlWindow> window;
  Surface surface;
};

TEST_F(SdlWindowTest, ShowsEveryPixelsLowTwentyFourBits) {
  for (int y = 0; y < surfaceHeight; ++y) {
    for (int x = 0; x < surfaceWidth; ++x) {
      const Pixel topByte = static_cast<Pixel>((x + y) % 3) * 0x7F000000u;  // 00, 7F and FE: none is shown
      surface.row(y)[x] = topByte | static_cast<Pixel>(x * 0x1F3 + y * 0x10001);
    }
  }
  window->showRows(surface, {0, surfaceHeight - 1});
  const std::vector<Pixel> shown = window->drawnPixels();
  for (int y = 0; y < surfaceHeight; ++y) {
    for (int x = 0; x < surfaceWidth; ++x) {
      ASSERT_EQ(shownAt(shown, x, y), surface.row(y)[x] & 0xFFFFFF) << x << "," << y;
    }
  }
}

TEST_F(SdlWindowTest, OnlyTheGivenRowsReachTheWindow) {
  constexpr Pixel black = 0x000000, red = 0xFF0000, green = 0x00FF00;
  window->showRows(surface, {0, surfaceHeight - 1});
  surface.fillRows(10, 11, red);
  surface.fillRows(200, 11, green);

  window->showRows(surface, {10, 20});
  std::vector<Pixel> shown = window->drawnPixels();
  EXPECT_TRUE(rowsShow(shown, 0, 9, black));
  EXPECT_TRUE(rowsShow(shown, 10, 20, red));
  EXPECT_TRUE(rowsShow(shown, 21, 287, black)) << "rows 200 to 210 changed but were not given";

  window->showRows(surface, {200, 210});
  shown = window->drawnPixels();
  EXPECT_TRUE(rowsShow(shown, 10, 20, red));
  EXPECT_TRUE(rowsShow(shown, 21, 199, black));
  EXPECT_TRUE(rowsShow(shown, 200, 210, green));
  EXPECT_TRUE(rowsShow(shown, 211, 287, black));
}

// Pushes an event as the display would deliver it to the driver's thread.
void deliver(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

// The next key the program polls, waiting up to a second for the driver's refresh to queue it.
std::string nextPolledKey(Screen& screen) {
  const auto giveUp = std::chrono::steady_clock::now() + 1s;
  for (;;) {
    std::string key = screen.pollKey();
    if (!key.empty() || std::chrono::steady_clock::now() > giveUp) return key;
    std::this_thread::sleep_for(2ms);
  }
}

TEST(SdlDriverTest, CloseRequestQueuesTheCloseKeyAndKeysGoOn) {
  useDisplaylessVideo();
  Screen screen;
  ASSERT_EQ(screen.openScreenWith(makeSdlDriver()), 0);
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  deliver(close);
  EXPECT_EQ(nextPolledKey(screen), "\xFFk");
  deliver(keyDown(SDLK_DOWN));
  EXPECT_EQ(nextPolledKey(screen), "\xFFP");
  deliver(keyDown(SDLK_ESCAPE));
  EXPECT_EQ(nextPolledKey(screen), "\x1B");
  EXPECT_EQ(screen.pollKey(), "");
}

TEST(SdlDriverTest, StartFailsWithoutADisplaySoTheNextDriverTakesOver) {
  for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}) ::unsetenv(name);
  Screen withoutDisplay;
  EXPECT_EQ(withoutDisplay.openScreenWith(makeSdlDriver()), 1);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "no display variable: SDL is not even started";
  ::setenv("DISPLAY", ":no-such-display", 1);
  Screen displayThatDoesNotOpen;
  EXPECT_EQ(displayThatDoesNotOpen.openScreenWith(makeSdlDriver()), 1);
}

// Chosen by name, a window that does not open ends the run instead of leaving it without a screen.
TEST(SdlDriverDeathTest, ChosenWithoutADisplayEndsWithStatusTwo) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        for (const char* name : {"SDL_VIDEODRIVER", "WAYLAND_DISPLAY"}) ::unsetenv(name);
        ::setenv("DISPLAY", ":no-such-display", 1);
        ::setenv("QUILLFEX_SCREEN", "sdl", 1);
        Screen screen;
        screen.openScreen(surfaceWidth, surfaceHeight, 32);
      },
      ::testing::ExitedWithCode(2), "QUILLFEX_SCREEN=sdl: the screen did not open");
}

}  // namespace
}  // namespace quillfex
