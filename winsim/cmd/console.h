#pragma once
// The hidden console of one command line: its output goes to standard output or to the redirection's
// file, in the console's code page with CR LF line ends; error messages always go to standard error.

#include <string>
#include <string_view>

namespace winsim {

class Console {
 public:
  Console();
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Sends the output to fd from now on; the console closes it at the end.
  void redirect(int fd);
  int outputFd() const { return output_; }

  // One line of output (UTF-8 as the host names files).
  void print(std::string_view line);
  // One message line on standard error, after the output printed so far.
  void error(std::string_view line);
  // Writes what is held back, before a program started from here writes to the same file.
  void flush();

 private:
  int output_;
  std::string pending_;
};

}  // namespace winsim
