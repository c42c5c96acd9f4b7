#pragma once
// Text between UTF-8 and a Windows code page (850, 852, 866, 932, 936, ...), as a console of that code page
// writes it, through the C library's iconv.

#include <optional>
#include <string>
#include <string_view>

namespace quillfex::posix {

// nullopt when iconv knows no such code page, or a character has no place in it.
std::optional<std::string> utf8ToCodePage(std::string_view utf8, int codePage);

// nullopt when iconv knows no such code page, or the bytes are no text in it.
std::optional<std::string> codePageToUtf8(std::string_view bytes, int codePage);

}  // namespace quillfex::posix
