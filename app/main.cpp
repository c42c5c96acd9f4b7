// Quillfex's entry point. The screen, the menu and the two actions are still to come; until then the
// program runs the checks that exist and prints what it finds.

#include <cstdio>
#include <string>

#include "core/context.h"
#include "core/text.h"
#include "readers/disk_sector.h"

using namespace quillfex;

namespace {

void reportDisks(Context& context) {
  for (int disk = 0; disk < 4; ++disk) {
    readSector(context, disk, 0, 0);
    if (context.state.lastStatus == 0) {
      diskSignatureText(context);
      std::printf("  disk %d: signature %s\n", disk, context.state.lineBuffer.c_str());
    } else {
      std::printf("  disk %d: no signature (status %d)\n", disk, static_cast<int>(context.state.lastStatus));
    }
  }
}

}  // namespace

int main() {
  const auto os = makeHostOs();
  ProgramState state;
  Context context{state, *os};

  std::puts("Quillfex is not complete yet: the screen, the menu and both actions come later.");
  std::puts("What runs now:");
  state.systemDrive = os->environmentVariable("SystemDrive");
  os->changeDirectory(state.systemDrive + "\\Boot");
  const std::string folder = os->currentDirectory();
  const bool inBootFolder = lowerCase(middlePart(folder, 2)) == ":\\boot";
  std::printf("  SystemDrive \"%s\", current directory %s: %s\n", state.systemDrive.c_str(), folder.c_str(),
              inBootFolder ? "the boot folder" : "not the boot folder");
  reportDisks(context);
  return 0;
}
