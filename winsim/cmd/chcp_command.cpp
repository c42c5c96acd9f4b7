// chcp: the console's code page, which the machine's editor lists in. Changing it is not simulated.

#include "winsim/cmd/commands.h"

namespace winsim {

int chcpCommand(Shell& shell, const std::vector<std::string>& words) {
  if (!words.empty()) {
    shell.console().error("Invalid code page");
    return 1;
  }
  const Machine* machine = shell.machine();
  if (!machine) return 1;
  shell.console().print("Active code page: " + std::to_string(machine->codePage()));
  return 0;
}

}  // namespace winsim
