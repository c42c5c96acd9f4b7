#pragma once
// An open file as a range of bytes. Positions here count from 0; BinaryFile and the whole-file reads and
// writes build the program's rules on top of it.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillfex {

// How a file is opened: `read` an existing file read-only; `update` read-write without emptying it,
// created when missing; `existing` read-write, only if it exists (as raw devices are opened).
enum class FileAccess { read, update, existing };

class FileHandle {
 public:
  virtual ~FileHandle() = default;

  // Copies up to `count` bytes from `offset` into `into`; returns how many it copied (0 at or past the end
  // and on a failed read).
  virtual std::size_t readAt(std::uint64_t offset, char* into, std::size_t count) = 0;

  // Writes all of `bytes` at `offset`, extending the file as needed; false when the write failed.
  virtual bool writeAt(std::uint64_t offset, std::string_view bytes) = 0;

  // The file's size in bytes now.
  virtual std::uint64_t size() = 0;
};

}  // namespace quillfex
