// The registry editor's export of MountedDevices as capture file 1: narrowed, then scanned for letters.

#include <cstddef>
#include <cstdint>
#include <string>

#include "helper/command.h"
#include "helper/command_lines.h"
#include "readers/mounted_devices.h"
#include "screen/screen.h"
#include "tests/fake_os.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillfex;
  testing::FakeOs os;
  const std::string exported(reinterpret_cast<const char*>(data), size);
  const std::string command = exportMountedDevicesCommand(os);
  os.onCommand = [&](const std::string& line) {
    if (line == command) os.setFile(capturePath(os, CaptureSlot::registryExport), exported);
  };
  ProgramState state;
  state.systemDrive = "C:";
  state.diskSignatures = {"12 ab 0c ff", "", "4f,3e,2d,1c", "00,00,00,00"};
  static Screen screen;  // never opened; a fresh one per input would cost more than the reading
  Context context{state, os, screen};

  exportMountedDevices(context);
  // Narrowing keeps every byte at an even offset, and no more.
  if (os.file(capturePath(os, CaptureSlot::narrowedExport)) == nullptr ||
      os.file(capturePath(os, CaptureSlot::narrowedExport))->size() != (size + 1) / 2) {
    __builtin_trap();
  }
  const std::string& narrowed = *os.file(capturePath(os, CaptureSlot::narrowedExport));
  for (const char letter : {'C', 'D', 'Z'}) {
    state.letterCode = letter;
    scanLetter(context, narrowed, [&](const std::string& signature) {
      for (int disk = 0; disk < 4; ++disk) signatureMatches(state, signature, disk);
    });
  }
  return 0;
}
