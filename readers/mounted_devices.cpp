#include "readers/mounted_devices.h"

#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/binary_file.h"
#include "text/text.h"

namespace quillfex {

namespace {
constexpr long signatureColumn = 24;
constexpr long signatureLength = 11;
}  // namespace

void exportMountedDevices(Context& context) {
  ProgramState& state = context.state;
  runIntoCapture(context, exportMountedDevicesCommand(context.os), 1);
  context.os.deleteFile(capturePath(context.os, 2));
  BinaryFile exported = openBinaryFile(context.os, capturePath(context.os, 1));
  BinaryFile narrowed = openBinaryFile(context.os, capturePath(context.os, 2));
  std::uint64_t position = 1;
  while (!exported.atEnd()) {
    state.lineBuffer = exported.read(1);
    state.entryId = exported.read(1);
    narrowed.write(position++, state.lineBuffer);
  }
}

void scanLetter(Context& context, TextFile& narrowed,
                const std::function<void(const std::string& signature)>& onSignature) {
  ProgramState& state = context.state;
  const std::string searchText = "DosDevices\\\\" + std::string(1, static_cast<char>(state.letterCode)) + ":";
  narrowed.rewind();
  while (!narrowed.atEnd()) {
    state.lineBuffer = narrowed.readLine();
    if (findText(state.lineBuffer, searchText) > 0) {
      onSignature(middlePart(state.lineBuffer, signatureColumn, signatureLength));
    }
  }
}

bool signatureMatches(const ProgramState& state, const std::string& signature, int disk) {
  if (signature.empty() || signature != state.diskSignatures.at(static_cast<std::size_t>(disk))) return false;
  if (disk != 0) return true;
  return std::string(1, static_cast<char>(state.letterCode)) + ":" != state.systemDrive;
}

}  // namespace quillfex
