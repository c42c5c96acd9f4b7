#include "captured_run.h"

#include <fcntl.h>

#include <fstream>
#include <sstream>

#include "posix/descriptor.h"

namespace quillfex::testing {

namespace {

std::string takeFile(const std::filesystem::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  std::filesystem::remove(file);
  return text.str();
}

}  // namespace

CapturedRun runCapturing(posix::ProcessStart start, const std::filesystem::path& scratch) {
  const std::filesystem::path outputFile = scratch / "test-stdout", errorFile = scratch / "test-stderr";
  CapturedRun run;
  {
    const auto output = posix::openFile(outputFile.string(), O_WRONLY | O_CREAT | O_TRUNC);
    const auto errors = posix::openFile(errorFile.string(), O_WRONLY | O_CREAT | O_TRUNC);
    if (!output || !errors) return run;
    start.output = output->get();
    start.errors = errors->get();
    const auto end = posix::runProcess(start);
    if (end && end->signal == 0) run.status = end->exitCode;
  }
  run.output = takeFile(outputFile);
  run.errors = takeFile(errorFile);
  return run;
}

}  // namespace quillfex::testing
