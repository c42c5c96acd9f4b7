// Which command a line names, in cmd's order: its internal commands first, then a program found from the
// current directory, then the programs of the Windows folder (here: xcopy, regedit and chcp).

#include "winsim/cmd/command_line.h"
#include "winsim/cmd/commands.h"

namespace winsim {

namespace {

constexpr int notRecognized = 9009;

// "xcopy" also answers to "xcopy.exe", as a program found on the path does.
bool names(const std::string& name, std::string_view program, std::string_view extension = ".exe") {
  return equalIgnoringCase(name, program) || equalIgnoringCase(name, std::string(program) + std::string(extension));
}

}  // namespace

int runCommand(Shell& shell, std::string_view command) {
  const FirstWord first = splitFirstWord(command);
  if (first.name.empty()) return 0;
  if (equalIgnoringCase(first.name, "dir")) return dirCommand(shell, internalWords(first.rest));
  if (equalIgnoringCase(first.name, "ver")) return verCommand(shell, internalWords(first.rest));
  if (equalIgnoringCase(first.name, "ren") || equalIgnoringCase(first.name, "rename")) {
    return renCommand(shell, internalWords(first.rest));
  }
  if (const std::string program = findProgram(shell, first.name); !program.empty()) {
    return programCommand(shell, program, runtimeWords(first.rest));
  }
  if (names(first.name, "xcopy")) return xcopyCommand(shell, runtimeWords(first.rest));
  if (names(first.name, "regedit")) return regeditCommand(shell, runtimeWords(first.rest));
  if (names(first.name, "chcp", ".com")) return chcpCommand(shell, runtimeWords(first.rest));
  shell.console().error("'" + first.name + "' is not recognized as an internal or external command,");
  shell.console().error("operable program or batch file.");
  return notRecognized;
}

}  // namespace winsim
