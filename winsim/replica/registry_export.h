#pragma once
// A registry editor export (.reg) read whole: its header, its [key] lines and the values under each, of any
// type, hex data folded over several lines included. The file may be UTF-16LE with its byte-order mark, as
// regedit /e writes it, or 8-bit (REGEDIT4). Lines that do not read are reported with their line number,
// never guessed at.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

struct RegistryValue {
  std::string name;                 // escapes undone: "\DosDevices\C:"; "" for the key's default value (@)
  std::string type;                 // "hex", "hex(7)" (any number), "dword" or "string"
  std::vector<std::uint8_t> bytes;  // the data: hex bytes; a dword's 4 bytes, little-endian; a string's bytes
  int line = 0;                     // where the value begins, from 1
};

struct RegistryKey {
  std::string name;  // between the brackets: "HKEY_LOCAL_MACHINE\SYSTEM\MountedDevices"
  int line = 0;
  std::vector<RegistryValue> values;
};

struct RegistryProblem {
  int line = 0;  // 0: the file as a whole
  std::string what;
};

struct RegistryExport {
  bool header = false;  // "Windows Registry Editor Version 5.00" or "REGEDIT4" heads the file
  std::vector<RegistryKey> keys;
  std::vector<RegistryProblem> problems;

  // The key of that name (letter case aside); null when the export has none.
  const RegistryKey* key(std::string_view name) const;
};

// Reads the export as the file holds it. A file cut off is told by its last line: regedit ends every export
// with a blank line, and a value on a last line without its line end, or folded past the end, is left out.
RegistryExport readRegistryExport(std::string_view file);

}  // namespace winsim
