#pragma once
// toml++ for winsim, compiled into each program that uses it, so the Windows build of the editor needs no
// library of its own. winsim reads TOML only through parseToml, which checks the text first: toml++ 3.3.0
// trusts what it has not checked, so a table header such as [[\x]] fails one of its assertions, and a
// character such as U+0312 outside a string reaches an unreachable branch of its whitespace table.

#ifndef TOML_HEADER_ONLY
#define TOML_HEADER_ONLY 1
#endif
#include <toml++/toml.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace winsim {

namespace detail {

struct TomlTextProblem {
  std::uint32_t line;
  std::string what;
};

// The length of the UTF-8 character at the front of text, or 0 when the bytes there are none.
inline std::size_t utf8Length(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || text.size() < length) return 0;
  char32_t codePoint = lead & (0x7F >> length);
  for (std::size_t at = 1; at < length; ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if ((byte & 0xC0) != 0x80) return 0;
    codePoint = codePoint << 6 | (byte & 0x3F);
  }
  static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < smallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
  return length;
}

inline bool isTomlBlank(char c) { return c == ' ' || c == '\t'; }
inline bool isTomlWhitespace(char c) { return isTomlBlank(c) || c == '\r' || c == '\n'; }
inline bool isTomlControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && !isTomlWhitespace(c)) || byte == 0x7F;
}
inline bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// What may follow the [ or [[ of a table header: a key, or the ] that toml++ reports itself.
inline bool beginsTableName(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '"' || c == '\'' || c == ']';
}

// Reads the text as toml++ will, as far as telling strings, comments, values and table headers apart,
// and returns the first thing in it that toml++ cannot take safely.
class TomlTextCheck {
 public:
  explicit TomlTextCheck(std::string_view text) : text_(text) {}

  std::optional<TomlTextProblem> firstProblem() {
    if (text_.starts_with("\xEF\xBB\xBF")) at_ = 3;
    for (; at_ < text_.size(); ++at_) {
      const std::size_t length = utf8Length(text_.substr(at_));
      if (length == 0) return problem("the text is not UTF-8");
      const char c = text_[at_];
      if (isTomlControl(c)) return problem("a control character other than a tab or a line end");
      if (length > 1) {
        if (inside_ == Inside::values)
          return problem("a character outside ASCII may stand only in a string or a comment");
        if (skippingWhitespace_) return problem("a character outside ASCII may not follow a line-ending backslash");
        at_ += length - 1;
        continue;
      }
      if (const auto found = step(c)) return found;
      if (c == '\n') ++line_;
    }
    return std::nullopt;
  }

 private:
  enum class Inside { values, comment, basicString, literalString, multiLineBasicString, multiLineLiteralString };

  TomlTextProblem problem(std::string what) const { return {line_, std::move(what)}; }

  bool isNext(std::string_view what) const { return text_.substr(at_ + 1).starts_with(what); }

  // Takes in c, an ASCII character, and what it starts or ends.
  std::optional<TomlTextProblem> step(char c) {
    switch (inside_) {
      case Inside::values:
        return valueCharacter(c);
      case Inside::comment:
        if (c == '\n') {
          inside_ = Inside::values;
          inKey_ = openers_.empty();
        }
        return std::nullopt;
      case Inside::basicString:
        if (c == '\\') return escape(false);
        if (c == '"' || c == '\n') inside_ = Inside::values;
        return std::nullopt;
      case Inside::literalString:
        if (c == '\'' || c == '\n') inside_ = Inside::values;
        return std::nullopt;
      case Inside::multiLineBasicString:
        if (skippingWhitespace_ && isTomlWhitespace(c)) return std::nullopt;
        skippingWhitespace_ = false;
        if (c == '\\') return escape(true);
        if (c == '"' && isNext("\"\"")) closeMultiLine(c);
        return std::nullopt;
      case Inside::multiLineLiteralString:
        if (c == '\'' && isNext("''")) closeMultiLine(c);
        return std::nullopt;
    }
    return std::nullopt;
  }

