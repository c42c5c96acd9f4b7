#pragma once
// Binary access as the program uses it: a file opened for reading and writing without being emptied,
// created when missing, read from a running position and written at explicit positions counted from 1.
// A file that could not be opened reads as empty and swallows writes. Writes are gathered in memory and
// reach the file when they stop being consecutive, before a read, and at destruction; reads are served
// from a read-ahead buffer, so reading a byte or two at a time stays cheap.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_handle.h"

namespace quillfex {

class Os;

class BinaryFile {
 public:
  // A null handle stands for a file that could not be opened.
  explicit BinaryFile(std::unique_ptr<FileHandle> handle);
  BinaryFile(BinaryFile&&) noexcept = default;
  BinaryFile& operator=(BinaryFile&&) noexcept;
  ~BinaryFile();

  // True when the read position has reached the file's size.
  bool atEnd();

  // Up to `count` bytes from the read position, which moves past them; fewer at the end.
  std::string read(std::size_t count);

  // Writes `bytes` so that the first lands at `position` (1 is the file's first byte).
  void write(std::uint64_t position, std::string_view bytes);

  std::uint64_t size();

  // Sends gathered writes to the file.
  void flush();

 private:
  std::unique_ptr<FileHandle> handle_;
  std::uint64_t readOffset_ = 0;
  std::string pending_;              // consecutive bytes not yet written
  std::uint64_t pendingOffset_ = 0;  // where pending_ starts
  std::string readAhead_;            // bytes of the file from readAheadOffset_ on
  std::uint64_t readAheadOffset_ = 0;
};

// Opens a file by its Windows path for binary access.
BinaryFile openBinaryFile(Os& os, const std::string& path);

}  // namespace quillfex
