// winsim-cmd LINE: the command interpreter of the simulated machine. It runs one command line as cmd.exe
// would run it for the C runtime's system(), for the command forms Quillfex sends.

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "machine/machine_file.h"
#include "machine/sandbox_layout.h"
#include "posix/descriptor.h"
#include "winsim/cmd/command_line.h"
#include "winsim/cmd/commands.h"
#include "winsim/cmd/host_files.h"
#include "winsim/cmd/redirections.h"

namespace {

std::string commandLine(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
  return line;
}

// One write, so that the lines of commands run one after another never mix.
void appendToTranscript(const std::string& sandboxRoot, const std::string& line) {
  const std::string path = winsim::layout::transcript(sandboxRoot).string();
  const auto file = quillfex::posix::openFile(path, O_WRONLY | O_CREAT | O_APPEND);
  if (file) quillfex::posix::writeAll(file->get(), line + '\n');
}

// The program that ran this line ends with it when the run is to be cut off here.
void cutOffWhenDue(const std::string& sandboxRoot) {
  const char* due = std::getenv(winsim::killAtLineVariable);
  if (due == nullptr || *due == '\0') return;
  if (std::to_string(winsim::transcriptLineCount(sandboxRoot)) == due) ::kill(::getppid(), SIGKILL);
}

}  // namespace

int main(int argc, char** argv) {
  const char* root = std::getenv(winsim::sandboxVariable);
  if (root == nullptr || *root == '\0') {
    const std::string message = std::string("winsim-cmd: ") + winsim::sandboxVariable + " names no sandbox\n";
    quillfex::posix::writeAll(STDERR_FILENO, message);
    return 1;
  }
  const std::string line = commandLine(argc, argv);
  appendToTranscript(root, line);

  const winsim::CommandText text = winsim::splitRedirections(winsim::expandVariables(line, winsim::environmentValue));
  winsim::Console console;
  winsim::Shell shell(root, console);
  const int status = winsim::openRedirections(shell, text.redirections) ? winsim::runCommand(shell, text.command) : 1;
  cutOffWhenDue(root);
  return status;
}
