#include "readers/mounted_devices.h"

#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/binary_file.h"
#include "readers/captured_lines.h"
#include "text/text.h"

namespace quillfex {

namespace {
constexpr long signatureColumn = 24;
constexpr long signatureLength = 11;
}  // namespace

std::string narrowedExport(std::string_view exported) {
  std::string narrowed;
  narrowed.reserve((exported.size() + 1) / 2);
  for (std::size_t at = 0; at < exported.size(); at += 2) narrowed += exported[at];
  return narrowed;
}

bool namesLetter(std::string_view line, char letter) {
  std::string name = "DosDevices\\\\";
  name += letter;
  name += ':';
  return findText(line, name) > 0;
}

std::string signatureTextOf(std::string_view line) { return middlePart(line, signatureColumn, signatureLength); }

LetterLines letterLinesIn(std::string_view narrowed, char letter) {
  LetterLines found;
  CapturedLines lines(narrowed);
  while (!lines.atEnd()) {
    std::string line = lines.readLine();
    if (namesLetter(line, letter)) {
      found.lines.push_back({line, signatureTextOf(line)});
      found.lastOtherLine.reset();
    } else {
      found.lastOtherLine = std::move(line);
    }
  }
  return found;
}

void exportMountedDevices(Context& context) {
  ProgramState& state = context.state;
  runIntoCapture(context, exportMountedDevicesCommand(context.os), CaptureSlot::registryExport);
  context.os.deleteFile(capturePath(context.os, CaptureSlot::narrowedExport));
  BinaryFile exportFile = openBinaryFile(context.os, capturePath(context.os, CaptureSlot::registryExport));
  BinaryFile narrowedFile = openBinaryFile(context.os, capturePath(context.os, CaptureSlot::narrowedExport));
  const std::string exported = exportFile.read(exportFile.size());
  narrowedFile.write(1, narrowedExport(exported));
  if (exported.empty()) return;
  // Narrowing went through the export two bytes at a time, the first into lineBuffer, the second into entryId.
  const std::size_t lastPair = (exported.size() - 1) / 2 * 2;
  state.lineBuffer = exported.substr(lastPair, 1);
  state.entryId = exported.substr(lastPair + 1, 1);
}

void scanLetter(Context& context, std::string_view narrowed,
                const std::function<void(const std::string& signature)>& onSignature) {
  ProgramState& state = context.state;
  const LetterLines found = letterLinesIn(narrowed, static_cast<char>(state.letterCode));
  for (const LetterLine& line : found.lines) {
    state.lineBuffer = line.line;
    onSignature(line.signature);
  }
  if (found.lastOtherLine) state.lineBuffer = *found.lastOtherLine;
}

bool signatureMatches(const ProgramState& state, const std::string& signature, int disk) {
  if (signature.empty() || signature != state.diskSignatures.at(static_cast<std::size_t>(disk))) return false;
  if (disk != 0) return true;
  return std::string(1, static_cast<char>(state.letterCode)) + ":" != state.systemDrive;
}

}  // namespace quillfex
