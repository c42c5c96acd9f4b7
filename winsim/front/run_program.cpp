#include "winsim/front/run_program.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "machine/machine_file.h"
#include "machine/sandbox_layout.h"
#include "screen/key_script.h"

namespace winsim {

namespace fs = std::filesystem;

namespace {

bool takeValue(const std::vector<std::string>& args, std::size_t& at, std::string& value, std::string& error) {
  if (at + 1 >= args.size()) {
    error = args[at] + " needs a value";
    return false;
  }
  value = args[++at];
  return true;
}

bool checkOptions(const RunOptions& options, std::string& error) {
  if (options.program.empty()) {
    error = "no program to run: give it after --";
    return false;
  }
  if (!options.screen.empty() && options.screen != "headless" && options.screen != "tty" && options.screen != "sdl") {
    error = "--screen must be headless, tty or sdl";
    return false;
  }
  std::string keyError;
  if (!quillfex::parseKeyScript(options.keys, keyError)) {
    error = "--keys: " + keyError;
    return false;
  }
  return true;
}

// A program named by a path is found from where winsim was started, not from the machine's drive.
std::string programPath(const std::string& program) {
  return program.find('/') == std::string::npos ? program : fs::absolute(program).string();
}

}  // namespace

bool parseRunOptions(const std::vector<std::string>& args, RunOptions& options, std::string& error) {
  if (args.empty()) {
    error = "run needs a sandbox folder";
    return false;
  }
  options.sandbox = args[0];
  for (std::size_t at = 1; at < args.size(); ++at) {
    std::string snapshot;
    if (args[at] == "--") {
      options.program.assign(args.begin() + static_cast<long>(at) + 1, args.end());
      break;
    }
    if (args[at] == "--keys") {
      if (!takeValue(args, at, options.keys, error)) return false;
    } else if (args[at] == "--screen") {
      if (!takeValue(args, at, options.screen, error)) return false;
    } else if (args[at] == "--kill-after") {
      std::string count;
      if (!takeValue(args, at, count, error)) return false;
      if (count.empty() || count.size() > 6 || count.find_first_not_of("0123456789") != std::string::npos ||
          std::stoi(count) == 0) {
        error = "--kill-after needs a count of command lines from 1";
        return false;
      }
      options.killAfter = std::stoi(count);
    } else if (args[at] == "--snap") {
      if (!takeValue(args, at, snapshot, error)) return false;
      options.snapshot = fs::absolute(snapshot);
    } else {
      error = "unknown option " + args[at];
      return false;
    }
  }
  return checkOptions(options, error);
}

int runProgram(const RunOptions& options, std::string& error) {
  const fs::path root = fs::absolute(options.sandbox);
  const auto machine = loadMachineFile(layout::description(root).string(), error);
  if (!machine) return -1;
  const fs::path start = layout::drive(root, machine->systemDrive[0]);
  std::vector<std::string> program = options.program;
  program[0] = programPath(program[0]);

  const std::string killAt =
      options.killAfter > 0 ? std::to_string(transcriptLineCount(root.string()) + options.killAfter) : "";

  std::vector<char*> argv;
  for (auto& arg : program) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child < 0) {
    error = std::string("fork: ") + std::strerror(errno);
    return -1;
  }
  if (child == 0) {
    ::setenv("SystemDrive", machine->systemDrive.c_str(), 1);
    ::setenv("temp", machine->temp.c_str(), 1);
    ::setenv(sandboxVariable, root.c_str(), 1);
    ::setenv("QUILLFEX_KEYS", options.keys.c_str(), 1);
    if (!options.screen.empty()) ::setenv("QUILLFEX_SCREEN", options.screen.c_str(), 1);
    if (!options.snapshot.empty()) ::setenv("QUILLFEX_SNAP", options.snapshot.c_str(), 1);
    if (!killAt.empty()) ::setenv(killAtLineVariable, killAt.c_str(), 1);
    if (::chdir(start.c_str()) != 0) ::_exit(126);
    ::execvp(argv[0], argv.data());
    std::fprintf(stderr, "winsim: cannot run %s: %s\n", argv[0], std::strerror(errno));
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (options.killAfter > 0 && WTERMSIG(status) == SIGKILL) {
    std::fprintf(stderr, "winsim: the run was cut off after its command line %d\n", options.killAfter);
  }
  return 128 + WTERMSIG(status);
}

}  // namespace winsim
