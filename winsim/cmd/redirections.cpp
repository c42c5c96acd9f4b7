#include "winsim/cmd/redirections.h"

#include <fcntl.h>

#include <utility>

#include "posix/descriptor.h"
#include "winsim/cmd/host_files.h"

namespace winsim {

namespace {

bool isNullDevice(const std::string& target) {
  return equalIgnoringCase(target, "nul") || equalIgnoringCase(target, "nul:");
}

quillfex::posix::Outcome<quillfex::posix::Descriptor> openTarget(const std::string& host, bool append) {
  return quillfex::posix::openFile(host, O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC));
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
    auto file = openTarget(host, redirection.append);
    if (!file) return fail(shell, "Access is denied.");
    shell.console().redirect(std::move(*file));
  }
  return true;
}

}  // namespace winsim
