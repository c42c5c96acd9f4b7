#include "program_run.h"

#include <stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "screen/font.h"
#include "temporary_machine.h"
#include "winsim/machine/machine.h"

namespace quillfex::testing {

namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

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

bool isSystemEntry(const winsim::BootEntry& entry, const std::string& systemDrive) {
  return entry.kind == winsim::EntryKind::bootManager ||
         ((entry.kind == winsim::EntryKind::loader || entry.kind == winsim::EntryKind::legacy) &&
          entry.device == "partition=" + systemDrive);
}

std::vector<std::string> idsOf(const winsim::BootStore& store) {
  std::vector<std::string> ids;
  for (const auto& entry : store.entries) ids.push_back(entry.id);
  return ids;
}

}  // namespace

void ProgramRun::makeMachine(const std::string& description) {
  const TemporaryMachine made = makeTemporaryMachine(description, "quillfex-e2e");
  ASSERT_FALSE(made.root.empty()) << made.error;
  root = made.root;
  systemDrive = made.machine->systemDrive;
  originalStore = made.machine->store;
}

void ProgramRun::TearDown() {
  if (!root.empty() && !HasFailure()) fs::remove_all(root);
  if (HasFailure()) std::fprintf(stderr, "machine kept for a look: %s\n", root.c_str());
}

int ProgramRun::run(const std::string& keys) {
  const fs::path snapshot = root / "last-screen.png";
  fs::remove(snapshot);
  const pid_t child = ::fork();
  if (child == 0) {
    ::execl(WINSIM, WINSIM, "run", root.c_str(), "--keys", keys.c_str(), "--screen", "headless", "--snap",
            snapshot.c_str(), "--", QUILLFEX, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  lastScreen = readPng(snapshot);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

winsim::MachineReport ProgramRun::machine() const {
  std::string error;
  const auto report = winsim::readMachineReport(root, error);
  EXPECT_TRUE(report) << error;
  return report ? *report : winsim::MachineReport{};
}

bool ProgramRun::shows(int row, int column, const std::string& text, std::uint32_t foreground) const {
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

std::optional<winsim::BootStore> ProgramRun::orgBackup() const {
  std::string error;
  const fs::path file = root / "drives" / std::string(1, systemDrive[0]) / "Boot" / "org.bcd";
  if (!fs::exists(file)) return std::nullopt;
  return winsim::parseStore(readText(file), error);
}

void ProgramRun::expectNothingLost() const {
  const winsim::MachineReport now = machine();
  ASSERT_TRUE(now.systemStore) << "the system store is gone";
  for (const auto& entry : originalStore.entries) {
    if (isSystemEntry(entry, systemDrive)) {
      EXPECT_TRUE(now.systemStore->find(entry.id)) << entry.id << " lost";
    }
  }
  if (idsOf(*now.systemStore) != idsOf(originalStore)) {
    const auto backup = orgBackup();
    ASSERT_TRUE(backup) << "the store changed and org.bcd does not hold it";
    EXPECT_EQ(idsOf(*backup), idsOf(originalStore));
    EXPECT_EQ(backup->displayOrder, originalStore.displayOrder);
  }
  for (const auto& name : now.temp) EXPECT_NE(name.rfind("Quillfex.", 0), 0u) << name << " left behind";
  for (const auto& name : now.bootFolder) {
    EXPECT_NE(name, "lid.bcd") << "left behind";
    EXPECT_NE(name, "Zendrakx.exe") << "left behind";
  }
}

}  // namespace quillfex::testing
