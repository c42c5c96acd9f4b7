#include "platform/text_file.h"

#include "platform/os.h"

namespace quillfex {

namespace {
constexpr std::size_t chunkSize = 64 * 1024;
}

TextFile::TextFile(std::unique_ptr<FileHandle> handle) : handle_(std::move(handle)) {}

bool TextFile::fillBuffer() {
  if (bufferPosition_ < buffer_.size()) return true;
  if (!handle_) return false;
  buffer_.resize(chunkSize);
  const std::size_t got = handle_->readAt(fileOffset_, buffer_.data(), chunkSize);
  buffer_.resize(got);
  bufferPosition_ = 0;
  fileOffset_ += got;
  return got > 0;
}

bool TextFile::atEnd() { return !fillBuffer(); }

std::string TextFile::readLine() {
  std::string line;
  while (fillBuffer()) {
    const std::size_t lineFeed = buffer_.find('\n', bufferPosition_);
    if (lineFeed == std::string::npos) {
      line.append(buffer_, bufferPosition_);
      bufferPosition_ = buffer_.size();
      continue;
    }
    line.append(buffer_, bufferPosition_, lineFeed - bufferPosition_);
    bufferPosition_ = lineFeed + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  return line;
}

void TextFile::rewind() {
  buffer_.clear();
  bufferPosition_ = 0;
  fileOffset_ = 0;
}

TextFile openTextFile(Os& os, const std::string& path) { return TextFile(os.openForReading(path)); }

}  // namespace quillfex
