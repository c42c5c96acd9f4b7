#pragma once
// An in-memory operating system for in-process tests: files by full Windows path (letter case ignored),
// environment variables, disks as byte strings, and command lines recorded and answered by a hook.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/os.h"
#include "text/windows_path.h"

namespace quillfex::testing {

class FakeOs final : public Os {
 public:
  FakeOs();

  std::map<std::string, std::string> environment;
  std::vector<std::string> commandLines;
  std::function<void(const std::string& line)> onCommand;     // plays the command's effect
  std::function<int(const std::string& line)> commandStatus;  // the status a line ends with; 0 without it
  std::map<int, std::string> disks;                           // contents of \\.\PhysicalDriveN
  bool elevated = true;
  bool changeDirectoryFails = false;
  std::vector<std::string> undeletable;  // paths whose deleteFile fails silently, as a file in use does

  // Content of a file, or nullptr when it does not exist.
  const std::string* file(const std::string& path) const;
  void setFile(const std::string& path, std::string content);

  std::string environmentVariable(const std::string& name) override;
  bool changeDirectory(const std::string& path) override;
  std::string currentDirectory() override { return current_.text(); }
  std::unique_ptr<FileHandle> openForReading(const std::string& path) override;
  std::unique_ptr<FileHandle> openForUpdate(const std::string& path) override;
  void deleteFile(const std::string& path) override;
  // Folders are implied by the files in them.
  bool createFolder(const std::string&) override { return true; }
  std::string programFolder() override { return "C:\\Tools"; }
  bool renameFile(const std::string& from, const std::string& to) override;
  bool replaceFile(const std::string& from, const std::string& to) override;
  int runCommandLine(const std::string& line) override;
  std::uint32_t readRawSector(const std::string& devicePath, std::uint32_t offsetLow, std::uint32_t offsetHigh,
                              std::span<std::uint8_t, sectorSize> into) override;
  void hideConsoleWindow() override {}

  std::string lastDevicePath;
  std::uint32_t lastOffsetLow = 0, lastOffsetHigh = 0;

 private:
  std::string key(const std::string& path) const;

  WindowsPath current_{'C', {}};
  std::map<std::string, std::shared_ptr<std::string>> files_;
};

}  // namespace quillfex::testing
