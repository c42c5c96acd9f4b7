// winsim's machine descriptions: an error for every text that is no machine, and a store that reads back
// as it was written for every one that is.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/store_round_trip.h"
#include "machine/machine.h"
#include "posix/code_page_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto machine = winsim::parseMachine(std::string(reinterpret_cast<const char*>(data), size), "fuzz.toml", error,
                                            quillfex::posix::utf8ToCodePage);
  if (!machine && error.empty()) __builtin_trap();
  if (machine && !quillfex::fuzzing::readsBackUnchanged(machine->store)) __builtin_trap();
  return 0;
}
