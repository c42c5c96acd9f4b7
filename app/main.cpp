// Quillfex: takes the central Windows boot manager out of the boot path of a multiboot machine, or puts it
// back. It takes no arguments and exits with 0 on every path of the program; only a POSIX build whose screen
// did not open ends before it, with 2.

#include "app/quillfex.h"
#include "screen/screen.h"

int main() {
  const auto os = quillfex::makeHostOs();
  quillfex::ProgramState state;
  quillfex::Screen screen;
  quillfex::Context context{state, *os, screen};
  quillfex::runQuillfex(context);
  return 0;
}
