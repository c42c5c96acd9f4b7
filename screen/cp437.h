#pragma once
// Code page 437 as the screen uses it: the table itself is the text layer's, shared with winsim's console;
// what only keyboard input needs is here.

#include <cstdint>

#include "text/code_page_437.h"

namespace quillfex {

// A typed character in code page 437 as Windows converts it: the character itself where the code page has it,
// else the one Windows puts for it (À gives A, a curly quote the straight one), else '?'.
std::uint8_t cp437FromTypedCharacter(char32_t codePoint);

// A character of the Windows ANSI code page (Windows-1252) in code page 437, as Windows converts it.
std::uint8_t cp437FromAnsi(std::uint8_t character);

}  // namespace quillfex
