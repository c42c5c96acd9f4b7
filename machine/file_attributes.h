#pragma once
// Windows file attributes that a host file system has no room for: which files of the sandbox are read-only
// (R), hidden (H) and system (S) files. Kept in the sandbox's "attributes" file, one "FLAGS<TAB>relative
// path" a line.

#include <filesystem>
#include <map>
#include <string>

namespace winsim {

class FileAttributes {
 public:
  // Loads the attributes of the sandbox at root (none when it has no attributes file).
  explicit FileAttributes(std::filesystem::path root);

  // The letters of R, H and S that a host path inside the sandbox has, in that order: "", "H", "RHS", ...
  std::string of(const std::filesystem::path& file) const;
  bool readOnly(const std::filesystem::path& file) const { return of(file).find('R') != std::string::npos; }
  bool hidden(const std::filesystem::path& file) const { return of(file).find('H') != std::string::npos; }
  bool system(const std::filesystem::path& file) const { return of(file).find('S') != std::string::npos; }

  // Sets (or, with "", clears) a file's attributes.
  void set(const std::filesystem::path& file, const std::string& flags);

  // Writes the attributes file; false when it cannot be written.
  bool save() const;

 private:
  std::string key(const std::filesystem::path& file) const;

  std::filesystem::path root_;
  std::map<std::string, std::string> flags_;
};

}  // namespace winsim
