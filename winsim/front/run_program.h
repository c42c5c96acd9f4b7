#pragma once
// Running a program on a sandbox's machine, as the user would start it there.

#include <filesystem>
#include <string>
#include <vector>

namespace winsim {

struct RunOptions {
  std::filesystem::path sandbox;
  std::string keys;                  // a key script that reads, "Down Enter Esc"; "" for none
  std::string screen;                // headless, tty or sdl; "": the window or the terminal, else headless
  std::filesystem::path snapshot;    // PNG of the screen as the program ends; empty for none
  int killAfter = 0;                 // ends the program right after its N-th command line; 0 never
  std::vector<std::string> program;  // the program and its arguments
};

// Runs the program with SystemDrive, temp and QUILLFEX_SIM_ROOT set, its current folder the system drive's
// root, and the key script, screen and snapshot handed on in QUILLFEX_KEYS, QUILLFEX_SCREEN and
// QUILLFEX_SNAP. Returns the program's exit status (128 + the signal when one ended it; a run cut off by
// killAfter says so on standard error), or -1 with the reason in error when it cannot start.
int runProgram(const RunOptions& options, std::string& error);

}  // namespace winsim
