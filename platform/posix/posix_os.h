#pragma once
// The operating-system seam on POSIX hosts: every operation is played against a winsim sandbox.
// Drive X: is the folder drives/X, physical disk N the file disks/PhysicalDriveN, the current directory
// is kept here as a Windows path, and command lines go to winsim-cmd, whose console output is appended to
// console.log in the sandbox (on Windows it would go to the hidden console).

#include <optional>
#include <string>

#include "machine/machine.h"
#include "machine/sandbox.h"
#include "platform/os.h"

namespace quillfex {

class PosixOs final : public Os {
 public:
  // interpreter: the winsim-cmd program that runs command lines.
  PosixOs(std::string sandboxRoot, std::string interpreter);

  std::string environmentVariable(const std::string& name) override;
  bool changeDirectory(const std::string& path) override;
  std::string currentDirectory() override;
  std::unique_ptr<FileHandle> openForReading(const std::string& path) override;
  std::unique_ptr<FileHandle> openForUpdate(const std::string& path) override;
  void deleteFile(const std::string& path) override;
  bool createFolder(const std::string& path) override;
  std::string programFolder() override { return started_.text(); }
  bool renameFile(const std::string& from, const std::string& to) override;
  bool replaceFile(const std::string& from, const std::string& to) override;
  int runCommandLine(const std::string& line) override;
  std::uint32_t readRawSector(const std::string& devicePath, std::uint32_t offsetLow, std::uint32_t offsetHigh,
                              std::span<std::uint8_t, sectorSize> into) override;
  void hideConsoleWindow() override {}

  // The host path that a Windows path names from the current directory; "" when it names none.
  std::string hostPath(const std::string& path) const;

 private:
  winsim::Sandbox sandbox_;
  std::string interpreter_;
  std::optional<winsim::Machine> machine_;  // nullopt: a description that cannot be read, and every disk fails
  WindowsPath current_;
  WindowsPath started_;
};

}  // namespace quillfex
