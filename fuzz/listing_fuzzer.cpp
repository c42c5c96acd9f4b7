// The editor's listing, read by every question the program asks of it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "readers/listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillfex;
  const std::string listing(reinterpret_cast<const char*>(data), size);
  bootManagerDeviceIn(listing, "C:");
  const int entries = entryCountIn(listing);
  const auto foreign = static_cast<int>(foreignEntriesIn(listing, "D:").foreign.size());
  // Every foreign entry has a header of its own, and the boot manager's is never one of them.
  if (foreign > entries) __builtin_trap();
  return 0;
}
