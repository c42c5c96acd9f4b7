#pragma once
// Windows path arithmetic, with no file system behind it: how a path written in a command line or passed
// to the C runtime becomes a full path, given the current directory.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillfex {

struct WindowsPath {
  char drive = 'C';                     // the letter as written; compare with sameDrive()
  std::vector<std::string> components;  // folders and file below the drive's root, in order

  // "C:\Boot\BCD", or "C:\" for the root.
  std::string text() const;
};

bool sameDrive(char a, char b);

// Reads a full path such as "C:\Boot" or "c:/boot/"; nullopt when the text is no full drive path.
std::optional<WindowsPath> parseFullPath(std::string_view text);

// The full path that `path` names while `current` is the current directory: "X:\..." as it stands,
// "\..." on the current drive, "X:name" and "name" relative to the current folder (or to X's root when X
// is another drive). "." and ".." are resolved; ".." stops at the root. nullopt for an empty path and for
// UNC and device paths ("\\server\share", "\\.\PhysicalDrive0").
std::optional<WindowsPath> fullWindowsPath(std::string_view path, const WindowsPath& current);

}  // namespace quillfex
