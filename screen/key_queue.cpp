#include "screen/key_queue.h"

namespace quillfex {

void KeyQueue::push(KeyCode code) {
  slots_[write_] = code;
  write_ = (write_ + 1) % slotCount;
  if (write_ == read_) read_ = (read_ + 1) % slotCount;
  keyPressed_ = true;
}

KeyCode KeyQueue::take() {
  keyPressed_ = false;
  if (empty()) return 0;
  const KeyCode code = slots_[read_];
  read_ = (read_ + 1) % slotCount;
  return code;
}

bool KeyQueue::takeKeyPressedMark() {
  const bool wasSet = keyPressed_;
  keyPressed_ = false;
  return wasSet;
}

}  // namespace quillfex
