#pragma once
// The boot-configuration editor of the simulated machine: lists the system store, exports it to a file,
// imports a file over it, deletes an entry. Files are reached through the operating-system seam, so the
// same editor works on a winsim sandbox and on Windows.

#include <string>
#include <vector>

#include "machine/machine.h"
#include "platform/os.h"

namespace winsim {

struct EditorResult {
  int status = 0;      // 0 when the command succeeded
  std::string output;  // for standard output, CR LF line ends
  std::string errors;  // for standard error
};

// args without the program name: none, "/export F", "/import F" or "/f /delete ID".
EditorResult runEditor(const std::vector<std::string>& args, quillfex::Os& os, const Machine& machine);

}  // namespace winsim
