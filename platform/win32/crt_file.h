#pragma once
// A FileHandle over a C runtime file descriptor, opened in binary mode and shared like the runtime's own
// file functions share.

#include <memory>
#include <string>

#include "platform/file_handle.h"

namespace quillfex {

// Opens a file as `access` says; null when it cannot be opened.
std::unique_ptr<FileHandle> openCrtFile(const std::string& path, FileAccess access);

}  // namespace quillfex
