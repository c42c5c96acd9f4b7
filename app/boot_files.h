#pragma once
// Keeping an earlier file beside a new one instead of overwriting it, and comparing the files a run made.

#include <string>

#include "helper/command_lines.h"
#include "platform/os.h"

namespace quillfex {

// Renames path to the first free name of path + suffix, path + suffix + "2", ... and returns that name;
// "" when it could not be moved.
std::string moveAside(Os& os, const std::string& path, const std::string& suffix);

// Writes a copy of path under the first free name of those moveAside tries and returns that name; "" unless a
// copy equal to it is there afterwards. The file itself stays where it is.
std::string keepCopy(Os& os, const std::string& path, const std::string& suffix);

// Whether both files can be read and hold the same bytes, and at least one byte.
bool sameContent(Os& os, const std::string& path, const std::string& otherPath);

}  // namespace quillfex
