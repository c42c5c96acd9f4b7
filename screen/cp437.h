#pragma once
// Code page 437 as the screen uses it: the table itself is the text layer's, shared with winsim's console;
// what only keyboard input needs is here.

#include <cstdint>

#include "text/code_page_437.h"

namespace quillfex {

// A character of the Windows ANSI code page (Windows-1252) in code page 437.
std::uint8_t cp437FromAnsi(std::uint8_t character);

}  // namespace quillfex
