#pragma once
// Open files as descriptors that close themselves, and the reads and writes that a signal may interrupt,
// retried until they are done.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "posix/system_failure.h"

namespace quillfex::posix {

// Owns one file descriptor and closes it once, when it goes or when close() is called.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
  Descriptor& operator=(Descriptor&& other) noexcept;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { close(); }

  int get() const { return fd_; }
  // Hands the descriptor to a new owner, which closes it.
  int release();
  // Closes it now; the failure when close reports one (a write the disk refused late).
  std::optional<SystemFailure> close();

 private:
  int fd_ = -1;
};

// open(2) with close-on-exec, so that no started program inherits it unasked.
Outcome<Descriptor> openFile(const std::string& path, int flags, mode_t mode = 0644);

// write(2) until every byte is written.
std::optional<SystemFailure> writeAll(int fd, std::string_view bytes);

// One read(2) of up to `count` bytes; 0 at the end of the file.
Outcome<std::size_t> readSome(int fd, char* into, std::size_t count);

// pread(2) and pwrite(2) at `offset` until `count` bytes are read (fewer at the end of the file) or all
// are written.
Outcome<std::size_t> readAllAt(int fd, std::uint64_t offset, char* into, std::size_t count);
std::optional<SystemFailure> writeAllAt(int fd, std::uint64_t offset, std::string_view bytes);

}  // namespace quillfex::posix
