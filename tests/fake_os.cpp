#include "fake_os.h"

#include <algorithm>
#include <cstring>

#include "text/text.h"

namespace quillfex::testing {

namespace {

class MemoryFile final : public FileHandle {
 public:
  explicit MemoryFile(std::shared_ptr<std::string> bytes) : bytes_(std::move(bytes)) {}

  std::size_t readAt(std::uint64_t offset, char* into, std::size_t count) override {
    if (offset >= bytes_->size()) return 0;
    const std::size_t got = std::min<std::size_t>(count, bytes_->size() - offset);
    std::memcpy(into, bytes_->data() + offset, got);
    return got;
  }

  bool writeAt(std::uint64_t offset, std::string_view bytes) override {
    if (bytes_->size() < offset + bytes.size()) bytes_->resize(offset + bytes.size(), '\0');
    bytes_->replace(offset, bytes.size(), bytes);
    return true;
  }

  std::uint64_t size() override { return bytes_->size(); }

 private:
  std::shared_ptr<std::string> bytes_;
};

}  // namespace

FakeOs::FakeOs() { environment["temp"] = "C:\\Temp"; }

std::string FakeOs::key(const std::string& path) const {
  const auto full = fullWindowsPath(path, current_);
  return full ? lowerCase(full->text()) : std::string();
}

const std::string* FakeOs::file(const std::string& path) const {
  const auto found = files_.find(key(path));
  return found == files_.end() ? nullptr : found->second.get();
}

void FakeOs::setFile(const std::string& path, std::string content) {
  files_[key(path)] = std::make_shared<std::string>(std::move(content));
}

std::string FakeOs::environmentVariable(const std::string& name) {
  const auto found = environment.find(name);
  return found == environment.end() ? "" : found->second;
}

bool FakeOs::changeDirectory(const std::string& path) {
  const auto full = fullWindowsPath(path, current_);
  if (!full || changeDirectoryFails) return false;
  current_ = *full;
  return true;
}

std::unique_ptr<FileHandle> FakeOs::openForReading(const std::string& path) {
  const auto found = files_.find(key(path));
  return found == files_.end() ? nullptr : std::make_unique<MemoryFile>(found->second);
}

std::unique_ptr<FileHandle> FakeOs::openForUpdate(const std::string& path) {
  auto& bytes = files_[key(path)];
  if (!bytes) bytes = std::make_shared<std::string>();
  return std::make_unique<MemoryFile>(bytes);
}

void FakeOs::deleteFile(const std::string& path) {
  for (const std::string& kept : undeletable) {
    if (key(kept) == key(path)) return;
  }
  files_.erase(key(path));
}

bool FakeOs::renameFile(const std::string& from, const std::string& to) {
  const auto source = files_.find(key(from));
  if (source == files_.end() || files_.count(key(to)) != 0) return false;
  auto bytes = source->second;
  files_.erase(source);
  files_[key(to)] = std::move(bytes);
  return true;
}

bool FakeOs::replaceFile(const std::string& from, const std::string& to) {
  const auto source = files_.find(key(from));
  if (source == files_.end()) return false;
  auto bytes = source->second;
  files_.erase(source);
  files_[key(to)] = std::move(bytes);
  return true;
}

int FakeOs::runCommandLine(const std::string& line) {
  commandLines.push_back(line);
  if (onCommand) onCommand(line);
  return commandStatus ? commandStatus(line) : 0;
}

std::uint32_t FakeOs::readRawSector(const std::string& devicePath, std::uint32_t offsetLow, std::uint32_t offsetHigh,
                                    std::span<std::uint8_t, sectorSize> into) {
  lastDevicePath = devicePath;
  lastOffsetLow = offsetLow;
  lastOffsetHigh = offsetHigh;
  const std::string prefix = "\\\\.\\PhysicalDrive";
  if (!elevated || devicePath.rfind(prefix, 0) != 0) return 6;
  const auto disk = disks.find(std::stoi(devicePath.substr(prefix.size())));
  if (disk == disks.end()) return 6;
  const std::uint64_t offset = (std::uint64_t{offsetHigh} << 32) | offsetLow;
  if (offset + sectorSize > disk->second.size()) return 38;
  std::memcpy(into.data(), disk->second.data() + offset, sectorSize);
  return 0;
}

}  // namespace quillfex::testing
