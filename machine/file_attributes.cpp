#include "machine/file_attributes.h"

#include <fstream>

namespace winsim {

namespace {
const char* const fileName = "attributes";
}

FileAttributes::FileAttributes(std::filesystem::path root) : root_(std::move(root)) {
  std::ifstream file(root_ / fileName);
  for (std::string line; std::getline(file, line);) {
    const auto tab = line.find('\t');
    if (tab != std::string::npos) flags_[line.substr(tab + 1)] = line.substr(0, tab);
  }
}

std::string FileAttributes::key(const std::filesystem::path& file) const {
  return file.lexically_normal().lexically_relative(root_.lexically_normal()).generic_string();
}

std::string FileAttributes::of(const std::filesystem::path& file) const {
  const auto found = flags_.find(key(file));
  return found == flags_.end() ? "" : found->second;
}

void FileAttributes::set(const std::filesystem::path& file, const std::string& flags) {
  if (flags.empty()) {
    flags_.erase(key(file));
  } else {
    flags_[key(file)] = flags;
  }
}

bool FileAttributes::save() const {
  std::ofstream file(root_ / fileName, std::ios::trunc);
  for (const auto& [path, flags] : flags_) file << flags << '\t' << path << '\n';
  return static_cast<bool>(file);
}

}  // namespace winsim
