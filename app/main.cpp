// Quillfex: takes the central Windows boot manager out of the boot path of a multiboot machine, or puts it
// back. It takes no arguments and always exits with 0.

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
