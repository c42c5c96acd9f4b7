// From the program's start to its first complete menu frame on the built-in sample machine: start-up
// (screen, boot-folder and rights checks, the editor written out, the listing read) and one drawMenu.
// The listing command itself is left out: the interpreter is /bin/true and the listing is already in its
// capture file, so the only command cost left is one spawn of /bin/true, measured alone as the baseline.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/main_menu.h"
#include "app/start_up.h"
#include "data/data_image.h"
#include "platform/posix/posix_os.h"
#include "posix/process.h"
#include "screen/menu_screen.h"
#include "temporary_machine.h"
#include "winsim/editor/listing.h"

namespace {

namespace fs = std::filesystem;
using namespace quillfex;

class SampleMachine {
 public:
  SampleMachine() {
    const auto made = testing::makeTemporaryMachine(winsim::defaultMachineText(), "quillfex-start");
    if (made.root.empty()) std::abort();
    root_ = made.root;
    std::ofstream(root_ / "drives/C/Temp/Quillfex.000", std::ios::binary)
        << winsim::formatListing(made.machine->store, made.machine->header);
    setenv("SystemDrive", "C:", 1);
    setenv("temp", "C:\\Temp", 1);
    setenv("QUILLFEX_SCREEN", "headless", 1);
    setenv("QUILLFEX_KEYS", "", 1);
  }
  ~SampleMachine() { fs::remove_all(root_); }
  std::string root() const { return root_.string(); }

 private:
  fs::path root_;
};

void spawnTrue(benchmark::State& run) {
  quillfex::posix::ProcessStart start;
  start.arguments = {"/bin/true"};
  start.environment = quillfex::posix::currentEnvironment();
  for (auto _ : run) {
    if (!quillfex::posix::runProcess(start)) run.SkipWithError("/bin/true did not start");
  }
}
BENCHMARK(spawnTrue)->Unit(benchmark::kMillisecond)->UseRealTime();

void startToFirstMenuFrame(benchmark::State& run) {
  static SampleMachine machine;
  for (auto _ : run) {
    PosixOs os(machine.root(), "/bin/true");
    ProgramState state;
    Screen screen;
    Context context{state, os, screen};
    if (startUp(context) != StartUp::menu) run.SkipWithError("start-up did not reach the menu");
    drawMainMenu(context);
  }
}
BENCHMARK(startToFirstMenuFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
