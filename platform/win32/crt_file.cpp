#include "platform/win32/crt_file.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>

namespace quillfex {

namespace {

class CrtFile final : public FileHandle {
 public:
  explicit CrtFile(int descriptor) : descriptor_(descriptor) {}
  ~CrtFile() override { _close(descriptor_); }
  CrtFile(const CrtFile&) = delete;
  CrtFile& operator=(const CrtFile&) = delete;

  std::size_t readAt(std::uint64_t offset, char* into, std::size_t count) override {
    if (_lseeki64(descriptor_, static_cast<__int64>(offset), SEEK_SET) < 0) return 0;
    std::size_t total = 0;
    while (total < count) {
      const unsigned piece = static_cast<unsigned>(std::min<std::size_t>(count - total, INT_MAX));
      const int got = _read(descriptor_, into + total, piece);
      if (got <= 0) break;
      total += static_cast<std::size_t>(got);
    }
    return total;
  }

  bool writeAt(std::uint64_t offset, std::string_view bytes) override {
    if (_lseeki64(descriptor_, static_cast<__int64>(offset), SEEK_SET) < 0) return false;
    std::size_t total = 0;
    while (total < bytes.size()) {
      const unsigned piece = static_cast<unsigned>(std::min<std::size_t>(bytes.size() - total, INT_MAX));
      const int put = _write(descriptor_, bytes.data() + total, piece);
      if (put <= 0) return false;
      total += static_cast<std::size_t>(put);
    }
    return true;
  }

  std::uint64_t size() override {
    const __int64 length = _filelengthi64(descriptor_);
    return length < 0 ? 0 : static_cast<std::uint64_t>(length);
  }

 private:
  int descriptor_;
};

}  // namespace

std::unique_ptr<FileHandle> openCrtFile(const std::string& path, FileAccess access) {
  const int flags = access == FileAccess::read     ? _O_RDONLY | _O_BINARY
                    : access == FileAccess::update ? _O_RDWR | _O_CREAT | _O_BINARY
                                                   : _O_RDWR | _O_BINARY;
  int descriptor = -1;
  if (_sopen_s(&descriptor, path.c_str(), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0) return nullptr;
  return std::make_unique<CrtFile>(descriptor);
}

}  // namespace quillfex
