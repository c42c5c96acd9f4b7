#pragma once
// capture.toml: the values the capture started from.

#include <optional>
#include <string>
#include <vector>

namespace winsim {

struct CaptureSettings {
  std::optional<std::string> systemDrive;     // "C:"
  std::optional<std::string> temp;            // a full path, "C:\Users\John Smith\AppData\Local\Temp"
  std::optional<bool> elevated;               // physical disk 0 opened
  std::optional<int> codePage;                // the console's, as chcp printed it; not in captures before 1.04
  std::optional<std::string> windowsVersion;  // ver's line; not in captures before 1.04
  std::optional<std::string> version;         // of the capturing program
  std::vector<std::string> problems;          // what did not read, one line each
};

// The settings of capture.toml's text; nullopt text: the file is missing.
CaptureSettings readCaptureSettings(const std::optional<std::string>& text);

// Whether the capturing program's version is 1.04 or later, which records the code page and Windows version.
bool recordsTheConsole(const std::string& version);

}  // namespace winsim
