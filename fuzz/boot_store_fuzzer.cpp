// winsim's boot configuration stores (\Boot\BCD and the exports): an error for every text that is no
// store, and every store read back unchanged once written out.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/store_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto store = winsim::parseStore(std::string(reinterpret_cast<const char*>(data), size), error);
  if (!store && error.empty()) __builtin_trap();
  if (store && !quillfex::fuzzing::readsBackUnchanged(*store)) __builtin_trap();
  return 0;
}
