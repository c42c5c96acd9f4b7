#include "machine/device_names.h"

#include "machine/sandbox_layout.h"
#include "text/text.h"

namespace winsim {

std::optional<char> driveOfDevice(const std::string& device) {
  static const std::string prefix = "partition=";
  if (device.size() != prefix.size() + 2 || !device.starts_with(prefix) || device.back() != ':') return std::nullopt;
  return device[prefix.size()];
}

std::optional<int> volumeNumberOf(const std::string& name) {
  static const std::string prefix = "\\device\\harddiskvolume";
  if (!quillfex::lowerCase(name).starts_with(prefix)) return std::nullopt;
  const std::string digits = name.substr(prefix.size());
  if (digits.empty() || digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::stoi(digits);
}

std::string volumeDeviceName(int number) { return "\\Device\\" + layout::volumeName(number); }

}  // namespace winsim
