#pragma once
// Line reading in the C runtime's text mode: a line feed ends a line and a carriage return just before it
// is dropped; a last line without a line feed is read whole; reading past the end yields an empty line;
// a file that could not be opened has no lines. Lines may hold any byte, NUL included, and be of any length.

#include <memory>
#include <string>

#include "platform/file_handle.h"

namespace quillfex {

class Os;

class TextFile {
 public:
  // A null handle stands for a file that could not be opened.
  explicit TextFile(std::unique_ptr<FileHandle> handle);

  // True when every byte has been read (always, for a file that could not be opened).
  bool atEnd();

  // The next line without its line end; "" once the end has been reached.
  std::string readLine();

  // Back to the first byte.
  void rewind();

 private:
  bool fillBuffer();

  std::unique_ptr<FileHandle> handle_;
  std::string buffer_;
  std::size_t bufferPosition_ = 0;
  std::uint64_t fileOffset_ = 0;  // of the byte after the buffer
};

// Opens a file by its Windows path for line reading.
TextFile openTextFile(Os& os, const std::string& path);

}  // namespace quillfex
