#pragma once
// Keeping an earlier file beside a new one instead of overwriting it.

#include <string>

#include "platform/os.h"

namespace quillfex {

// Renames path to the first free name of path + suffix, path + suffix + "2", ... and returns that name;
// "" when it could not be moved.
std::string moveAside(Os& os, const std::string& path, const std::string& suffix);

}  // namespace quillfex
