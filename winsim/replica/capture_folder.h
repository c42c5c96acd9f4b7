#pragma once
// A capture folder as quillfex-capture writes it, read whole: its files by name, letter case aside, since a
// copy through another file system may change it.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace winsim {

class CaptureFolder {
 public:
  // The files by name, for tests that hand their files over directly.
  explicit CaptureFolder(std::map<std::string, std::string> files, std::string shownAs = "the capture");

  // nullopt, with the reason in error, when the folder does not exist or cannot be read.
  static std::optional<CaptureFolder> read(const std::filesystem::path& folder, std::string& error);

  // The file's bytes; nullopt when the capture has no file of that name.
  std::optional<std::string> file(std::string_view name) const;

  // How messages name the folder.
  const std::string& shownAs() const { return shownAs_; }

 private:
  std::map<std::string, std::string> files_;  // by lowered name
  std::string shownAs_;
};

}  // namespace winsim
