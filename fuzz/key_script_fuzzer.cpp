// Key scripts (QUILLFEX_KEYS, winsim run --keys): the keys, or an error naming the name that is none.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "screen/key_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto keys = quillfex::parseKeyScript(std::string_view(reinterpret_cast<const char*>(data), size), error);
  if (!keys && error.empty()) __builtin_trap();
  if (keys) {
    for (const auto& press : *keys) quillfex::keyCodeOf(press);
  }
  return 0;
}
