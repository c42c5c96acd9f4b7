#pragma once
// The real program on a winsim machine, run as a user would: `winsim run` with the headless screen and a
// key script, then the machine's state and the last screen read back.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "machine/boot_store.h"
#include "sample_machines.h"
#include "winsim/front/machine_report.h"

namespace quillfex::testing {

// More keys than any machine has screens to answer: an elimination run, and a restore, each to its end.
inline const std::string eliminationKeys = "Enter Enter Enter Enter Enter Enter Enter Enter";
inline const std::string restoreKeys = "Down Enter Enter";

// One machine in its own temporary sandbox; free of any test framework, so that a soak program can drive it.
class SimulatedMachine {
 public:
  // Builds the machine; remembers its store as it was. "" or why it could not be made.
  std::string make(const std::string& description);
  void remove();

  // Runs Quillfex with the keys, killed right after its killAfter-th command line unless that is 0; returns
  // its exit status. The screen as it ended is kept for shows().
  int run(const std::string& keys, int killAfter = 0);

  // The machine as it is now; nullopt, with the reason in error, when the sandbox cannot be read.
  std::optional<winsim::MachineReport> read(std::string& error) const;

  // Whether text stands on the last screen at row, column (from 1), drawn in colour foreground.
  bool shows(int row, int column, const std::string& text, std::uint32_t foreground = 0xD827BC) const;

  bool exists(const std::string& relative) const { return std::filesystem::exists(root / relative); }

  std::filesystem::path root;
  std::string systemDrive;
  winsim::BootStore originalStore;
  std::vector<std::uint32_t> lastScreen;  // 640 x 288, 0xRRGGBB
};

class ProgramRun : public ::testing::Test, public SimulatedMachine {
 protected:
  void TearDown() override { finishMachine(); }
  // Removes the machine, or keeps it for a look and says where once the test has failed.
  void finishMachine();
  void makeMachine(const std::string& description) { ASSERT_EQ(make(description), ""); }
  winsim::MachineReport machine() const;
};

// A sample machine's file name as the name of its test case: xp-and-7.toml runs as xp_and_7.
std::string machineCaseName(const ::testing::TestParamInfo<std::string>& info);

}  // namespace quillfex::testing
