#include "platform/posix/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quillfex {

namespace {

class PosixFile final : public FileHandle {
 public:
  explicit PosixFile(int descriptor) : descriptor_(descriptor) {}
  ~PosixFile() override { ::close(descriptor_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  std::size_t readAt(std::uint64_t offset, char* into, std::size_t count) override {
    std::size_t total = 0;
    while (total < count) {
      const ssize_t got = ::pread(descriptor_, into + total, count - total, static_cast<off_t>(offset + total));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      total += static_cast<std::size_t>(got);
    }
    return total;
  }

  bool writeAt(std::uint64_t offset, std::string_view bytes) override {
    std::size_t total = 0;
    while (total < bytes.size()) {
      const ssize_t put =
          ::pwrite(descriptor_, bytes.data() + total, bytes.size() - total, static_cast<off_t>(offset + total));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      total += static_cast<std::size_t>(put);
    }
    return true;
  }

  std::uint64_t size() override {
    struct stat info {};
    return ::fstat(descriptor_, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  }

 private:
  int descriptor_;
};

}  // namespace

std::unique_ptr<FileHandle> openPosixFile(const std::string& hostPath, FileAccess access) {
  if (hostPath.empty()) return nullptr;
  const int flags = access == FileAccess::read ? O_RDONLY : access == FileAccess::update ? O_RDWR | O_CREAT : O_RDWR;
  int descriptor;
  do {
    descriptor = ::open(hostPath.c_str(), flags | O_CLOEXEC, 0644);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) return nullptr;
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(descriptor);
    return nullptr;
  }
  return std::make_unique<PosixFile>(descriptor);
}

}  // namespace quillfex
