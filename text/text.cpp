#include "text/text.h"

namespace quillfex {

std::string leftPart(std::string_view text, long n) {
  if (n <= 0) return {};
  return std::string(text.substr(0, static_cast<std::size_t>(n)));
}

std::string rightPart(std::string_view text, long n) {
  if (n <= 0) return {};
  if (static_cast<std::size_t>(n) >= text.size()) return std::string(text);
  return std::string(text.substr(text.size() - static_cast<std::size_t>(n)));
}

std::string middlePart(std::string_view text, long start) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size()) return {};
  return std::string(text.substr(static_cast<std::size_t>(start - 1)));
}

std::string middlePart(std::string_view text, long start, long count) {
  if (count <= 0) return {};
  return leftPart(middlePart(text, start), count);
}

long findText(std::string_view text, std::string_view pattern) {
  const auto at = text.find(pattern);
  return at == std::string_view::npos ? 0 : static_cast<long>(at) + 1;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && lowerCase(a) == lowerCase(b);
}

std::string lowerCase(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

}  // namespace quillfex
