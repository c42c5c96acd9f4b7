#include "winsim/cmd/host_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace winsim {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

int openRetrying(const std::string& path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool statIs(const std::string& path, mode_t type) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

}  // namespace

std::vector<FolderEntry> readFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  const auto closeFolder = [](DIR* open) { ::closedir(open); };
  std::unique_ptr<DIR, decltype(closeFolder)> dir(::opendir(folder.c_str()), closeFolder);
  if (!dir) return entries;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const bool folderEntry = entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK ? isFolder(folder + '/' + name)
                                                                                    : entry->d_type == DT_DIR;
    entries.push_back({name, folderEntry});
  }
  return entries;
}

bool ntfsOrder(std::string_view a, std::string_view b) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return upper(x) < upper(y); });
}

bool isFolder(const std::string& path) { return statIs(path, S_IFDIR); }

bool isFile(const std::string& path) { return statIs(path, S_IFREG); }

std::optional<FileIdentity> identityOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino};
}

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

int copyFile(const std::string& from, const std::string& to) {
  const FileDescriptor source(openRetrying(from, O_RDONLY));
  if (source.get() < 0) return errno;
  const FileDescriptor target(openRetrying(to, O_WRONLY | O_CREAT | O_TRUNC, 0644));
  if (target.get() < 0) return errno;
  char buffer[1 << 16];
  while (true) {
    const ssize_t got = ::read(source.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return 0;
    if (const int failure = writeAll(target.get(), std::string_view(buffer, static_cast<std::size_t>(got)))) {
      return failure;
    }
  }
}

std::string parentOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace winsim
