#pragma once
// A program run by a test with its standard output and error caught in files.

#include <filesystem>
#include <string>

#include "posix/process.h"

namespace quillfex::testing {

struct CapturedRun {
  int status = -1;     // the exit code; -1 when the program could not start or a signal ended it
  std::string output;  // standard output
  std::string errors;  // standard error
};

// Runs the program with its output and errors in two files of `scratch`, which are gone afterwards.
CapturedRun runCapturing(posix::ProcessStart start, const std::filesystem::path& scratch);

}  // namespace quillfex::testing
