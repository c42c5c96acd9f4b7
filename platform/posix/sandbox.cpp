#include "platform/posix/sandbox.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "core/text.h"

namespace quillfex {

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
    if (equalIgnoringCase(name, entry->d_name)) return entry->d_name;
  }
  return name;
}

Sandbox::Sandbox(std::string root) : root_(std::move(root)) {}

std::string Sandbox::nativePath(const WindowsPath& path) const {
  if (root_.empty()) return {};
  const std::string drives = root_ + "/drives";
  std::string native = drives + '/' + matchingName(drives, std::string(1, path.drive));
  for (const auto& component : path.components) native += '/' + matchingName(native, component);
  return native;
}

std::string Sandbox::devicePath(const std::string& windowsDevice) const {
  static const std::string prefix = "\\\\.\\physicaldrive";
  const std::string lowered = lowerCase(windowsDevice);
  if (root_.empty() || lowered.rfind(prefix, 0) != 0) return {};
  const std::string number = windowsDevice.substr(prefix.size());
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return {};
  return root_ + "/disks/PhysicalDrive" + number;
}

std::optional<WindowsPath> Sandbox::windowsPathOf(const std::string& nativeFolder) const {
  if (root_.empty()) return std::nullopt;
  const std::string drives = realPath(root_ + "/drives");
  const std::string folder = realPath(nativeFolder);
  if (drives.empty() || folder.size() < drives.size() + 2 || folder.rfind(drives + '/', 0) != 0) {
    return std::nullopt;
  }
  std::string rest = folder.substr(drives.size() + 1);  // "C/Boot/Fonts"
  const std::size_t slash = rest.find('/');
  const std::string drive = rest.substr(0, slash);
  if (drive.size() != 1) return std::nullopt;
  std::string windows = drive + ":\\";
  if (slash != std::string::npos) windows += rest.substr(slash + 1);
  return parseFullPath(windows);
}

}  // namespace quillfex
