#pragma once
// The files of a winsim sandbox, by their place in it.

#include <filesystem>
#include <string>

namespace winsim::layout {

inline std::filesystem::path description(const std::filesystem::path& root) { return root / "machine.toml"; }
inline std::filesystem::path drive(const std::filesystem::path& root, char letter) {
  return root / "drives" / std::string(1, letter);
}
inline std::filesystem::path disk(const std::filesystem::path& root, std::size_t n) {
  return root / "disks" / ("PhysicalDrive" + std::to_string(n));
}
// One value of HKEY_LOCAL_MACHINE\SYSTEM\MountedDevices a line: name, a tab, the bytes as "12,ab,...".
inline std::filesystem::path mountedDevices(const std::filesystem::path& root) {
  return root / "registry" / "MountedDevices";
}
// Every command line winsim-cmd received, unexpanded, one a line.
inline std::filesystem::path transcript(const std::filesystem::path& root) { return root / "transcript.log"; }

}  // namespace winsim::layout
