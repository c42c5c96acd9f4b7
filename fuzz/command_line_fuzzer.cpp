// winsim-cmd's reading of a command line: expansion, redirections, the command's name and its words.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "winsim/cmd/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace winsim;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::string expanded = expandVariables(line, [](std::string_view name) -> std::optional<std::string> {
    if (equalIgnoringCase(name, "temp")) return "C:\\Temp";
    if (equalIgnoringCase(name, "SystemDrive")) return "C:";
    return std::nullopt;
  });
  // With nothing defined, every %NAME% stays as written.
  if (expandVariables(line, [](std::string_view) { return std::nullopt; }) != line) __builtin_trap();
  const CommandText text = splitRedirections(expanded);
  for (const Redirection& redirection : text.redirections) lastPart(redirection.target);
  const FirstWord first = splitFirstWord(text.command);
  runtimeWords(first.rest);
  internalWords(first.rest);
  return 0;
}
