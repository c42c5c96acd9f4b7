// Running a program from the current directory, as cmd starts the extracted editor: its output goes where
// the line's output goes, its errors to the console, and cmd waits for it.

#include <sys/stat.h>

#include <cerrno>

#include "posix/process.h"
#include "winsim/cmd/command_line.h"
#include "winsim/cmd/commands.h"
#include "winsim/cmd/host_files.h"

namespace winsim {

namespace {

// What cmd returns when it cannot start a program.
constexpr int notStarted = 9009;

// Windows runs a file without an executable bit, so the simulated machine gives it one.
bool makeRunnable(const std::string& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return false;
  if ((info.st_mode & S_IXUSR) != 0) return true;
  return ::chmod(file.c_str(), info.st_mode | S_IXUSR | S_IXGRP | S_IXOTH) == 0;
}

}  // namespace

std::string findProgram(const Shell& shell, const std::string& name) {
  const auto path = shell.fullPath(name);
  if (!path || path->components.empty()) return {};
  const std::string host = shell.hostPath(*path);
  if (isFile(host)) return host;
  const bool hasExtension = name.size() > 4 && equalIgnoringCase(name.substr(name.size() - 4), ".exe");
  if (hasExtension) return {};
  const std::string withExtension = shell.hostPath(name + ".exe");
  return isFile(withExtension) ? withExtension : std::string();
}

int programCommand(Shell& shell, const std::string& hostFile, const std::vector<std::string>& words) {
  shell.console().flush();
  quillfex::posix::ProcessStart start;
  start.arguments = {hostFile};
  start.arguments.insert(start.arguments.end(), words.begin(), words.end());
  start.environment = quillfex::posix::currentEnvironment();
  start.output = shell.console().outputFd();
  const auto end = makeRunnable(hostFile) ? quillfex::posix::runProcess(start)
                                          : quillfex::posix::Outcome<quillfex::posix::ProcessEnd>({"chmod", EACCES});
  if (!end) {
    shell.console().error("The system cannot execute the specified program.");
    return notStarted;
  }
  return end->status();
}

}  // namespace winsim
