#pragma once
// The keys that have reached the screen and wait to be polled, and the key-pressed mark.

#include <array>

namespace quillfex {

// 1 to 255: a code page 437 character. From 256: an extended key, (c << 8) | 0xFF, where c is the second
// character that pollKey returns for it. 0: no key.
using KeyCode = int;

constexpr KeyCode extendedKey(int second) { return (second << 8) | 0xFF; }

class KeyQueue {
 public:
  // Queues a code and sets the key-pressed mark. When 15 keys wait already, the oldest is lost.
  void push(KeyCode code);

  // The oldest waiting code, or 0 when none waits; clears the key-pressed mark either way.
  KeyCode take();

  bool empty() const { return read_ == write_; }
  bool keyPressed() const { return keyPressed_; }

  // Reads and clears the key-pressed mark; the keys stay queued.
  bool takeKeyPressedMark();

 private:
  static constexpr int slotCount = 16;  // one slot stays free to tell full from empty
  std::array<KeyCode, slotCount> slots_{};
  int read_ = 0;
  int write_ = 0;
  bool keyPressed_ = false;
};

}  // namespace quillfex
