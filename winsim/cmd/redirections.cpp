#include "winsim/cmd/redirections.h"

#include <fcntl.h>

#include <cerrno>

#include "winsim/cmd/host_files.h"

namespace winsim {

namespace {

bool isNullDevice(const std::string& target) {
  return equalIgnoringCase(target, "nul") || equalIgnoringCase(target, "nul:");
}

int openTarget(const std::string& host, bool append) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
  int fd;
  do {
    fd = ::open(host.c_str(), flags, 0644);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool fail(Shell& shell, const char* message) {
  shell.console().error(message);
  return false;
}

}  // namespace

bool openRedirections(Shell& shell, const std::vector<Redirection>& redirections) {
  for (const auto& redirection : redirections) {
    if (redirection.target.empty()) return fail(shell, "The syntax of the command is incorrect.");
    const std::string host = isNullDevice(redirection.target) ? "/dev/null" : shell.hostPath(redirection.target);
    if (host.empty() || !isFolder(parentOf(host))) return fail(shell, "The system cannot find the path specified.");
    if (isFolder(host)) return fail(shell, "Access is denied.");
    const int fd = openTarget(host, redirection.append);
    if (fd < 0) return fail(shell, "Access is denied.");
    shell.console().redirect(fd);
  }
  return true;
}

}  // namespace winsim
