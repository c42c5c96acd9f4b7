#include "winsim/cmd/console.h"

#include <unistd.h>

#include "winsim/cmd/code_page.h"
#include "winsim/cmd/host_files.h"

namespace winsim {

Console::Console() : output_(STDOUT_FILENO) {}

Console::~Console() {
  flush();
  if (output_ != STDOUT_FILENO) ::close(output_);
}

void Console::redirect(int fd) {
  flush();
  if (output_ != STDOUT_FILENO) ::close(output_);
  output_ = fd;
}

void Console::print(std::string_view line) {
  pending_ += toConsoleCodePage(line);
  pending_ += "\r\n";
}

void Console::error(std::string_view line) {
  flush();
  writeAll(STDERR_FILENO, toConsoleCodePage(line) + "\r\n");
}

void Console::flush() {
  // A console that cannot be written to loses its output, as a closed console window would.
  writeAll(output_, pending_);
  pending_.clear();
}

}  // namespace winsim
