#include "winsim/cmd/shell.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "machine/machine_file.h"
#include "winsim/cmd/host_files.h"

namespace winsim {

namespace {

std::string withoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string systemDrive() {
  const char* drive = std::getenv("SystemDrive");
  return drive != nullptr ? drive : "C:";
}

quillfex::WindowsPath startingDirectory(const Sandbox& sandbox) {
  const std::unique_ptr<char, decltype(&std::free)> here(::getcwd(nullptr, 0), &std::free);
  if (here) {
    if (auto inside = sandbox.windowsPathOf(here.get())) return *inside;
  }
  if (auto root = quillfex::parseFullPath(systemDrive() + "\\")) return *root;
  return quillfex::WindowsPath{'C', {}};
}

}  // namespace

Shell::Shell(std::string sandboxRoot, Console& console)
    : root_(withoutTrailingSlashes(std::move(sandboxRoot))),
      sandbox_(root_),
      console_(console),
      current_(startingDirectory(sandbox_)) {}

std::optional<quillfex::WindowsPath> Shell::fullPath(std::string_view written) const {
  return quillfex::fullWindowsPath(written, current_);
}

std::string Shell::hostPath(std::string_view written) const {
  const auto full = fullPath(written);
  return full ? hostPath(*full) : std::string();
}

bool Shell::isLiveStore(const std::string& hostFile) const {
  const auto file = identityOf(hostFile);
  if (!file) return false;
  for (const char* name : {"BCD", "BCD.LOG", "BCD.LOG1", "BCD.LOG2"}) {
    const auto opened = quillfex::parseFullPath(systemDrive() + "\\Boot\\" + name);
    if (opened && file == identityOf(hostPath(*opened))) return true;
  }
  return false;
}

const Machine* Shell::machine() {
  if (!machine_ && machineError_.empty()) {
    machine_ = loadSandboxMachineAt(root_, machineError_);
    if (!machine_) console_.error(machineError_);
  }
  return machine_ ? &*machine_ : nullptr;
}

FaultEffect Shell::faultFor(const char* command, const std::string& arg) {
  const Machine* described = machine();
  return described ? described->faultFor(command, arg) : FaultEffect::fails;
}

FileAttributes& Shell::attributes() {
  if (!attributes_) attributes_.emplace(root_);
  return *attributes_;
}

}  // namespace winsim
