#pragma once
// Starting a program and waiting for it, through posix_spawn: nothing of this process runs in the child
// between the fork and the program, so a child of a threaded program is as safe as any.

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "posix/system_failure.h"

namespace quillfex::posix {

struct ProcessStart {
  std::vector<std::string> arguments;    // arguments[0] is the program: a path, or a name looked up on PATH
  std::vector<std::string> environment;  // the child's whole environment, as NAME=value
  std::string workingDirectory;          // where the child starts; "" for this process's own folder
  int output = -1;                       // the child's standard output; -1 for this process's own
  int errors = -1;                       // its standard error; -1 for this process's own
  bool ownProcessGroup = false;          // the child leads a group of its own, so one kill reaches its children
};

// How a process ended: with an exit code, or by a signal.
struct ProcessEnd {
  int exitCode = 0;
  int signal = 0;  // 0 when it exited

  // As a shell reports it: the exit code, or 128 and the signal.
  int status() const { return signal != 0 ? 128 + signal : exitCode; }
};

// This process's environment, as NAME=value.
std::vector<std::string> currentEnvironment();
// `environment` with each name set to its value, in place of an entry of the same name.
std::vector<std::string> withVariables(std::vector<std::string> environment,
                                       const std::vector<std::pair<std::string, std::string>>& variables);

// Starts the program. A program that cannot be run (not found, not executable, a working directory that
// is not there) is a failure here, not a child that ends at once.
Outcome<pid_t> startProcess(const ProcessStart& start);
// Waits until the child ends.
Outcome<ProcessEnd> waitForProcess(pid_t child);
// Whether the child has ended, without waiting; its end when it has.
Outcome<std::optional<ProcessEnd>> processEnded(pid_t child);
// startProcess, then waitForProcess.
Outcome<ProcessEnd> runProcess(const ProcessStart& start);

}  // namespace quillfex::posix
