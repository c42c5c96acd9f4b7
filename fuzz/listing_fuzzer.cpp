// The editor's listing as capture file 0, read by every question the program asks of it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "helper/command.h"
#include "helper/command_lines.h"
#include "readers/listing.h"
#include "screen/screen.h"
#include "tests/fake_os.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillfex;
  testing::FakeOs os;
  const std::string listing(reinterpret_cast<const char*>(data), size);
  const std::string command = listingCommand(os);
  os.onCommand = [&](const std::string& line) {
    if (line == command) os.setFile(capturePath(os, CaptureSlot::listing), listing);
  };
  ProgramState state;
  static Screen screen;  // never opened; a fresh one per input would cost more than the reading
  Context context{state, os, screen};

  findBootManagerDevice(context, "C:");
  const int entries = countEntries(context);
  int foreign = 0;
  foreignEntryIds(context, "D:", [&](const std::string&) { ++foreign; });
  // Every foreign entry has a header of its own, and the boot manager's is never one of them.
  if (foreign > entries) __builtin_trap();
  return 0;
}