  std::optional<TomlTextProblem> valueCharacter(char c) {
    const bool lineStart = lineStart_;
    lineStart_ = c == '\n' || (lineStart_ && isTomlWhitespace(c));
    const char previous = previous_;
    previous_ = c;
    // toml++ reads a value that is no string, array or table up to the next blank, bracket or comma, and
    // looks up every character on the way: a quote there begins no string.
    if (inToken_ && !endsToken(c)) {
      if ((c == 'T' || c == 't') && isDigit(previous) && !(at_ + 1 < text_.size() && isDigit(text_[at_ + 1]))) {
        return problem("a date's T must be followed by a time");
      }
      return std::nullopt;
    }
    if (inToken_ && c == ' ' && isDateWithLoneDigit()) return problem("a date's time must have hours and minutes");
    inToken_ = false;
    if (c == '\n' && openers_.empty()) inKey_ = true;
    if (c == '=' || c == ']' || c == '}') inKey_ = false;
    if (c == ',') inKey_ = !openers_.empty() && openers_.back() == '{';
    if (c == '#') {
      inside_ = Inside::comment;
      lineStart_ = true;
      previous_ = '\n';
    } else if ((c == '"' || c == '\'') && mayBeginString(previous)) {
      const bool multiLine = isNext(std::string(2, c));
      if (multiLine) at_ += 2;
      inside_ = c == '"' ? (multiLine ? Inside::multiLineBasicString : Inside::basicString)
                         : (multiLine ? Inside::multiLineLiteralString : Inside::literalString);
    } else if (c == '[' && openers_.empty() && lineStart) {
      std::size_t name = at_ + (isNext("[") ? 2 : 1);
      while (name < text_.size() && isTomlBlank(text_[name])) ++name;
      if (name < text_.size() && !beginsTableName(text_[name])) return problem("a table header must hold a key");
      openers_ += c;
      inKey_ = true;
    } else if (c == '[' || c == '{') {
      openers_ += c;
      inKey_ = c == '{';
    } else if ((c == ']' || c == '}') && !openers_.empty()) {
      // toml++ takes a } among an array's values for the start of a value.
      if (openers_.back() != (c == ']' ? '[' : '{')) return problem(std::string("a '") + c + "' that closes nothing");
      openers_.pop_back();
    } else if (!inKey_ && !endsToken(c) && c != '=') {
      inToken_ = true;
      tokenStart_ = at_;
    }
    return std::nullopt;
  }

  // At the blank after a token: toml++ reads a date, a blank and one digit on as a date and time, up to
  // where it takes the next character for granted.
  bool isDateWithLoneDigit() const {
    std::string token(text_.substr(tokenStart_, at_ - tokenStart_));
    std::erase(token, '_');
    return token.size() == 10 && token[4] == '-' && token[7] == '-' && at_ + 2 < text_.size() &&
           isDigit(text_[at_ + 1]) && endsToken(text_[at_ + 2]);
  }

  static bool isDigit(char c) { return c >= '0' && c <= '9'; }
  static bool endsToken(char c) { return isTomlWhitespace(c) || c == ']' || c == '}' || c == ',' || c == '#'; }

  // Where a key, a part of a dotted key or a value may begin; toml++ reads 1."x" as one bad number.
  bool mayBeginString(char previous) const {
    return std::string_view(" \t\r\n=[{,").find(previous) != std::string_view::npos || (inKey_ && previous == '.');
  }

  // A backslash in a basic string and what it escapes; in a multi-line one, a blank or a line end after it
  // makes toml++ skip all whitespace up to the next character, which it then looks up in its table.
  std::optional<TomlTextProblem> escape(bool multiLine) {
    if (at_ + 1 >= text_.size()) return std::nullopt;
    const char next = text_[at_ + 1];
    if (!isAscii(next)) return problem("a character outside ASCII may not follow a backslash");
    if (multiLine && isTomlWhitespace(next)) {
      skippingWhitespace_ = true;
    } else if (next != '\n' && !isTomlControl(next)) {
      ++at_;
    }
    return std::nullopt;
  }

  // Three quotes end a multi-line string; toml++ takes up to two more before them as part of it.
  void closeMultiLine(char quote) {
    at_ += 2;
    for (int extra = 0; extra < 2 && isNext(std::string(1, quote)); ++extra) ++at_;
    inside_ = Inside::values;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  std::uint32_t line_ = 1;
  Inside inside_ = Inside::values;
  std::string openers_;  // the [ and { of values and headers that are still open, innermost last
  bool lineStart_ = true;
  char previous_ = '\n';  // the last character read outside strings and comments
  bool inKey_ = true;     // a key, not a value, is being read outside strings and comments
  bool inToken_ = false;  // within a value that is no string, array or table
  std::size_t tokenStart_ = 0;
  bool skippingWhitespace_ = false;
};

}  // namespace detail

// toml::parse after the check; what toml++ could not take safely is a toml::parse_error with its line.
inline toml::table parseToml(std::string_view text, std::string_view sourceName = {}) {
  if (const auto problem = detail::TomlTextCheck(text).firstProblem()) {
    throw toml::parse_error(problem->what.c_str(), toml::source_position{problem->line, 1},
                            std::make_shared<const std::string>(sourceName));
  }
  return toml::parse(text, sourceName);
}

// The node's value as T, or nullopt when it is of another type. A whole number must be written as one:
// toml++'s value<T>() converts a float too, and one beyond the range of int64_t is undefined behaviour there.
template <typename T>
std::optional<T> valueAs(const toml::node& node) {
  if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
    if (!node.is_integer()) return std::nullopt;
  }
  return node.value<T>();
}

}  // namespace winsim
