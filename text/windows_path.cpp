#include "text/windows_path.h"

namespace quillfex {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool startsWithDrive(std::string_view text) { return text.size() >= 2 && isLetter(text[0]) && text[1] == ':'; }

// Appends the components of `relative` to `path`, resolving "." and "..".
void appendComponents(WindowsPath& path, std::string_view relative) {
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = start;
    while (end < relative.size() && !isSeparator(relative[end])) ++end;
    const std::string_view component = relative.substr(start, end - start);
    if (component == "..") {
      if (!path.components.empty()) path.components.pop_back();
    } else if (!component.empty() && component != ".") {
      path.components.emplace_back(component);
    }
    start = end + 1;
  }
}

}  // namespace

std::string WindowsPath::text() const {
  std::string text{drive, ':'};
  if (components.empty()) return text + '\\';
  for (const auto& component : components) text += '\\' + component;
  return text;
}

bool sameDrive(char a, char b) { return (a | 0x20) == (b | 0x20); }

std::optional<WindowsPath> parseFullPath(std::string_view text) {
  if (!startsWithDrive(text) || text.size() < 3 || !isSeparator(text[2])) return std::nullopt;
  WindowsPath path{text[0], {}};
  appendComponents(path, text.substr(3));
  return path;
}

std::optional<WindowsPath> fullWindowsPath(std::string_view path, const WindowsPath& current) {
  if (path.empty()) return std::nullopt;
  if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return std::nullopt;

  WindowsPath full = current;
  if (startsWithDrive(path)) {
    const char drive = path[0];
    path.remove_prefix(2);
    if (!sameDrive(drive, current.drive)) full.components.clear();
    full.drive = drive;
  }
  if (!path.empty() && isSeparator(path[0])) full.components.clear();
  appendComponents(full, path);
  return full;
}

}  // namespace quillfex
