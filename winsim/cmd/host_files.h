#pragma once
// The host file operations the commands share. Failures come back as errno values; EINTR is retried.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

struct FolderEntry {
  std::string name;
  bool folder = false;
};

// The entries of a host folder, without "." and "..", in the order the host gives them; empty when it
// cannot be read.
std::vector<FolderEntry> readFolder(const std::string& folder);

// The order NTFS keeps a folder's names in: by their upper-case forms.
bool ntfsOrder(std::string_view a, std::string_view b);

bool isFolder(const std::string& path);
bool isFile(const std::string& path);

// Which file a path names (device and inode), so that two spellings of one file compare equal.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> identityOf(const std::string& path);

// 0, or the errno of the call that failed.
int copyFile(const std::string& from, const std::string& to);

// The folder part of a host path ("" for a bare name).
std::string parentOf(const std::string& path);

}  // namespace winsim
