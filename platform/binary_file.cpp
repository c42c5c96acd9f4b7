#include "platform/binary_file.h"

#include <algorithm>

#include "platform/os.h"

namespace quillfex {

namespace {
constexpr std::size_t readAheadSize = 64 * 1024;
}

BinaryFile::BinaryFile(std::unique_ptr<FileHandle> handle) : handle_(std::move(handle)) {}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
  if (this != &other) {
    flush();
    handle_ = std::move(other.handle_);
    readOffset_ = other.readOffset_;
    pending_ = std::move(other.pending_);
    pendingOffset_ = other.pendingOffset_;
    readAhead_ = std::move(other.readAhead_);
    readAheadOffset_ = other.readAheadOffset_;
  }
  return *this;
}

BinaryFile::~BinaryFile() { flush(); }

void BinaryFile::flush() {
  if (handle_ && !pending_.empty()) handle_->writeAt(pendingOffset_, pending_);
  pending_.clear();
}

std::uint64_t BinaryFile::size() {
  if (!handle_) return 0;
  return std::max(handle_->size(), pendingOffset_ + pending_.size());
}

bool BinaryFile::atEnd() { return readOffset_ >= size(); }

std::string BinaryFile::read(std::size_t count) {
  flush();
  if (!handle_) return {};
  const bool inReadAhead =
      readOffset_ >= readAheadOffset_ && readOffset_ + count <= readAheadOffset_ + readAhead_.size();
  if (!inReadAhead) {
    readAhead_.resize(std::max(count, readAheadSize));
    readAhead_.resize(handle_->readAt(readOffset_, readAhead_.data(), readAhead_.size()));
    readAheadOffset_ = readOffset_;
  }
  std::string bytes = readAhead_.substr(readOffset_ - readAheadOffset_, count);
  readOffset_ += bytes.size();
  return bytes;
}

void BinaryFile::write(std::uint64_t position, std::string_view bytes) {
  if (!handle_ || position < 1) return;
  const std::uint64_t offset = position - 1;
  if (pending_.empty() || offset != pendingOffset_ + pending_.size()) {
    flush();
    pendingOffset_ = offset;
  }
  pending_.append(bytes);
  readAhead_.clear();
}

BinaryFile openBinaryFile(Os& os, const std::string& path) { return BinaryFile(os.openForUpdate(path)); }

}  // namespace quillfex
