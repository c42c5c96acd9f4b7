// The key queue, pollKey and waitKey, the extended-key table and the conversion to code page 437.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "screen/cp437.h"
#include "screen/key_codes.h"
#include "screen/screen.h"
#include "screen_support.h"

namespace quillfex {
namespace {

using namespace std::chrono_literals;

TEST(KeyQueueTest, SixteenKeysLoseTheFirst) {
  KeyQueue queue;
  for (KeyCode code = 1; code <= 16; ++code) queue.push(code);
  for (KeyCode code = 2; code <= 16; ++code) EXPECT_EQ(queue.take(), code);
  EXPECT_EQ(queue.take(), 0);
}

TEST(PollKeyTest, GivesNoneOneOrTwoCharacters) {
  Screen screen;
  ASSERT_EQ(screen.openScreenWith(testing::makeSilentDriver()), 0);
  for (KeyCode code : {13, 27, extendedKey(0x48), extendedKey(0x8D), extendedKey(0x6B)}) screen.queueKey(code);
  for (const char* text : {"\r", "\x1B", "\xFFH", "\xFF\x8D", "\xFFk", ""}) EXPECT_EQ(screen.pollKey(), text);
}

// Stands in for a window: its refresh thread queues the key that the test presses.
class PressableDriver final : public ScreenDriver {
 public:
  bool needsRefreshThread() const override { return true; }
  bool start(const Surface&) override { return true; }
  void present(RowRange) override {}
  void deliverKeys(KeyQueue& keys, KeyDemand) override {
    if (const KeyCode code = pressed.exchange(0)) keys.push(code);
  }
  void stop() override {}

  std::atomic<KeyCode> pressed{0};
};

TEST(WaitKeyTest, EachWaitNeedsAKeyPressedSinceTheLastPollOrWait) {
  auto driver = std::make_unique<PressableDriver>();
  PressableDriver& window = *driver;
  Screen screen;
  ASSERT_EQ(screen.openScreenWith(std::move(driver)), 0);
  screen.queueKey('x');
  screen.waitKey();  // at once: the key came after the last poll
  std::thread person([&] {
    std::this_thread::sleep_for(150ms);
    window.pressed = extendedKey(0x50);
  });
  const auto started = std::chrono::steady_clock::now();
  screen.waitKey();
  const auto waited = std::chrono::steady_clock::now() - started;
  person.join();
  EXPECT_GE(waited, 140ms);
  EXPECT_LT(waited, 1s);
  EXPECT_EQ(screen.pollKey(), "x") << "waits take no keys";
  EXPECT_EQ(screen.pollKey(), "\xFFP");
}

TEST(ExtendedKeyTest, EveryRowOfTheTable) {
  struct Row {
    Key key;
    int alone, withShift, withCtrl;  // 0: nothing
  };
  const Row table[] = {
      {Key::up, 0x48, 0x48, 0x8D},     {Key::down, 0x50, 0x50, 0x91},
      {Key::left, 0x4B, 0x4B, 0x73},   {Key::right, 0x4D, 0x4D, 0x74},
      {Key::home, 0x47, 0x47, 0x77},   {Key::end, 0x4F, 0x4F, 0x75},
      {Key::pageUp, 0x49, 0x49, 0x84}, {Key::pageDown, 0x51, 0x51, 0x76},
      {Key::insert, 0x52, 0x52, 0x92}, {Key::del, 0x53, 0x53, 0x93},
      {Key::f1, 0x3B, 0x54, 0x5E},     {Key::f2, 0x3C, 0x55, 0x5F},
      {Key::f3, 0x3D, 0x56, 0x60},     {Key::f4, 0x3E, 0x57, 0x61},
      {Key::f5, 0x3F, 0x58, 0x62},     {Key::f6, 0x40, 0x59, 0x63},
      {Key::f7, 0x41, 0x5A, 0x64},     {Key::f8, 0x42, 0x5B, 0x65},
      {Key::f9, 0x43, 0x5C, 0x66},     {Key::f10, 0, 0, 0},
      {Key::f11, 0x85, 0x87, 0x89},    {Key::f12, 0x86, 0x88, 0x8A},
      {Key::close, 0x6B, 0, 0},
  };
  const auto code = [](int second) { return second ? std::optional(extendedKey(second)) : std::nullopt; };
  for (const Row& row : table) {
    const int key = static_cast<int>(row.key);
    EXPECT_EQ(extendedKeyCode(row.key, {}), code(row.alone)) << "key " << key;
    EXPECT_EQ(extendedKeyCode(row.key, {.shift = true}), code(row.withShift)) << "Shift, key " << key;
    EXPECT_EQ(extendedKeyCode(row.key, {.ctrl = true}), code(row.withCtrl)) << "Ctrl, key " << key;
    EXPECT_EQ(extendedKeyCode(row.key, {.shift = true, .ctrl = true}), std::nullopt) << "both, key " << key;
  }
}

TEST(Cp437Test, UnicodeAndAnsiCharacters) {
  const std::pair<char32_t, int> codePoints[] = {
      {U'A', 'A'},  {13, 13},     {27, 27},     {U'é', 0x82}, {U'ÿ', 0x98}, {U'ß', 0xE1},    {U'☺', 0x01},
      {U'█', 0xDB}, {0xA0, 0xFF}, {U'⌂', 0x7F}, {U'Ω', 0xEA}, {U'€', '?'},  {0x10FFFF, '?'}, {U'ã', '?'},
  };
  for (auto [codePoint, expected] : codePoints) {
    EXPECT_EQ(cp437FromUnicode(codePoint), expected) << "U+" << std::hex << static_cast<int>(codePoint);
  }
  // As Windows converts them (WideCharToMultiByte to code page 437): the character, else its best fit, else '?'.
  const std::pair<int, int> ansi[] = {
      {'a', 'a'},  {8, 8},      {0xE9, 0x82}, {0xC4, 0x8E}, {0xA3, 0x9C}, {0xFF, 0x98}, {0x95, 0x07},
      {0xC0, 'A'}, {0xE3, 'a'}, {0xD8, 'O'},  {0xDE, '_'},  {0x8A, 'S'},  {0x92, '\''}, {0x93, '"'},
      {0x97, '-'}, {0x99, 'T'}, {0x87, 0xD8}, {0xA4, 0x0F}, {0x80, '?'},  {0x81, '?'},  {0x90, '?'},
  };
  for (auto [character, expected] : ansi) {
    EXPECT_EQ(cp437FromAnsi(static_cast<std::uint8_t>(character)), expected) << "ANSI " << std::hex << character;
  }
}

}  // namespace
}  // namespace quillfex
