#include "winsim/front/run_program.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "machine/machine_file.h"
#include "machine/sandbox_layout.h"
#include "posix/process.h"

namespace winsim {

namespace fs = std::filesystem;

namespace {

// A program named by a path is found from where winsim was started, not from the machine's drive.
std::string programPath(const std::string& program) {
  return program.find('/') == std::string::npos ? program : fs::absolute(program).string();
}

// The screen the program is told to use: the one asked for; else none, so that it opens its window or uses
// the terminal; else, where it has neither, the headless one, said on standard error.
std::string screenFor(const RunOptions& options) {
  if (!options.screen.empty()) return options.screen;
  const bool display = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
  if (display || (::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO))) return "";
  std::fputs("winsim: no display and no terminal: the program runs on the headless screen (--screen headless)\n",
             stderr);
  return "headless";
}

}  // namespace

int runProgram(const RunOptions& options, std::string& error) {
  const fs::path root = fs::absolute(options.sandbox);
  const auto machine = loadMachineFile(layout::description(root).string(), error);
  if (!machine) return -1;
  const std::string killAt =
      options.killAfter > 0 ? std::to_string(transcriptLineCount(root.string()) + options.killAfter) : "";

  quillfex::posix::ProcessStart start;
  start.arguments = options.program;
  start.arguments[0] = programPath(start.arguments[0]);
  start.workingDirectory = layout::drive(root, machine->systemDrive[0]).string();
  std::vector<std::pair<std::string, std::string>> variables = {{"SystemDrive", machine->systemDrive},
                                                                {"temp", machine->temp},
                                                                {sandboxVariable, root.string()},
                                                                {"QUILLFEX_KEYS", options.keys}};
  if (const std::string screen = screenFor(options); !screen.empty()) variables.emplace_back("QUILLFEX_SCREEN", screen);
  if (!options.snapshot.empty()) variables.emplace_back("QUILLFEX_SNAP", options.snapshot.string());
  if (!killAt.empty()) variables.emplace_back(killAtLineVariable, killAt);
  start.environment = quillfex::posix::withVariables(quillfex::posix::currentEnvironment(), variables);

  const auto end = quillfex::posix::runProcess(start);
  if (!end) {
    error = "cannot run " + options.program[0] + ": " + std::strerror(end.failure().error);
    return -1;
  }
  if (options.killAfter > 0 && end->signal == SIGKILL) {
    std::fprintf(stderr, "winsim: the run was cut off after its command line %d\n", options.killAfter);
  }
  return end->status();
}

}  // namespace winsim
