#pragma once
// What the commands of one line work with: the sandbox, the current directory, the console, and the
// machine's faults and file attributes, which are read only when a command needs them.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "machine/file_attributes.h"
#include "machine/machine.h"
#include "machine/sandbox.h"
#include "text/windows_path.h"
#include "winsim/cmd/console.h"

namespace winsim {

class Shell {
 public:
  // The current directory is the drive folder the process runs in, else the system drive's root.
  Shell(std::string sandboxRoot, Console& console);

  Console& console() { return console_; }
  const std::string& sandboxRoot() const { return root_; }

  // A path as written in a command, made full from the current directory; nullopt for "" and UNC paths.
  std::optional<quillfex::WindowsPath> fullPath(std::string_view written) const;
  // The host path of a full path (names matched without regard to case); "" when there is none.
  std::string hostPath(const quillfex::WindowsPath& path) const { return sandbox_.hostPath(path); }
  std::string hostPath(std::string_view written) const;

  // Whether a host file is the system drive's \Boot\BCD or one of its logs, which Windows keeps open as the
  // store's registry hive while it runs.
  bool isLiveStore(const std::string& hostFile) const;

  // The sandbox's machine; nullptr, with the reason on standard error, when its description cannot be read.
  const Machine* machine();

  // What the machine's faults do to `command` for `arg`. A description that cannot be read makes every
  // such command fail.
  FaultEffect faultFor(const char* command, const std::string& arg);
  bool fails(const char* command, const std::string& arg) { return faultFor(command, arg) != FaultEffect::none; }

  FileAttributes& attributes();

 private:
  std::string root_;
  Sandbox sandbox_;
  Console& console_;
  quillfex::WindowsPath current_;
  std::optional<Machine> machine_;
  std::string machineError_;
  std::optional<FileAttributes> attributes_;
};

}  // namespace winsim
