#pragma once
// Keys as a terminal sends them (printable UTF-8, control characters and xterm, VT220, rxvt and Linux
// console escape sequences) turned into the screen's key codes, the same codes a window queues.

#include <cstddef>
#include <string_view>
#include <vector>

#include "screen/key_queue.h"

namespace quillfex {

// Whether the bytes may still go on: the start of a sequence at their end then waits for the rest.
enum class InputEnd { mayContinue, final };

struct TerminalKeys {
  std::vector<KeyCode> codes;
  std::size_t consumed = 0;  // bytes read; the rest is a sequence that has not fully arrived
};

// Reads every whole key in bytes. With InputEnd::final an unfinished sequence counts as far as it goes:
// a lone Esc is the Escape key. Esc before another key is Alt held with it, which queues nothing, as a
// window's system keys do; so are sequences that carry Alt or Meta. Backspace gives 8 also as 127.
TerminalKeys parseTerminalKeys(std::string_view bytes, InputEnd end);

}  // namespace quillfex
