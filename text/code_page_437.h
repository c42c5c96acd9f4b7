#pragma once
// Code page 437, the one 8-bit character set of both the screen (the font's glyph order, the character keys'
// codes) and the simulated console (what a US Windows writes).

#include <cstdint>

namespace quillfex {

// What the font draws for a code, as a Unicode code point (1 is a smiling face, 127 a house). Code 0 gives 0.
char32_t unicodeOfCp437(std::uint8_t code);

// The code page 437 character for a code point; codes below 128 stay as they are, control characters
// included. '?' where code page 437 has no such character, which is what Windows substitutes.
std::uint8_t cp437FromUnicode(char32_t codePoint);

}  // namespace quillfex
