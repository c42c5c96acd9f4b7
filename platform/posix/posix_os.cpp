#include "platform/posix/posix_os.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "machine/machine_file.h"
#include "platform/posix/posix_file.h"
#include "posix/descriptor.h"
#include "posix/process.h"

namespace quillfex {

namespace {

// Windows error codes that the raw disk read leaves behind.
constexpr std::uint32_t errorInvalidHandle = 6;
constexpr std::uint32_t errorCrc = 23;
constexpr std::uint32_t errorHandleEof = 38;

bool isFolder(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Where a machine starts: the drive folder the process was started in, else the system drive's root.
WindowsPath startingDirectory(const winsim::Sandbox& sandbox) {
  std::error_code error;
  if (auto inside = sandbox.windowsPathOf(std::filesystem::current_path(error).string())) return *inside;
  const char* systemDrive = std::getenv("SystemDrive");
  if (auto root = parseFullPath(std::string(systemDrive ? systemDrive : "") + "\\")) return *root;
  return WindowsPath{'C', {}};
}

// The reason a description cannot be read reaches the user through winsim-cmd, which reads the same file.
std::optional<winsim::Machine> sandboxMachine(const std::string& root) {
  std::string unreadable;
  return winsim::loadSandboxMachineAt(root, unreadable);
}

// A disk fault hits the disk's number as the description writes it.
bool diskIsUnreadable(const winsim::Machine& machine, const std::string& devicePath) {
  const std::string number = devicePath.substr(devicePath.find_last_not_of("0123456789") + 1);
  return machine.fails("disk", number);
}

}  // namespace

PosixOs::PosixOs(std::string sandboxRoot, std::string interpreter)
    : sandbox_(std::move(sandboxRoot)),
      interpreter_(std::move(interpreter)),
      machine_(sandboxMachine(sandbox_.root())),
      current_(startingDirectory(sandbox_)),
      started_(current_) {}

std::string PosixOs::environmentVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

std::string PosixOs::hostPath(const std::string& path) const {
  if (std::string volume = sandbox_.volumePath(path); !volume.empty()) return volume;
  const auto full = fullWindowsPath(path, current_);
  return full ? sandbox_.hostPath(*full) : std::string();
}

bool PosixOs::changeDirectory(const std::string& path) {
  const auto full = fullWindowsPath(path, current_);
  if (!full || !isFolder(sandbox_.hostPath(*full))) return false;
  current_ = *full;
  return true;
}

std::string PosixOs::currentDirectory() { return current_.text(); }

std::unique_ptr<FileHandle> PosixOs::openForReading(const std::string& path) {
  return openPosixFile(hostPath(path), FileAccess::read);
}

std::unique_ptr<FileHandle> PosixOs::openForUpdate(const std::string& path) {
  return openPosixFile(hostPath(path), FileAccess::update);
}

void PosixOs::deleteFile(const std::string& path) {
  const std::string host = hostPath(path);
  if (!host.empty() && !isFolder(host)) ::unlink(host.c_str());
}

bool PosixOs::createFolder(const std::string& path) {
  const std::string host = hostPath(path);
  if (host.empty()) return false;
  return ::mkdir(host.c_str(), 0777) == 0 || (errno == EEXIST && isFolder(host));
}

bool PosixOs::renameFile(const std::string& from, const std::string& to) {
  const std::string source = hostPath(from), target = hostPath(to);
  struct stat info {};
  // Windows never renames onto an existing name; POSIX would silently replace it.
  if (source.empty() || target.empty() || ::lstat(target.c_str(), &info) == 0) return false;
  return ::rename(source.c_str(), target.c_str()) == 0;
}

bool PosixOs::replaceFile(const std::string& from, const std::string& to) {
  const std::string source = hostPath(from), target = hostPath(to);
  return !source.empty() && !target.empty() && ::rename(source.c_str(), target.c_str()) == 0;
}

int PosixOs::runCommandLine(const std::string& line) {
  const std::string console = sandbox_.root().empty() ? "/dev/null" : winsim::layout::console(sandbox_.root()).string();
  const auto output = posix::openFile(console, O_WRONLY | O_CREAT | O_APPEND);
  const int outputFd = output ? output->get() : -1;
  const std::string folder = sandbox_.hostPath(current_);
  posix::ProcessStart start;
  start.arguments = {interpreter_, line};
  start.environment = posix::currentEnvironment();
  // Like cmd started in a folder that has gone: the command still runs, from wherever we are.
  if (isFolder(folder)) start.workingDirectory = folder;
  start.output = outputFd;
  start.errors = outputFd;

  const auto end = posix::runProcess(start);
  if (!end) {
    const std::string notStarted =
        "The command interpreter (winsim-cmd) could not be started: " + end.failure().text() + "\n";
    posix::writeAll(output ? outputFd : STDERR_FILENO, notStarted);
    return -1;
  }
  if (end->signal != 0 || end->exitCode == 127) return -1;
  return end->exitCode;
}

std::uint32_t PosixOs::readRawSector(const std::string& devicePath, std::uint32_t offsetLow, std::uint32_t offsetHigh,
                                     std::span<std::uint8_t, sectorSize> into) {
  const std::string disk = sandbox_.devicePath(devicePath);
  if ((machine_ && !machine_->elevated) || disk.empty()) return errorInvalidHandle;
  const auto file = openPosixFile(disk, FileAccess::existing);
  if (!file) return errorInvalidHandle;
  if (!machine_ || diskIsUnreadable(*machine_, disk)) return errorCrc;

  const std::uint64_t offset = (std::uint64_t{offsetHigh} << 32) | offsetLow;
  const std::size_t got = file->readAt(offset, reinterpret_cast<char*>(into.data()), into.size());
  return got == into.size() ? 0 : errorHandleEof;
}

std::unique_ptr<Os> makeHostOs() {
  const char* root = std::getenv(winsim::sandboxVariable);
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  return std::make_unique<PosixOs>(root ? root : "", (program.parent_path() / "winsim-cmd").string());
}

}  // namespace quillfex
