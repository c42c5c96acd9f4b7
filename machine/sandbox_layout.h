#pragma once
// The files of a winsim sandbox, by their place in it, and the variables that name it to the programs run there.

#include <filesystem>
#include <string>

namespace winsim {

// The sandbox a winsim tool or the program plays against; unset on a real Windows machine.
inline constexpr const char* sandboxVariable = "QUILLFEX_SIM_ROOT";
// Set by `winsim run --kill-after N`: the transcript's line count at which winsim-cmd, once that line has
// run, ends the program that ran it, as a power loss would.
inline constexpr const char* killAtLineVariable = "WINSIM_KILL_AT_LINE";

}  // namespace winsim

namespace winsim::layout {

inline std::filesystem::path description(const std::filesystem::path& root) { return root / "machine.toml"; }
// Drive X: is the folder drives/X.
inline std::filesystem::path drives(const std::filesystem::path& root) { return root / "drives"; }
inline std::filesystem::path drive(const std::filesystem::path& root, char letter) {
  return drives(root) / std::string(1, letter);
}
// A partition without a drive letter is the folder volumes/HarddiskVolumeN, by its \Device\HarddiskVolumeN.
inline constexpr const char* volumesFolder = "volumes";
inline std::string volumeName(int number) { return "HarddiskVolume" + std::to_string(number); }
inline std::filesystem::path volume(const std::filesystem::path& root, int number) {
  return root / volumesFolder / volumeName(number);
}
// The folder of a partition: its drive's, or its volume's when it has no letter.
inline std::filesystem::path partition(const std::filesystem::path& root, char letter, int volumeNumber) {
  return letter != 0 ? drive(root, letter) : volume(root, volumeNumber);
}
inline std::filesystem::path disk(const std::filesystem::path& root, const std::string& number) {
  return root / "disks" / ("PhysicalDrive" + number);
}
inline std::filesystem::path disk(const std::filesystem::path& root, std::size_t n) {
  return disk(root, std::to_string(n));
}
// One value of HKEY_LOCAL_MACHINE\SYSTEM\MountedDevices a line: name, a tab, the bytes as "12,ab,...".
inline std::filesystem::path mountedDevices(const std::filesystem::path& root) {
  return root / "registry" / "MountedDevices";
}
// Every command line winsim-cmd received, unexpanded, one a line.
inline std::filesystem::path transcript(const std::filesystem::path& root) { return root / "transcript.log"; }
// What the commands the program ran wrote to its hidden console.
inline std::filesystem::path console(const std::filesystem::path& root) { return root / "console.log"; }
// The listing's words in its code page, which the editor lists in; none: it lists in English.
inline std::filesystem::path listingWords(const std::filesystem::path& root) { return root / "listing-words"; }
// How often each fault with `after` has matched a command so far.
inline std::filesystem::path faultCounts(const std::filesystem::path& root) { return root / "fault-counts"; }

}  // namespace winsim::layout
