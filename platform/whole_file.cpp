#include "platform/whole_file.h"

namespace quillfex {

bool fileExists(Os& os, const std::string& path) { return os.openForReading(path) != nullptr; }

std::optional<std::string> readWholeFile(Os& os, const std::string& path) {
  const auto file = os.openForReading(path);
  if (!file) return std::nullopt;
  std::string content(file->size(), '\0');
  content.resize(file->readAt(0, content.data(), content.size()));
  return content;
}

bool writeWholeFile(Os& os, const std::string& path, const std::string& content) {
  os.deleteFile(path);
  const auto file = os.openForUpdate(path);
  // The open does not empty the file: one whose delete failed would keep its old tail behind a shorter text.
  return file && file->size() == 0 && file->writeAt(0, content);
}

}  // namespace quillfex
