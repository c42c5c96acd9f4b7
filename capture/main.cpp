// quillfex-capture: records what Quillfex reads of this machine into a folder, changing nothing, so that the
// machine can be rebuilt with `winsim make --from-capture` and a run rehearsed on the replica first.

#include <cstdio>
#include <string>

#include "capture/capture.h"
#include "screen/screen.h"

namespace {

constexpr int usageError = 2;

const char* const usage =
    "Usage: quillfex-capture [FOLDER]\n"
    "Records the boot configuration, the MountedDevices key, sector 0 of disks 0 to 3 and the boot files of\n"
    "every drive into FOLDER (default: Quillfex-capture beside this program). Changes nothing on the machine.\n"
    "Run it as an administrator, then copy the folder and give it to `winsim make --from-capture`.\n";

bool asksForHelp(const std::string& argument) { return argument == "-h" || argument == "--help" || argument == "/?"; }

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && asksForHelp(argv[1]))) {
    std::fputs(usage, argc > 2 ? stderr : stdout);
    return argc > 2 ? usageError : 0;
  }
  const auto os = quillfex::makeHostOs();
  quillfex::ProgramState state;
  // Never opened: the operations the capture shares with the program take a screen they do not use here.
  quillfex::Screen screen;
  quillfex::Context context{state, *os, screen};
  const std::string beside = os->programFolder();
  const std::string folder =
      argc == 2 ? argv[1] : beside + (beside.ends_with('\\') ? "" : "\\") + quillfex::captureFolderName;
  return quillfex::captureMachine(context, folder, QUILLFEX_VERSION, [](const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
  });
}
