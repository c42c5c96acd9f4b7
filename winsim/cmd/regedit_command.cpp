// regedit /e FILE KEY: exports a key as the Windows 7 registry editor does, UTF-16LE with a byte-order
// mark. The simulated registry holds one key, HKEY_LOCAL_MACHINE\SYSTEM\MountedDevices, with binary values.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "machine/mounted_devices.h"
#include "machine/sandbox_layout.h"
#include "posix/descriptor.h"
#include "winsim/cmd/code_page.h"
#include "winsim/cmd/command_line.h"
#include "winsim/cmd/commands.h"
#include "winsim/cmd/host_files.h"

namespace winsim {

namespace {

constexpr std::string_view mountedDevicesKey = "HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices";

// regedit breaks a hex value after the comma that brings a line to this many characters, so that with the
// "\" the line stays within 80 columns.
constexpr std::size_t foldColumn = 77;

std::vector<MountedValue> readMountedDevices(const std::string& sandboxRoot) {
  std::vector<MountedValue> values;
  std::ifstream file(layout::mountedDevices(sandboxRoot));
  for (std::string line; std::getline(file, line);) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    if (auto bytes = parseHexBytes(line.substr(tab + 1))) values.push_back({line.substr(0, tab), *bytes});
  }
  return values;
}

std::string quotedName(const std::string& name) {
  std::string quoted = "\"";
  for (const char c : name) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

std::string valueLine(const MountedValue& value) {
  std::string line = quotedName(value.name) + "=hex:";
  std::size_t column = line.size();
  const std::string hex = hexBytes(value.bytes);  // "12,ab,..."
  for (std::size_t at = 0; at < hex.size(); at += 3) {
    line.append(hex, at, 3);
    column += 3;
    if (at + 3 < hex.size() && column >= foldColumn) {
      line += "\\\r\n  ";
      column = 2;
    }
  }
  return line + "\r\n";
}

std::string exportText(const std::vector<MountedValue>& values) {
  std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[" + std::string(mountedDevicesKey) + "]\r\n";
  for (const auto& value : values) text += valueLine(value);
  return text + "\r\n";
}

bool writeExport(const std::string& host, const std::string& text) {
  auto file = quillfex::posix::openFile(host, O_WRONLY | O_CREAT | O_TRUNC);
  if (!file) return false;
  const bool written = !quillfex::posix::writeAll(file->get(), "\xFF\xFE" + toUtf16Le(text));
  return !file->close() && written;
}

}  // namespace

int regeditCommand(Shell& shell, const std::vector<std::string>& words) {
  if (words.size() != 3 || !equalIgnoringCase(words[0], "/e")) {
    shell.console().error("regedit: only the export form, regedit /e FILE KEY, is simulated");
    return 1;
  }
  const std::string& file = words[1];
  const std::string cannotExport = "Cannot export " + file + ": ";
  if (!equalIgnoringCase(words[2], mountedDevicesKey)) {
    shell.console().error(cannotExport + "The specified key does not exist.");
    return 1;
  }
  const std::string host = shell.hostPath(file);
  if (shell.fails("regedit", file) || shell.fails("regedit", lastPart(file)) || !isFolder(parentOf(host)) ||
      isFolder(host) || !writeExport(host, exportText(readMountedDevices(shell.sandboxRoot())))) {
    shell.console().error(cannotExport + "Error opening the file. There may be a disk or file system error.");
    return 1;
  }
  return 0;
}

}  // namespace winsim
