// The registry editor's export of MountedDevices: narrowed, then scanned for letters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "readers/mounted_devices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillfex;
  const std::string exported(reinterpret_cast<const char*>(data), size);
  const std::array<std::string, 4> disks = {"12 ab 0c ff", "", "4f,3e,2d,1c", "00,00,00,00"};
  const std::string narrowed = narrowedExport(exported);
  // Narrowing keeps every byte at an even offset, and no more.
  if (narrowed.size() != (size + 1) / 2) __builtin_trap();
  for (const char letter : {'C', 'D', 'Z'}) {
    for (const std::string& signature : signaturesOf(narrowed, letter)) {
      for (int disk = 0; disk < 4; ++disk) signatureMatches(signature, disks, disk, letter, "C:");
    }
  }
  return 0;
}
