#include "program_run.h"

#include <fcntl.h>
#include <stb_image.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "machine/machine.h"
#include "posix/descriptor.h"
#include "posix/process.h"
#include "screen/font.h"
#include "temporary_machine.h"

namespace quillfex::testing {

namespace fs = std::filesystem;

namespace {

std::vector<std::uint32_t> readPng(const fs::path& file) {
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(file.c_str(), &width, &height, &channels, 3);
  std::vector<std::uint32_t> image;
  if (pixels == nullptr || width != 640 || height != 288) return image;
  for (int i = 0; i < width * height; ++i) {
    image.push_back(std::uint32_t{pixels[3 * i]} << 16 | std::uint32_t{pixels[3 * i + 1]} << 8 | pixels[3 * i + 2]);
  }
  stbi_image_free(pixels);
  return image;
}

}  // namespace

std::string SimulatedMachine::make(const std::string& description) {
  const TemporaryMachine made = makeTemporaryMachine(description, "quillfex-e2e");
  if (made.root.empty()) return made.error.empty() ? "the sandbox could not be made" : made.error;
  root = made.root;
  systemDrive = made.machine->systemDrive;
  originalStore = made.machine->store;
  return "";
}

void SimulatedMachine::remove() {
  if (!root.empty()) fs::remove_all(root);
  root.clear();
}

void ProgramRun::finishMachine() {
  if (HasFailure()) return (void)std::fprintf(stderr, "machine kept for a look: %s\n", root.c_str());
  remove();
}

std::string machineCaseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = fs::path(info.param).stem().string();
  std::replace_if(
      name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) == 0; }, '_');
  return name;
}

int SimulatedMachine::run(const std::string& keys, int killAfter) {
  const fs::path snapshot = root / "last-screen.png";
  fs::remove(snapshot);
  posix::ProcessStart start;
  start.arguments = {WINSIM, "run", root.string(), "--keys", keys, "--screen", "headless", "--snap", snapshot.string()};
  if (killAfter > 0) start.arguments.insert(start.arguments.end(), {"--kill-after", std::to_string(killAfter)});
  start.arguments.insert(start.arguments.end(), {"--", QUILLFEX});
  start.environment = posix::currentEnvironment();
  // winsim says that the run was cut off, which is what the test asked for.
  const auto quiet = posix::openFile("/dev/null", O_WRONLY);
  if (killAfter > 0 && quiet) start.errors = quiet->get();
  const auto end = posix::runProcess(start);
  lastScreen = readPng(snapshot);
  return end && end->signal == 0 ? end->exitCode : -1;
}

std::optional<winsim::MachineReport> SimulatedMachine::read(std::string& error) const {
  return winsim::readMachineReport(root, error);
}

winsim::MachineReport ProgramRun::machine() const {
  std::string error;
  const auto report = read(error);
  EXPECT_TRUE(report) << error;
  return report ? *report : winsim::MachineReport{};
}

bool SimulatedMachine::shows(int row, int column, const std::string& text, std::uint32_t foreground) const {
  if (lastScreen.empty()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int left = (column - 1 + static_cast<int>(i)) * glyphWidth;
    const unsigned char code = static_cast<unsigned char>(text[i]);
    for (int y = 0; y < glyphHeight; ++y) {
      const std::uint8_t bits = fontCp437[code * glyphHeight + static_cast<std::size_t>(y)];
      for (int x = 0; x < glyphWidth; ++x) {
        const bool lit =
            lastScreen[static_cast<std::size_t>(((row - 1) * glyphHeight + y) * 640 + left + x)] == foreground;
        if (lit != (((bits >> x) & 1) != 0)) return false;
      }
    }
  }
  return true;
}

}  // namespace quillfex::testing
