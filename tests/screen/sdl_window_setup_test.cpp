// The SDL window's title and place, decided before any window exists.

#include "screen/drivers/sdl_window_setup.h"

#include <gtest/gtest.h>

#include <vector>

#include "screen/drivers/window_rules.h"

namespace quillfex {
namespace {

TEST(SdlWindowSetupTest, VideoDriversByTheDisplayVariablesThatAreSet) {
  struct Row {
    const char* display;
    const char* waylandDisplay;
    const char* drivers;
  };
  const Row table[] = {
      {":0", nullptr, "x11"},
      {nullptr, "wayland-0", "wayland"},
      {":1", "wayland-0", "x11,wayland"},
      {nullptr, nullptr, ""},
      {"", "", ""},
      {"", "wayland-1", "wayland"},
  };
  for (const Row& row : table) {
    EXPECT_EQ(videoDriversToTry(row.display, row.waylandDisplay), row.drivers)
        << (row.display ? row.display : "(unset)") << " " << (row.waylandDisplay ? row.waylandDisplay : "(unset)");
  }
}

TEST(SdlWindowSetupTest, TitleIsTheProgramFileNameWithoutItsExtension) {
  struct Row {
    const char* path;
    const char* title;
  };
  const Row table[] = {
      {"/work/build/bin/Quillfex", "Quillfex"}, {"/opt/Quillfex.exe", "Quillfex"}, {"/a.b/tool.v2.bin", "tool.v2"},
      {"/opt/dir.d/Quillfex", "Quillfex"},      {"Quillfex", "Quillfex"},          {"", ""},
  };
  for (const Row& row : table) EXPECT_EQ(programTitle(row.path, "/"), row.title) << row.path;
}

TEST(SdlWindowSetupTest, DisplayHoldingThePointerElseTheFirst) {
  const std::vector<DisplayRect> displays = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}, {-1024, 200, 1024, 768}};
  struct Row {
    WindowPoint pointer;
    std::size_t display;
  };
  const Row table[] = {
      {{0, 0}, 0},       {{1919, 1079}, 0}, {{1920, 0}, 1},  {{3199, 1023}, 1}, {{-1, 200}, 2},
      {{-1024, 967}, 2}, {{-1, 199}, 0},    {{3200, 10}, 0}, {{2000, 1024}, 0},
  };
  for (const Row& row : table) {
    EXPECT_EQ(displayHolding(row.pointer, displays), row.display) << row.pointer.x << "," << row.pointer.y;
  }
  EXPECT_EQ(displayHolding({5, 5}, {}), 0u);
}

TEST(SdlWindowSetupTest, WholeWindowCentredOnTheDisplay) {
  struct Row {
    DisplayRect display;
    WindowBorders borders;
    WindowPoint client;
  };
  const Row table[] = {
      {{0, 0, 1280, 1024}, {}, {320, 368}},
      {{1920, 0, 1280, 1024}, {}, {2240, 368}},
      // A frame of 1 pixel and a caption of 24: the outer window is 642 x 313.
      {{0, 0, 1280, 1024}, {1, 24, 1, 1}, {320, 379}},
      // A display smaller than the window: it overhangs on both sides.
      {{0, 0, 600, 200}, {}, {-20, -44}},
      {{0, 0, 641, 289}, {}, {0, 0}},
  };
  for (const Row& row : table) {
    EXPECT_EQ(centredClientOrigin(row.display, 640, 288, row.borders), row.client)
        << row.display.left << " " << row.display.width << "x" << row.display.height;
  }
}

}  // namespace
}  // namespace quillfex
