// The Windows window's decisions that need no window: title, placement, keys and the rows a refresh copies.

#include "screen/drivers/gdi_rules.h"

#include <gtest/gtest.h>

namespace quillfex {
namespace {

TEST(WindowTitleTest, FileNameWithoutItsExtension) {
  struct Case {
    const char* modulePath;
    const char* title;
  };
  const Case cases[] = {
      {"C:\\Tools\\Quillfex.exe", "Quillfex"},
      {"C:\\Tools\\Quillfex", "Quillfex"},
      {"C:\\my.tools\\Quillfex", "Quillfex"},  // a full stop in a folder name is not the extension
      {"C:\\Tools\\Quill.fex.exe", "Quill.fex"},
      {"Quillfex.exe", "Quillfex"},
      {"C:\\Tools\\.exe", ""},
      {"C:\\Tools\\", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(programTitle(c.modulePath, "\\"), c.title) << c.modulePath;
}

TEST(WindowPlacementTest, CentredOnTheWholeMonitor) {
  struct Case {
    ScreenRect monitor;
    int outerWidth, outerHeight;
    WindowOrigin origin;
  };
  const Case cases[] = {
      {{0, 0, 1920, 1080}, 646, 317, {637, 381}},
      {{1920, 0, 3200, 1024}, 646, 317, {2237, 353}},  // a second monitor to the right
      {{-1280, -200, 0, 824}, 646, 317, {-963, 153}},  // left of and above the primary one
      {{0, 0, 640, 480}, 647, 317, {-4, 81}},          // wider than the monitor: the halving rounds down
      {{0, 0, 640, 288}, 640, 288, {0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(centredWindowOrigin(c.monitor, c.outerWidth, c.outerHeight), c.origin)
        << c.monitor.left << "," << c.monitor.top << " " << c.outerWidth << "x" << c.outerHeight;
  }
}

constexpr int none = 0;

struct KeyDownCase {
  const char* name;
  KeyDownEvent event;
  int second;  // the second character pollKey returns; none: nothing queued
};

TEST(KeyDownTest, ExtendedCodeOrNothing) {
  // virtualKey, extended, shift, ctrl, numLock, producesCharacter
  const KeyDownCase cases[] = {
      {"up", {virtualKey::up, true, false, false, false, false}, 0x48},
      {"shift up", {virtualKey::up, true, true, false, false, false}, 0x48},
      {"ctrl up", {virtualKey::up, true, false, true, false, false}, 0x8D},
      {"shift ctrl up", {virtualKey::up, true, true, true, false, false}, none},
      {"down", {virtualKey::down, true, false, false, true, false}, 0x50},
      {"ctrl left", {virtualKey::left, true, false, true, false, false}, 0x73},
      {"ctrl right", {virtualKey::right, true, false, true, false, false}, 0x74},
      {"home", {virtualKey::home, true, false, false, false, false}, 0x47},
      {"ctrl end", {virtualKey::end, true, false, true, false, false}, 0x75},
      {"ctrl page up", {virtualKey::pageUp, true, false, true, false, false}, 0x84},
      {"page down", {virtualKey::pageDown, true, false, false, false, false}, 0x51},
      {"insert", {virtualKey::insert, true, false, false, false, false}, 0x52},
      {"ctrl delete", {virtualKey::del, true, false, true, false, false}, 0x93},
      {"keypad up, num lock off", {virtualKey::up, false, false, false, false, false}, 0x48},
      {"keypad down, num lock off", {virtualKey::down, false, false, false, false, false}, 0x50},
      {"ctrl keypad up, num lock off", {virtualKey::up, false, false, true, false, false}, 0x8D},
      {"shift keypad up, num lock off", {virtualKey::up, false, true, false, false, false}, none},
      {"shift keypad delete, num lock off", {virtualKey::del, false, true, false, false, false}, none},
      // Shift turns the keypad's digits into cursor keys, and Windows reports Shift released for them.
      {"shift keypad up, num lock on", {virtualKey::up, false, true, false, true, false}, none},
      {"shift keypad down, num lock on, shift released", {virtualKey::down, false, false, false, true, false}, none},
      {"keypad 8, num lock on", {0x68, false, false, false, true, true}, none},
      {"keypad 5, num lock off", {0x0C, false, false, false, false, false}, none},
      {"f1", {virtualKey::f1, false, false, false, false, false}, 0x3B},
      {"shift f1", {virtualKey::f1, false, true, false, false, false}, 0x54},
      {"ctrl f9", {virtualKey::f1 + 8, false, false, true, false, false}, 0x66},
      {"f10", {virtualKey::f10, false, false, false, false, false}, none},
      {"f11", {virtualKey::f12 - 1, false, false, false, false, false}, 0x85},
      {"shift f11", {virtualKey::f12 - 1, false, true, false, false, false}, 0x87},
      {"ctrl f12", {virtualKey::f12, false, false, true, false, false}, 0x8A},
      {"f13", {virtualKey::f12 + 1, false, false, false, false, false}, none},
      {"letter a", {0x41, false, false, false, false, true}, none},
      {"enter", {virtualKey::enter, false, false, false, false, true}, none},
      {"shift alone", {0x10, false, true, false, false, false}, none},
      {"a key that types a character is left to WM_CHAR", {virtualKey::up, true, false, false, false, true}, none},
  };
  for (const KeyDownCase& c : cases) {
    const auto code = keyDownCode(c.event);
    if (c.second == none) {
      EXPECT_FALSE(code) << c.name;
    } else {
      EXPECT_EQ(code, extendedKey(c.second)) << c.name;
    }
  }
}

TEST(KeyDownTest, OnlyUpAndDownEndInHOrP) {
  for (int key = 0; key < 0x100; ++key) {
    for (int modifiers = 0; modifiers < 16; ++modifiers) {
      const KeyDownEvent event{
          key, (modifiers & 1) != 0, (modifiers & 2) != 0, (modifiers & 4) != 0, (modifiers & 8) != 0, false};
      const auto code = keyDownCode(event);
      if (!code || (*code != extendedKey('H') && *code != extendedKey('P'))) continue;
      EXPECT_TRUE(key == virtualKey::up || key == virtualKey::down) << key;
      EXPECT_FALSE(event.ctrl) << key;
      EXPECT_TRUE(event.extended || !event.shift || event.numLock) << key;
    }
  }
}

TEST(RepeatCountTest, LowSixteenBitsOfLParam) {
  struct Case {
    std::int64_t lParam;
    int count;
  };
  const Case cases[] = {
      {0x00480001, 1},       // up, first press
      {0x40480001, 1},       // held: the previous-state bit
      {0x01500005, 5},       // five repeats gathered into one message
      {0x2000FFFF, 0xFFFF},  // with Alt: the context bit
      {-0x7FFFFFFD, 3},      // a 64-bit lParam with its high bits set
  };
  for (const Case& c : cases) EXPECT_EQ(repeatCount(c.lParam), c.count) << std::hex << c.lParam;
}

TEST(SystemKeyTest, QueuesNothingWithholdsSomeAndSwitchesOnAltEnter) {
  using enum SystemKeyAction;
  struct Case {
    const char* name;
    SystemKeyEvent event;  // virtualKey, altHeld, repeat, windowActive
    SystemKeyAction action;
  };
  const Case cases[] = {
      {"alt enter", {virtualKey::enter, true, false, true}, switchFullScreen},
      {"alt enter held down", {virtualKey::enter, true, true, true}, withhold},
      {"alt enter, window inactive", {virtualKey::enter, true, false, false}, defaultHandling},
      {"f10", {virtualKey::f10, false, false, true}, withhold},
      {"alt itself", {virtualKey::alt, true, false, true}, withhold},
      {"alt f4", {virtualKey::f4, true, false, true}, withhold},
      {"alt space", {0x20, true, false, true}, defaultHandling},
      {"alt up", {virtualKey::up, true, false, true}, defaultHandling},
      {"alt letter", {0x46, true, false, true}, defaultHandling},
  };
  for (const Case& c : cases) EXPECT_EQ(systemKeyAction(c.event), c.action) << c.name;
}

TEST(RowCopyTest, ChangedRangeAsTopDownBitmap) {
  struct Case {
    RowRange rows;
    RowCopy copy;
  };
  const Case cases[] = {
      {{0, 287}, {0, 288, -288}},  // the whole surface
      {{16, 31}, {16, 16, -16}},   // one text row
      {{287, 287}, {287, 1, -1}},  // the last pixel row
      {{-4, 3}, {0, 4, -4}},       // cut at the top
      {{280, 400}, {280, 8, -8}},  // cut at the bottom
      {{10, 9}, {10, 0, 0}},       // empty
      {{300, 310}, {300, 0, 0}},   // below the surface
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rowCopyFor(c.rows), c.copy) << c.rows.first << ".." << c.rows.last;
  }
}

}  // namespace
}  // namespace quillfex
