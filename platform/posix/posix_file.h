#pragma once
// A FileHandle over a POSIX file descriptor.

#include <memory>
#include <string>

#include "platform/file_handle.h"

namespace quillfex {

// Opens a host file as `access` says. Null when it cannot be opened, or when it is a folder.
std::unique_ptr<FileHandle> openPosixFile(const std::string& hostPath, FileAccess access);

}  // namespace quillfex
