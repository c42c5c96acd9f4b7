// The terminal's key bytes: read whole, and read as they may arrive, in two parts, with the rest of the
// first part kept for the second as the terminal driver keeps it. Both must give the same keys.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "screen/drivers/tty_keys.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillfex;
  if (size == 0) return 0;
  // The first byte says where the bytes after it are cut.
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t cut = data[0] % (bytes.size() + 1);

  const TerminalKeys whole = parseTerminalKeys(bytes, InputEnd::final);
  if (whole.consumed != bytes.size()) __builtin_trap();

  const TerminalKeys first = parseTerminalKeys(bytes.substr(0, cut), InputEnd::mayContinue);
  if (first.consumed > cut) __builtin_trap();
  const TerminalKeys second = parseTerminalKeys(bytes.substr(first.consumed), InputEnd::final);
  auto codes = first.codes;
  codes.insert(codes.end(), second.codes.begin(), second.codes.end());
  if (codes != whole.codes) __builtin_trap();
  return 0;
}
