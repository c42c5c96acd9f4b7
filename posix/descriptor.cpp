#include "posix/descriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace quillfex::posix {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.release();
  }
  return *this;
}

int Descriptor::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

std::optional<SystemFailure> Descriptor::close() {
  if (fd_ < 0) return std::nullopt;
  // Linux frees the descriptor even when close is interrupted, so it is never retried.
  const bool closed = ::close(release()) == 0;
  if (closed) return std::nullopt;
  return failureOf("close");
}

Outcome<Descriptor> openFile(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return failureOf("open " + path);
  return Descriptor(fd);
}

std::optional<SystemFailure> writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    // A write of nothing would repeat for ever: the disk is full or gone.
    if (written <= 0) return SystemFailure{"write", written < 0 ? errno : EIO};
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return std::nullopt;
}

Outcome<std::size_t> readSome(int fd, char* into, std::size_t count) {
  while (true) {
    const ssize_t got = ::read(fd, into, count);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return failureOf("read");
  }
}

Outcome<std::size_t> readAllAt(int fd, std::uint64_t offset, char* into, std::size_t count) {
  std::size_t total = 0;
  while (total < count) {
    const ssize_t got = ::pread(fd, into + total, count - total, static_cast<off_t>(offset + total));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return failureOf("pread");
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

std::optional<SystemFailure> writeAllAt(int fd, std::uint64_t offset, std::string_view bytes) {
  std::size_t total = 0;
  while (total < bytes.size()) {
    const ssize_t put = ::pwrite(fd, bytes.data() + total, bytes.size() - total, static_cast<off_t>(offset + total));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return SystemFailure{"pwrite", put < 0 ? errno : EIO};
    total += static_cast<std::size_t>(put);
  }
  return std::nullopt;
}

}  // namespace quillfex::posix
