#include "text/utf8.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "text/code_page_437.h"

namespace quillfex {

void appendUtf8(std::string& text, char32_t character) {
  const auto byte = [&](char32_t value) { text += static_cast<char>(value); };
  if (character < 0x80) {
    byte(character);
  } else if (character < 0x800) {
    byte(0xC0 | character >> 6);
    byte(0x80 | (character & 0x3F));
  } else if (character < 0x10000) {
    byte(0xE0 | character >> 12);
    byte(0x80 | (character >> 6 & 0x3F));
    byte(0x80 | (character & 0x3F));
  } else {
    byte(0xF0 | character >> 18);
    byte(0x80 | (character >> 12 & 0x3F));
    byte(0x80 | (character >> 6 & 0x3F));
    byte(0x80 | (character & 0x3F));
  }
}

std::size_t utf8LengthOf(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

std::optional<Utf8Character> utf8CharacterAt(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  const std::size_t length = utf8LengthOf(static_cast<unsigned char>(bytes[0]));
  if (length == 0 || bytes.size() < length) return std::nullopt;
  char32_t codePoint = static_cast<unsigned char>(bytes[0]) & (length == 1 ? 0x7F : 0x7F >> length);
  for (std::size_t at = 1; at < length; ++at) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    if ((byte & 0xC0) != 0x80) return std::nullopt;
    codePoint = codePoint << 6 | (byte & 0x3F);
  }
  static constexpr std::array<char32_t, 5> smallest = {0, 0, 0x80, 0x800, 0x10000};
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < smallest[length] || surrogate || codePoint > 0x10FFFF) return std::nullopt;
  return Utf8Character{length, codePoint};
}

std::string utf8OrCp437(std::string_view bytes) {
  std::string text;
  for (std::size_t at = 0; at < bytes.size();) {
    if (const auto character = utf8CharacterAt(bytes.substr(at))) {
      text.append(bytes.substr(at, character->length));
      at += character->length;
    } else {
      appendUtf8(text, unicodeOfCp437(static_cast<std::uint8_t>(bytes[at++])));
    }
  }
  return text;
}

std::string quotedUtf8(std::string_view bytes) {
  std::string quoted = "\"";
  for (const char c : utf8OrCp437(bytes)) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (code < 0x20 || code == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", code);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

}  // namespace quillfex
