#include "winsim/cmd/code_page.h"

#include <cstdint>

#include "text/code_page_437.h"

namespace winsim {

namespace {

// The next character of a UTF-8 text; a byte that starts no valid sequence stands for itself.
char32_t nextCharacter(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  bool valid = length > 0 && at + length <= text.size();
  for (std::size_t i = 1; valid && i < length; ++i) valid = (byte(at + i) & 0xC0) == 0x80;
  if (!valid) return byte(at++);
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) c = (c << 6) | (byte(at + i) & 0x3F);
  at += length;
  return c;
}

// The console prints codes below 128 as ASCII and control characters, so the font's pictures there are no
// characters it can write.
char consoleByte(char32_t c) {
  const std::uint8_t code = quillfex::cp437FromUnicode(c);
  return c >= 0x80 && code < 0x80 ? '?' : static_cast<char>(code);
}

void appendUnit(std::string& out, char32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>((unit >> 8) & 0xFF);
}

}  // namespace

std::string toConsoleCodePage(std::string_view utf8) {
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) out += consoleByte(nextCharacter(utf8, at));
  return out;
}

std::string toUtf16Le(std::string_view utf8) {
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t c = nextCharacter(utf8, at);
    if (c < 0x10000) {
      appendUnit(out, c);
    } else {
      appendUnit(out, 0xD800 + ((c - 0x10000) >> 10));
      appendUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

}  // namespace winsim
