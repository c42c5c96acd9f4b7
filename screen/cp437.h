#pragma once
// Code page 437: the screen's character set, the font's glyph order and the character keys' codes.

#include <cstdint>

namespace quillfex {

// What the font draws for a code, as a Unicode code point (1 is a smiling face, 127 a house). Code 0 gives 0.
char32_t unicodeOfCp437(std::uint8_t code);

// The code page 437 character for a code point; codes below 128 stay as they are, control characters
// included. '?' where code page 437 has no such character, which is what Windows substitutes.
std::uint8_t cp437FromUnicode(char32_t codePoint);

// A character of the Windows ANSI code page (Windows-1252) in code page 437.
std::uint8_t cp437FromAnsi(std::uint8_t character);

}  // namespace quillfex
