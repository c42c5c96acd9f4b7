#pragma once
// Output redirections, opened as cmd opens them: every target is created or emptied before the command
// runs, so a command that fails leaves an empty file; the last one receives the output.

#include <vector>

#include "winsim/cmd/command_line.h"
#include "winsim/cmd/shell.h"

namespace winsim {

// False, with cmd's message on standard error, when a target cannot be opened; the command must not run.
bool openRedirections(Shell& shell, const std::vector<Redirection>& redirections);

}  // namespace winsim
