#pragma once
// How a store and Windows name a partition as a device: "partition=D:", "\Device\HarddiskVolumeN".

#include <optional>
#include <string>

namespace winsim {

// The drive letter of "partition=X:", as written; nullopt when the device names no drive.
std::optional<char> driveOfDevice(const std::string& device);

// N of "\Device\HarddiskVolumeN" in any case, N of one to four digits; nullopt for any other name.
std::optional<int> volumeNumberOf(const std::string& name);

// "\Device\HarddiskVolumeN".
std::string volumeDeviceName(int number);

}  // namespace winsim
