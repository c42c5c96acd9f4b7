// winsim-editor: the boot-configuration editor of the simulated machine, and the payload that POSIX
// builds of Quillfex carry and write out as Zendrakx.exe.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "machine/machine_file.h"
#include "winsim/editor/editor.h"
#include "winsim/editor/standard_output.h"

int main(int argc, char** argv) {
  winsim::useBinaryStandardOutput();
  std::string error;
  const auto machine = winsim::loadSandboxMachine(error);
  if (!machine) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const auto os = quillfex::makeHostOs();
  const winsim::EditorResult result = winsim::runEditor(std::vector<std::string>(argv + 1, argv + argc), *os, *machine);
  std::fwrite(result.output.data(), 1, result.output.size(), stdout);
  std::fwrite(result.errors.data(), 1, result.errors.size(), stderr);
  return result.status;
}
