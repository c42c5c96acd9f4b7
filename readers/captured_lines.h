#pragma once
// The lines of a captured text, as every reader of a capture file splits them: a line feed ends a line and
// a carriage return just before it is dropped; a last line without a line feed is read whole, a carriage
// return at its end included; reading past the end yields "". Lines may hold any byte.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillfex {

class CapturedLines {
 public:
  // The text must outlive the reading.
  explicit CapturedLines(std::string_view text) : text_(text) {}

  // True when every byte has been read.
  bool atEnd() const { return at_ >= text_.size(); }

  // The next line without its line end; "" once the end has been reached.
  std::string readLine() {
    if (atEnd()) return "";
    const std::size_t lineFeed = text_.find('\n', at_);
    if (lineFeed == std::string_view::npos) {
      std::string line(text_.substr(at_));
      at_ = text_.size();
      return line;
    }
    std::string line(text_.substr(at_, lineFeed - at_));
    at_ = lineFeed + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace quillfex
