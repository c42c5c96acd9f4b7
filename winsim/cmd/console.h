#pragma once
// The hidden console of one command line: its output goes to standard output or to the redirection's
// file, in the console's code page with CR LF line ends; error messages always go to standard error.

#include <unistd.h>

#include <string>
#include <string_view>

#include "posix/descriptor.h"

namespace winsim {

class Console {
 public:
  Console() = default;
  ~Console() { flush(); }
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Sends the output to the file from now on; the console closes it at the end.
  void redirect(quillfex::posix::Descriptor file);
  int outputFd() const { return redirected_.get() >= 0 ? redirected_.get() : STDOUT_FILENO; }

  // One line of output (UTF-8 as the host names files).
  void print(std::string_view line);
  // One message line on standard error, after the output printed so far.
  void error(std::string_view line);
  // Writes what is held back, before a program started from here writes to the same file.
  void flush();

 private:
  quillfex::posix::Descriptor redirected_;
  std::string pending_;
};

}  // namespace winsim
