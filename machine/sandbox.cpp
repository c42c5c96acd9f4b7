#include "machine/sandbox.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "machine/device_names.h"
#include "machine/sandbox_layout.h"
#include "text/text.h"

namespace winsim {

namespace {

bool exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

std::string realPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

}  // namespace

std::string matchingName(const std::string& folder, const std::string& name) {
  if (exists(folder + '/' + name)) return name;
  const auto closeFolder = [](DIR* open) { ::closedir(open); };
  std::unique_ptr<DIR, decltype(closeFolder)> dir(::opendir(folder.c_str()), closeFolder);
  if (!dir) return name;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (quillfex::equalIgnoringCase(name, entry->d_name)) return entry->d_name;
  }
  return name;
}

Sandbox::Sandbox(std::string root) : root_(std::move(root)) {}

std::string Sandbox::hostPath(const quillfex::WindowsPath& path) const {
  if (root_.empty()) return {};
  const std::string drives = layout::drives(root_).string();
  std::string host = drives + '/' + matchingName(drives, std::string(1, path.drive));
  for (const auto& component : path.components) host += '/' + matchingName(host, component);
  return host;
}

std::string Sandbox::volumePath(const std::string& windowsPath) const {
  static const std::string globalRoot = "\\\\?\\globalroot", device = "\\device\\";
  const std::string lowered = quillfex::lowerCase(windowsPath);
  if (root_.empty() || lowered.rfind(globalRoot + device, 0) != 0) return {};
  const std::size_t digitsEnd = std::min(windowsPath.find('\\', globalRoot.size() + device.size()), windowsPath.size());
  const auto number = volumeNumberOf(windowsPath.substr(globalRoot.size(), digitsEnd - globalRoot.size()));
  if (!number) return {};
  std::string host = layout::volume(root_, *number).string();
  // A path through a device is taken as written, with no "." or ".." to resolve, as Windows takes it; a name
  // with a slash, which would lead elsewhere on this host, names nothing.
  for (std::size_t at = digitsEnd; at < windowsPath.size();) {
    const std::size_t end = std::min(windowsPath.find('\\', at + 1), windowsPath.size());
    const std::string component = windowsPath.substr(at + 1, end - at - 1);
    if (component == "." || component == ".." || component.find('/') != std::string::npos) return {};
    if (!component.empty()) host += '/' + matchingName(host, component);
    at = end;
  }
  return host;
}

std::string Sandbox::devicePath(const std::string& windowsDevice) const {
  static const std::string prefix = "\\\\.\\physicaldrive";
  const std::string lowered = quillfex::lowerCase(windowsDevice);
  if (root_.empty() || lowered.rfind(prefix, 0) != 0) return {};
  const std::string number = windowsDevice.substr(prefix.size());
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return {};
  return layout::disk(root_, number).string();
}

std::optional<quillfex::WindowsPath> Sandbox::windowsPathOf(const std::string& hostFolder) const {
  if (root_.empty()) return std::nullopt;
  const std::string drives = realPath(layout::drives(root_).string());
  const std::string folder = realPath(hostFolder);
  if (drives.empty() || folder.size() < drives.size() + 2 || folder.rfind(drives + '/', 0) != 0) {
    return std::nullopt;
  }
  std::string rest = folder.substr(drives.size() + 1);  // "C/Boot/Fonts"
  const std::size_t slash = rest.find('/');
  const std::string drive = rest.substr(0, slash);
  if (drive.size() != 1) return std::nullopt;
  std::string windows = drive + ":\\";
  if (slash != std::string::npos) windows += rest.substr(slash + 1);
  return quillfex::parseFullPath(windows);
}

}  // namespace winsim
