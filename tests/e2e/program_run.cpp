#include "program_run.h"

#include <stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "machine/machine.h"
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

void ProgramRun::TearDown() {
  if (HasFailure()) return (void)std::fprintf(stderr, "machine kept for a look: %s\n", root.c_str());
  remove();
}

int SimulatedMachine::run(const std::string& keys, int killAfter) {
  const fs::path snapshot = root / "last-screen.png";
  fs::remove(snapshot);
  const std::string kill = std::to_string(killAfter);
  const pid_t child = ::fork();
  if (child == 0) {
    if (killAfter > 0) {
      std::freopen("/dev/null", "w", stderr);  // winsim says that the run was cut off
      ::execl(WINSIM, WINSIM, "run", root.c_str(), "--keys", keys.c_str(), "--screen", "headless", "--snap",
              snapshot.c_str(), "--kill-after", kill.c_str(), "--", QUILLFEX, static_cast<char*>(nullptr));
    }
    ::execl(WINSIM, WINSIM, "run", root.c_str(), "--keys", keys.c_str(), "--screen", "headless", "--snap",
            snapshot.c_str(), "--", QUILLFEX, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  lastScreen = readPng(snapshot);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
