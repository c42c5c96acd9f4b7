// Every sample machine, cut off after each command line of a full run, as a power loss would cut it: the
// promises hold at the kill, the restore straight after it brings back the original store or says that it
// could not, and a second run followed by the restore loses nothing either.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "program_run.h"
#include "promises.h"

namespace quillfex {
namespace {

using testing::eliminationKeys;
using testing::Ending;
using testing::ProgramRun;
using testing::restoreKeys;

const std::string back = "  The Windows boot manager is now back on.";

class CrashMatrix : public ProgramRun, public ::testing::WithParamInterface<std::string> {
 protected:
  // Runs the keys to their end and returns the promises it broke.
  std::vector<std::string> runToTheEnd(const std::string& keys) {
    const winsim::MachineReport before = machine();
    run(keys);
    return broken(before, Ending::ended);
  }

  std::vector<std::string> broken(const winsim::MachineReport& before, Ending ending) {
    const winsim::MachineReport now = machine();
    return testing::brokenPromises({before, now, testing::readBackup(root, systemDrive), originalStore, ending});
  }

  // The restore says the boot manager is back only when the store is the original again.
  void expectRestoreTruthful(const std::string& where) {
    for (const auto& promise : runToTheEnd(restoreKeys)) ADD_FAILURE() << where << ", restore: " << promise;
    const auto store = machine().systemStore;
    const bool isOriginal = store && testing::sameStore(*store, originalStore);
    if (shows(15, 1, back)) {
      EXPECT_TRUE(isOriginal) << where << ": \"back on\" for a store that is not the original";
    } else {
      EXPECT_TRUE(isOriginal || testing::readBackup(root, systemDrive)) << where << ": the restore said nothing true";
    }
    restoredOriginal += isOriginal;
  }

  int restoredOriginal = 0;
};

// Under the sanitizers every run is ten times slower; three machines there take every path of the others.
std::vector<std::string> machinesToCut() {
#ifdef QUILLFEX_SANITIZED
  return {"not-multiboot.toml", "seven-and-xp-on-c.toml", "windows-on-two-disks.toml"};
#else
  return testing::sampleMachineNames();
#endif
}

TEST_P(CrashMatrix, CutOffAfterEachCommandLine) {
  const std::string& name = GetParam();
  makeMachine(testing::sampleMachine(name));
  run(eliminationKeys);
  const auto fullRun = static_cast<int>(machine().transcript.size());
  finishMachine();
  int ownWindowsAtKill = 0, secondRunsKeptBackup = 0;
  for (int kill = 1; kill <= fullRun; ++kill) {
    const std::string where = name + ", killed after command line " + std::to_string(kill);
    for (const bool secondRun : {false, true}) {
      makeMachine(testing::sampleMachine(name));
      const winsim::MachineReport before = machine();
      run(eliminationKeys, kill);
      for (const auto& promise : broken(before, Ending::cutOff)) ADD_FAILURE() << where << ": " << promise;
      if (!secondRun) {
        const winsim::MachineReport now = machine();
        ownWindowsAtKill += std::any_of(now.drives.begin(), now.drives.end(), [&](const winsim::DriveReport& d) {
          return std::string(1, d.letter) + ":" == systemDrive && testing::bootsByItself(d);
        });
      } else {
        const auto problems = runToTheEnd(eliminationKeys);
        for (const auto& promise : problems) ADD_FAILURE() << where << ", second run: " << promise;
        secondRunsKeptBackup += problems.empty();
      }
      expectRestoreTruthful(where + (secondRun ? ", after a second run" : ""));
      finishMachine();
    }
  }
  std::printf(
      "%-32s kill points %2d, restore brings back the original %2d of %2d, second run keeps the backup "
      "%2d of %2d, own Windows in the store right after the kill %2d of %2d\n",
      name.c_str(), fullRun, restoredOriginal, 2 * fullRun, secondRunsKeptBackup, fullRun, ownWindowsAtKill, fullRun);
}

INSTANTIATE_TEST_SUITE_P(EverySampleMachine, CrashMatrix, ::testing::ValuesIn(machinesToCut()),
                         testing::machineCaseName);

}  // namespace
}  // namespace quillfex
