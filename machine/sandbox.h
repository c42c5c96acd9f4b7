#pragma once
// Where the simulated machine's Windows paths live on this host. The sandbox folder holds drives/X for
// drive X:, volumes/HarddiskVolumeN for a partition without a letter and disks/PhysicalDriveN for physical
// disk N. Names are matched without regard to letter case
// (A to Z), as Windows does; a name that does not exist yet keeps the case it was written in.

#include <optional>
#include <string>

#include "text/windows_path.h"

namespace winsim {

class Sandbox {
 public:
  // root: the sandbox folder; "" for no machine at all, where nothing exists.
  explicit Sandbox(std::string root);

  const std::string& root() const { return root_; }

  // The host path of a full Windows path; "" when there is no sandbox.
  std::string hostPath(const quillfex::WindowsPath& path) const;

  // The host path of a file on a partition without a drive letter, named as Windows names it through its
  // device: "\\?\GLOBALROOT\Device\HarddiskVolume1\Boot\BCD" (any letter case); "" for other paths.
  std::string volumePath(const std::string& windowsPath) const;

  // The host path of a raw device such as "\\.\PhysicalDrive0" (any letter case); "" for other devices.
  std::string devicePath(const std::string& windowsDevice) const;

  // The Windows path of a host folder inside some drive folder; nullopt when it lies outside every drive.
  std::optional<quillfex::WindowsPath> windowsPathOf(const std::string& hostFolder) const;

 private:
  std::string root_;
};

// The name in `folder` that equals `name` without regard to A-to-Z case (an exact match first), or `name`.
std::string matchingName(const std::string& folder, const std::string& name);

}  // namespace winsim
