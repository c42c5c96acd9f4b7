#pragma once
// Processes for the runs under Xvfb: a private X server on a display number it picks itself, a program in
// the background, and short commands with a time limit.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quillfex::testing {

// Xvfb at 1280 x 1024 x 24 on a free display, named in DISPLAY for this process and its children once it
// takes connections; not running when it did not within 15 s.
class XvfbServer {
 public:
  XvfbServer();
  ~XvfbServer();  // ends the server by its process id, killed when it has not ended within 5 s
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool running() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

// A program in a process group of its own, so that what it starts ends with it.
class BackgroundProgram {
 public:
  explicit BackgroundProgram(const std::vector<std::string>& argv);
  ~BackgroundProgram();  // ends the group if the program still runs
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;

  // The exit status once the program has ended, waiting at most limit; nullopt while it runs.
  std::optional<int> waitForExit(std::chrono::milliseconds limit);

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

struct CommandResult {
  int status = -1;  // 124 when it overran its limit
  std::string output;
};

// Runs argv (no argument holds a single quote) under timeout(1); its standard error is dropped.
CommandResult runCommand(const std::vector<std::string>& argv, int limit_s = 10);

}  // namespace quillfex::testing
