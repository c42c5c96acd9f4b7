#include "platform/posix/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "posix/descriptor.h"

namespace quillfex {

namespace {

class PosixFile final : public FileHandle {
 public:
  explicit PosixFile(posix::Descriptor descriptor) : descriptor_(std::move(descriptor)) {}

  std::size_t readAt(std::uint64_t offset, char* into, std::size_t count) override {
    const auto got = posix::readAllAt(descriptor_.get(), offset, into, count);
    return got ? *got : 0;
  }

  bool writeAt(std::uint64_t offset, std::string_view bytes) override {
    return !posix::writeAllAt(descriptor_.get(), offset, bytes);
  }

  std::uint64_t size() override {
    struct stat info {};
    return ::fstat(descriptor_.get(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  }

 private:
  posix::Descriptor descriptor_;
};

}  // namespace

std::unique_ptr<FileHandle> openPosixFile(const std::string& hostPath, FileAccess access) {
  if (hostPath.empty()) return nullptr;
  const int flags = access == FileAccess::read ? O_RDONLY : access == FileAccess::update ? O_RDWR | O_CREAT : O_RDWR;
  auto descriptor = posix::openFile(hostPath, flags);
  if (!descriptor) return nullptr;
  struct stat info {};
  if (::fstat(descriptor->get(), &info) != 0 || S_ISDIR(info.st_mode)) return nullptr;
  return std::make_unique<PosixFile>(std::move(*descriptor));
}

}  // namespace quillfex
