#pragma once
// A program context on a real winsim sandbox: the POSIX seam, winsim-cmd and the editor the program
// carries, extracted into the boot folder, with a screen that is not open (its waits return at once).

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/posix_os.h"
#include "sample_machines.h"
#include "screen/screen.h"
#include "state/context.h"
#include "winsim/front/machine_report.h"

namespace quillfex::testing {

class MachineTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Builds the machine, sets SystemDrive, temp and QUILLFEX_SIM_ROOT, goes into the boot folder and writes
  // out the editor, as start-up leaves things.
  void makeMachine(const std::string& description);

  winsim::MachineReport report() const;
  std::vector<std::string> transcript() const;
  void clearTranscript() const;
  std::string readFile(const std::string& relative) const;
  void writeFile(const std::string& relative, const std::string& content) const;
  bool exists(const std::string& relative) const { return std::filesystem::exists(root / relative); }

  // Pixel row y of the screen (every pixel's low 24 bits).
  std::vector<Pixel> pixelRow(const Screen& screen, int y) const;

  std::filesystem::path root;
  std::optional<PosixOs> os;
  ProgramState state;
  Screen screen;
  std::optional<Context> context;
};

}  // namespace quillfex::testing
