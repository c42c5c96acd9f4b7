#include "helper/command.h"

namespace quillfex {

namespace {

std::string captureFileName(int n) { return "\\Quillfex.00" + std::to_string(n); }

bool needsQuotes(const std::string& value) { return value.find_first_of(" \t&|<>^(),;=") != std::string::npos; }

}  // namespace

int runCommand(Context& context, const std::string& line) { return context.os.runCommandLine(line); }

int runIntoCapture(Context& context, const std::string& line, int n) {
  context.os.deleteFile(capturePath(context.os, n));
  return runCommand(context, line);
}

std::string capturePath(Os& os, int n) { return os.environmentVariable("temp") + captureFileName(n); }

std::string captureArgument(Os& os, int n) {
  const std::string name = "%temp%" + captureFileName(n);
  return needsQuotes(os.environmentVariable("temp")) ? '"' + name + '"' : name;
}

}  // namespace quillfex
