// dir /b [/a] [PATH...]: bare names, one a line, in the order NTFS keeps them. Only the bare format is
// simulated; a name pattern may hold * and ? in its last part.

#include <algorithm>

#include "winsim/cmd/command_line.h"
#include "winsim/cmd/commands.h"
#include "winsim/cmd/host_files.h"

namespace winsim {

namespace {

struct DirOptions {
  bool everyAttribute = false;  // /a: hidden and system entries too
  std::vector<std::string> paths;
};

// A folder and the pattern its names must match.
struct Listing {
  std::string folder;
  std::string pattern;
};

char upperLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool matches(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == '*') {
    for (std::size_t skip = 0; skip <= name.size(); ++skip) {
      if (matches(pattern.substr(1), name.substr(skip))) return true;
    }
    return false;
  }
  if (name.empty()) return false;
  return (pattern[0] == '?' || upperLetter(pattern[0]) == upperLetter(name[0])) &&
         matches(pattern.substr(1), name.substr(1));
}

bool hasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

std::optional<DirOptions> readDirOptions(Shell& shell, const std::vector<std::string>& words) {
  DirOptions options;
  for (const auto& word : words) {
    if (word.empty() || word[0] != '/') {
      options.paths.push_back(word);
    } else if (equalIgnoringCase(word, "/a")) {
      options.everyAttribute = true;
    } else if (!equalIgnoringCase(word, "/b")) {
      shell.console().error("Invalid switch - \"" + word.substr(1) + "\".");
      return std::nullopt;
    }
  }
  if (options.paths.empty()) options.paths.push_back(".");
  return options;
}

std::optional<Listing> listingOf(const Shell& shell, const std::string& written) {
  auto full = shell.fullPath(written);
  if (!full) return std::nullopt;
  const std::string host = shell.hostPath(*full);
  if (full->components.empty() || (isFolder(host) && !hasWildcard(full->components.back()))) {
    return Listing{host, "*"};
  }
  std::string pattern = full->components.back();
  full->components.pop_back();
  // Windows reads *.* as every name, those without a dot included.
  return Listing{shell.hostPath(*full), pattern == "*.*" ? "*" : pattern};
}

int listPath(Shell& shell, const std::string& written, bool everyAttribute) {
  const auto listing = listingOf(shell, written);
  if (!listing || !isFolder(listing->folder)) {
    shell.console().error("The system cannot find the path specified.");
    return 1;
  }
  std::vector<std::string> names;
  for (const auto& entry : readFolder(listing->folder)) {
    if (!matches(listing->pattern, entry.name)) continue;
    const std::string host = listing->folder + '/' + entry.name;
    if (!everyAttribute && (shell.attributes().hidden(host) || shell.attributes().system(host))) continue;
    names.push_back(entry.name);
  }
  if (names.empty()) {
    shell.console().error("File Not Found");
    return 1;
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return ntfsOrder(a, b); });
  for (const auto& name : names) shell.console().print(name);
  return 0;
}

}  // namespace

int dirCommand(Shell& shell, const std::vector<std::string>& words) {
  const auto options = readDirOptions(shell, words);
  if (!options) return 1;
  int status = 0;
  for (const auto& path : options->paths) status = std::max(status, listPath(shell, path, options->everyAttribute));
  return status;
}

}  // namespace winsim
