#include "winsim/cmd/command_line.h"

#include <cstdlib>

extern char** environ;

namespace winsim {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// cmd ends a redirection's file name at these, unless they stand inside double quotes.
bool endsTarget(char c) { return isBlank(c) || c == '>' || c == '<' || c == '|' || c == '&'; }

bool isInternalDelimiter(char c) { return isBlank(c) || c == ',' || c == ';' || c == '='; }

std::string readTarget(std::string_view line, std::size_t& at) {
  while (at < line.size() && isBlank(line[at])) ++at;
  std::string target;
  bool quoted = false;
  for (; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && endsTarget(c)) {
      break;
    } else {
      target += c;
    }
  }
  return target;
}

// Backslashes count only before a double quote: 2n of them give n and the quote groups, 2n+1 give n and a
// literal quote.
void readBackslashes(std::string_view text, std::size_t& at, std::string& word) {
  const std::size_t first = at;
  while (at < text.size() && text[at] == '\\') ++at;
  const std::size_t count = at - first;
  if (at < text.size() && text[at] == '"') {
    word.append(count / 2, '\\');
    if (count % 2 == 1) {
      word += '"';
      ++at;
    }
  } else {
    word.append(count, '\\');
  }
}

std::string readRuntimeWord(std::string_view text, std::size_t& at) {
  std::string word;
  bool quoted = false;
  while (at < text.size() && (quoted || !isBlank(text[at]))) {
    const char c = text[at];
    if (c == '\\') {
      readBackslashes(text, at, word);
    } else if (c == '"' && quoted && at + 1 < text.size() && text[at + 1] == '"') {
      word += '"';  // "" inside quotes is a literal quote for the C runtime since 2008
      at += 2;
    } else if (c == '"') {
      quoted = !quoted;
      ++at;
    } else {
      word += c;
      ++at;
    }
  }
  return word;
}

}  // namespace

std::string lastPart(std::string_view written) {
  const std::size_t cut = written.find_last_of("\\:");
  return std::string(cut == std::string_view::npos ? written : written.substr(cut + 1));
}

std::optional<std::string> environmentValue(std::string_view name) {
  if (const char* exact = std::getenv(std::string(name).c_str())) return exact;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view variable(*entry);
    const std::size_t equals = variable.find('=');
    if (equals != std::string_view::npos && equalIgnoringCase(variable.substr(0, equals), name)) {
      return std::string(variable.substr(equals + 1));
    }
  }
  return std::nullopt;
}

std::string expandVariables(std::string_view line, const VariableLookup& lookup) {
  std::string expanded;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t open = line.find('%', at);
    const std::size_t close = open == std::string_view::npos ? open : line.find('%', open + 1);
    if (close == std::string_view::npos) break;
    expanded.append(line.substr(at, open - at));
    const std::string_view name = line.substr(open + 1, close - open - 1);
    if (auto value = name.empty() ? std::nullopt : lookup(name)) {
      expanded += *value;
      at = close + 1;
    } else {
      // The closing % may open the next name.
      expanded.append(line.substr(open, close - open));
      at = close;
    }
  }
  expanded.append(line.substr(at));
  return expanded;
}

CommandText splitRedirections(std::string_view line) {
  CommandText text;
  bool quoted = false;
  std::size_t at = 0;
  while (at < line.size()) {
    const char c = line[at];
    if (c == '"') quoted = !quoted;
    if (c != '>' || quoted) {
      text.command += c;
      ++at;
      continue;
    }
    Redirection redirection;
    ++at;
    if (at < line.size() && line[at] == '>') {
      redirection.append = true;
      ++at;
    }
    redirection.target = readTarget(line, at);
    text.redirections.push_back(std::move(redirection));
  }
  return text;
}

FirstWord splitFirstWord(std::string_view command) {
  std::size_t at = 0;
  while (at < command.size() && isBlank(command[at])) ++at;
  FirstWord first;
  bool quoted = false;
  for (; at < command.size() && (quoted || !isBlank(command[at])); ++at) {
    if (command[at] == '"') {
      quoted = !quoted;
    } else {
      first.name += command[at];
    }
  }
  first.rest = command.substr(at);
  return first;
}

std::vector<std::string> runtimeWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (true) {
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at == text.size()) return words;
    words.push_back(readRuntimeWord(text, at));
  }
}

std::vector<std::string> internalWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (true) {
    while (at < text.size() && isInternalDelimiter(text[at])) ++at;
    if (at == text.size()) return words;
    std::string word;
    bool quoted = false;
    for (; at < text.size() && (quoted || !isInternalDelimiter(text[at])); ++at) {
      if (text[at] == '"') {
        quoted = !quoted;
      } else {
        word += text[at];
      }
    }
    words.push_back(std::move(word));
  }
}

}  // namespace winsim
