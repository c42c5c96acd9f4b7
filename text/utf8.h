#pragma once
// UTF-8, the host's text: the terminal's input and output and the names a person reads in winsim's reports.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillfex {

// Appends the UTF-8 form of a code point below U+110000.
void appendUtf8(std::string& text, char32_t character);

// How many bytes a character that starts with `lead` has; 0 when no character starts with it.
std::size_t utf8LengthOf(unsigned char lead);

struct Utf8Character {
  std::size_t length;
  char32_t codePoint;
};

// The character that `bytes` start with; nullopt when they start with none: a byte out of place, an overlong
// form, a surrogate, a code point beyond U+10FFFF, or a character cut short.
std::optional<Utf8Character> utf8CharacterAt(std::string_view bytes);

// The bytes as UTF-8: each well-formed UTF-8 character as it is, every other byte read as code page 437 (the
// code page a Windows console may have written a name in).
std::string utf8OrCp437(std::string_view bytes);

// The bytes, read as utf8OrCp437 reads them, as a quoted string that JSON and TOML read back alike: quotes and
// backslashes escaped, control characters as \u00XX.
std::string quotedUtf8(std::string_view bytes);

}  // namespace quillfex
