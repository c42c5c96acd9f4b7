#include "posix/code_page_text.h"

#include <iconv.h>

#include <vector>

namespace quillfex::posix {

namespace {

std::optional<std::string> converted(std::string_view in, const std::string& from, const std::string& to) {
  const iconv_t converter = iconv_open(to.c_str(), from.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  // Four bytes a character is the most either side needs; a shift state is flushed at the end.
  std::vector<char> out(in.size() * 4 + 16);
  char* inAt = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char* outAt = out.data();
  std::size_t outLeft = out.size();
  const bool done = iconv(converter, &inAt, &inLeft, &outAt, &outLeft) != static_cast<std::size_t>(-1) &&
                    iconv(converter, nullptr, nullptr, &outAt, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(converter);
  if (!done) return std::nullopt;
  return std::string(out.data(), outAt);
}

// 65001 is what chcp calls UTF-8.
std::string iconvName(int codePage) { return codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage); }

}  // namespace

std::optional<std::string> utf8ToCodePage(std::string_view utf8, int codePage) {
  return converted(utf8, "UTF-8", iconvName(codePage));
}

std::optional<std::string> codePageToUtf8(std::string_view bytes, int codePage) {
  return converted(bytes, iconvName(codePage), "UTF-8");
}

}  // namespace quillfex::posix
