// One winsim-cmd command line that runs the extracted editor (the listing into a capture file), against
// the baseline of spawning /bin/true, both started and waited for the same way.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "posix/process.h"
#include "temporary_machine.h"

namespace {

namespace fs = std::filesystem;

void spawnAndWait(std::vector<std::string> arguments) {
  quillfex::posix::ProcessStart start;
  start.arguments = std::move(arguments);
  start.environment = quillfex::posix::currentEnvironment();
  if (!quillfex::posix::runProcess(start)) std::abort();
}

// A sandbox of the built-in machine with the editor extracted into its boot folder, as the program leaves it.
class Machine {
 public:
  Machine() {
    const auto made = quillfex::testing::makeTemporaryMachine(winsim::defaultMachineText(), "winsim-bench");
    if (made.root.empty()) std::abort();
    root_ = made.root;
    fs::copy_file(WINSIM_EDITOR, root_ / "drives/C/Boot/Zendrakx.exe");
    setenv("QUILLFEX_SIM_ROOT", root_.c_str(), 1);
    setenv("SystemDrive", "C:", 1);
    setenv("temp", "C:\\Temp", 1);
    fs::current_path(root_ / "drives/C/Boot");
  }
  ~Machine() { fs::remove_all(root_); }

 private:
  fs::path root_;
};

void spawnTrue(benchmark::State& run) {
  for (auto _ : run) spawnAndWait({"/bin/true"});
}
BENCHMARK(spawnTrue)->Unit(benchmark::kMicrosecond)->UseRealTime();

void listingThroughWinsimCmd(benchmark::State& run) {
  static Machine machine;
  for (auto _ : run) spawnAndWait({WINSIM_CMD, "Zendrakx.exe>%temp%\\Quillfex.000"});
}
BENCHMARK(listingThroughWinsimCmd)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
