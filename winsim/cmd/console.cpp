#include "winsim/cmd/console.h"

#include <utility>

#include "winsim/cmd/code_page.h"

namespace winsim {

void Console::redirect(quillfex::posix::Descriptor file) {
  flush();
  redirected_ = std::move(file);
}

void Console::print(std::string_view line) {
  pending_ += toConsoleCodePage(line);
  pending_ += "\r\n";
}

void Console::error(std::string_view line) {
  flush();
  quillfex::posix::writeAll(STDERR_FILENO, toConsoleCodePage(line) + "\r\n");
}

void Console::flush() {
  // A console that cannot be written to loses its output, as a closed console window would.
  quillfex::posix::writeAll(outputFd(), pending_);
  pending_.clear();
}

}  // namespace winsim
