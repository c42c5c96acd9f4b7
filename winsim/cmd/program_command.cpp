// Running a program from the current directory, as cmd starts the extracted editor: its output goes where
// the line's output goes, its errors to the console, and cmd waits for it.

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "winsim/cmd/command_line.h"
#include "winsim/cmd/commands.h"
#include "winsim/cmd/host_files.h"

extern char** environ;

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

int exitStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
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

int runProgram(Shell& shell, const std::string& hostFile, const std::string& name,
               const std::vector<std::string>& words) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(name.c_str()));
  for (const auto& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);

  shell.console().flush();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (shell.console().outputFd() != STDOUT_FILENO) {
    posix_spawn_file_actions_adddup2(&actions, shell.console().outputFd(), STDOUT_FILENO);
  }
  pid_t child = 0;
  const int failure =
      makeRunnable(hostFile) ? posix_spawn(&child, hostFile.c_str(), &actions, nullptr, argv.data(), environ) : EACCES;
  posix_spawn_file_actions_destroy(&actions);
  if (failure != 0) {
    shell.console().error("The system cannot execute the specified program.");
    return notStarted;
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return notStarted;
  }
  return exitStatus(status);
}

}  // namespace winsim
