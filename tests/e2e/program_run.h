#pragma once
// The real program on a winsim machine, run as a user would: `winsim run` with the headless screen and a
// key script, then the machine's state and the last screen read back.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sample_machines.h"
#include "winsim/front/machine_report.h"
#include "winsim/store/boot_store.h"

namespace quillfex::testing {

class ProgramRun : public ::testing::Test {
 protected:
  void TearDown() override;

  // Builds the machine; remembers its store as it was.
  void makeMachine(const std::string& description);

  // Runs Quillfex with the keys, killed right after its killAfter-th command line unless that is 0; returns
  // its exit status. The screen as it ended is kept for shows().
  int run(const std::string& keys, int killAfter = 0);

  winsim::MachineReport machine() const;

  // Whether text stands on the last screen at row, column (from 1), drawn in colour foreground.
  bool shows(int row, int column, const std::string& text, std::uint32_t foreground = 0xD827BC) const;

  bool exists(const std::string& relative) const { return std::filesystem::exists(root / relative); }

  std::filesystem::path root;
  std::string systemDrive;
  winsim::BootStore originalStore;
  std::vector<std::uint32_t> lastScreen;  // 640 x 288, 0xRRGGBB
};

}  // namespace quillfex::testing
