#include "helper/command.h"

#include "platform/whole_file.h"

namespace quillfex {

namespace {

std::string captureFileName(CaptureSlot slot) { return "\\Quillfex.00" + std::to_string(static_cast<int>(slot)); }

bool needsQuotes(const std::string& value) { return value.find_first_of(" \t&|<>^(),;=") != std::string::npos; }

}  // namespace

int runCommand(Context& context, const std::string& line) { return context.os.runCommandLine(line); }

int runIntoCapture(Context& context, const std::string& line, CaptureSlot slot) {
  context.os.deleteFile(capturePath(context.os, slot));
  return runCommand(context, line);
}

std::string capturePath(Os& os, CaptureSlot slot) { return os.environmentVariable("temp") + captureFileName(slot); }

std::string readCapture(Os& os, CaptureSlot slot) { return readWholeFile(os, capturePath(os, slot)).value_or(""); }

std::string captureArgument(Os& os, CaptureSlot slot) {
  const std::string name = "%temp%" + captureFileName(slot);
  return needsQuotes(os.environmentVariable("temp")) ? '"' + name + '"' : name;
}

}  // namespace quillfex
