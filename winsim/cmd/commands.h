#pragma once
// The commands winsim-cmd runs, one file each. Each takes the words after its name and returns its exit
// status, printing through the shell's console as the Windows command prints.

#include <string>
#include <string_view>
#include <vector>

#include "winsim/cmd/shell.h"

namespace winsim {

int dirCommand(Shell& shell, const std::vector<std::string>& words);
int renCommand(Shell& shell, const std::vector<std::string>& words);
int xcopyCommand(Shell& shell, const std::vector<std::string>& words);
int regeditCommand(Shell& shell, const std::vector<std::string>& words);
int chcpCommand(Shell& shell, const std::vector<std::string>& words);
int verCommand(Shell& shell, const std::vector<std::string>& words);

// The host file of a program that a command's first word names from the current directory, as written or
// with ".exe" added; "" when it names none.
std::string findProgram(const Shell& shell, const std::string& name);
// Runs it with the words as its arguments and its output going to the console's output.
int programCommand(Shell& shell, const std::string& hostFile, const std::vector<std::string>& words);

// Every command line: the command named by its first word, or cmd's message when there is none.
int runCommand(Shell& shell, std::string_view command);

}  // namespace winsim
