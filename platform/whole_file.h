#pragma once
// Whole-file reads and writes through the operating-system seam, for the small files (stores, backups)
// that are compared or replaced as a whole.

#include <optional>
#include <string>

#include "platform/os.h"

namespace quillfex {

bool fileExists(Os& os, const std::string& path);

// The whole file; nullopt when it cannot be opened.
std::optional<std::string> readWholeFile(Os& os, const std::string& path);

// Replaces the file's content; false when it cannot be written, or when the old file could not be deleted
// (it is then left as it was).
bool writeWholeFile(Os& os, const std::string& path, const std::string& content);

}  // namespace quillfex
