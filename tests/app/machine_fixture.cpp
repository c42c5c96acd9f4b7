#include "machine_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "helper/extract_helper.h"
#include "machine/sandbox_layout.h"
#include "temporary_machine.h"

namespace quillfex::testing {

namespace fs = std::filesystem;

void MachineTest::makeMachine(const std::string& description) {
  const TemporaryMachine made = makeTemporaryMachine(description, "quillfex-app");
  ASSERT_FALSE(made.root.empty()) << made.error;
  root = made.root;
  const auto& machine = made.machine;

  ::setenv("SystemDrive", machine->systemDrive.c_str(), 1);
  ::setenv("temp", machine->temp.c_str(), 1);
  ::setenv("QUILLFEX_SIM_ROOT", root.c_str(), 1);
  os.emplace(root.string(), WINSIM_CMD);
  context.emplace(Context{state, *os, screen});
  state.systemDrive = machine->systemDrive;
  state.optionTwoText = std::string(80, '-');
  ASSERT_TRUE(os->changeDirectory(state.systemDrive + "\\Boot"));
  extractHelper(*os);
}

void MachineTest::TearDown() {
  if (!root.empty()) fs::remove_all(root);
}

winsim::MachineReport MachineTest::report() const {
  std::string error;
  const auto machine = winsim::readMachineReport(root, error);
  EXPECT_TRUE(machine) << error;
  return machine ? *machine : winsim::MachineReport{};
}

std::vector<std::string> MachineTest::transcript() const {
  std::vector<std::string> lines;
  std::ifstream file(winsim::layout::transcript(root));
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

void MachineTest::clearTranscript() const { std::ofstream(winsim::layout::transcript(root), std::ios::trunc); }

std::string MachineTest::readFile(const std::string& relative) const {
  std::ifstream in(root / relative, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void MachineTest::writeFile(const std::string& relative, const std::string& content) const {
  std::ofstream(root / relative, std::ios::binary | std::ios::trunc) << content;
}

std::vector<Pixel> MachineTest::pixelRow(const Screen& shown, int y) const {
  std::vector<Pixel> row;
  for (int x = 0; x < 640; ++x) row.push_back(shown.readPixel(x, y) & 0xFFFFFF);
  return row;
}

}  // namespace quillfex::testing
