// ren PATH NEWNAME: a new name within the same folder. The file's attributes go with it.

#include <cerrno>
#include <cstdio>

#include "winsim/cmd/commands.h"
#include "winsim/cmd/host_files.h"

namespace winsim {

namespace {

int fail(Shell& shell, const char* message) {
  shell.console().error(message);
  return 1;
}

bool renameRetrying(const std::string& from, const std::string& to) {
  int result;
  do {
    result = std::rename(from.c_str(), to.c_str());
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

void moveAttributes(Shell& shell, const std::string& from, const std::string& to) {
  FileAttributes& attributes = shell.attributes();
  const std::string flags = attributes.of(from);
  if (flags.empty()) return;
  attributes.set(from, "");
  attributes.set(to, flags);
  attributes.save();
}

}  // namespace

int renCommand(Shell& shell, const std::vector<std::string>& words) {
  if (words.size() != 2 || words[1].find_first_of("\\/:") != std::string::npos) {
    return fail(shell, "The syntax of the command is incorrect.");
  }
  const auto full = shell.fullPath(words[0]);
  const std::string from = full ? shell.hostPath(*full) : std::string();
  if (!full || full->components.empty() || !identityOf(from)) {
    return fail(shell, "The system cannot find the file specified.");
  }
  const FaultEffect fault = shell.faultFor("rename", std::string(1, full->drive));
  if (fault == FaultEffect::noOp) return 0;
  if (fault != FaultEffect::none) return fail(shell, "Access is denied.");
  if (shell.isLiveStore(from)) {
    return fail(shell, "The process cannot access the file because it is being used by another process.");
  }
  const std::string folder = parentOf(from);
  const std::string existing = folder + '/' + matchingName(folder, words[1]);
  // Only the letter case of the same file may change; any other file of that name blocks the rename.
  if (identityOf(existing) && identityOf(existing) != identityOf(from)) {
    return fail(shell, "A duplicate file name exists, or the file cannot be found.");
  }
  const std::string to = folder + '/' + words[1];
  if (!renameRetrying(from, to)) return fail(shell, "Access is denied.");
  moveAttributes(shell, from, to);
  return 0;
}

}  // namespace winsim
