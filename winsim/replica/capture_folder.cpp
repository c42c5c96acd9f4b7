#include "winsim/replica/capture_folder.h"

#include <fstream>
#include <sstream>

#include "text/text.h"

namespace winsim {

namespace fs = std::filesystem;

CaptureFolder::CaptureFolder(std::map<std::string, std::string> files, std::string shownAs)
    : shownAs_(std::move(shownAs)) {
  for (auto& [name, bytes] : files) files_[quillfex::lowerCase(name)] = std::move(bytes);
}

std::optional<CaptureFolder> CaptureFolder::read(const fs::path& folder, std::string& error) {
  std::error_code failure;
  if (!fs::is_directory(folder, failure)) {
    error = folder.string() + ": no capture folder there";
    return std::nullopt;
  }
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder, failure)) {
    if (!entry.is_regular_file(failure)) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) {
      error = entry.path().string() + ": cannot be read";
      return std::nullopt;
    }
    files[entry.path().filename().string()] = bytes.str();
  }
  if (failure) {
    error = folder.string() + ": cannot be read: " + failure.message();
    return std::nullopt;
  }
  return CaptureFolder(std::move(files), folder.string());
}

std::optional<std::string> CaptureFolder::file(std::string_view name) const {
  const auto found = files_.find(quillfex::lowerCase(name));
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

}  // namespace winsim
