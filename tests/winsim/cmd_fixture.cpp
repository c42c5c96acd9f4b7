#include "winsim/cmd_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "captured_run.h"
#include "machine/file_attributes.h"

namespace winsim::testing {

namespace {

const char* const machineDescription = R"(system_drive = "C:"
temp = "C:\\Temp"
[[disk]]
signature = "12ab0cff"
[[disk.partition]]
letter = "C"
bootmgr = true
[[disk.partition]]
letter = "D"
)";

const char* const mountedDevices =
    "\\DosDevices\\C:\t12,ab,0c,ff,00,7e,00,00,00,00,00,00\n"
    "\\DosDevices\\D:\t12,ab,0c,ff,00,7e,00,00,05,00,00,00\n"
    "\\??\\Volume{5157cc0e-0000-11e0-a000-806e6f6e6963}\t12,ab,0c,ff,00,7e,00,00,00,00,00,00\n";

}  // namespace

void CmdTest::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "winsim-cmd-test-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  root = pattern;
  writeFile("machine.toml", machineDescription);
  writeFile("registry/MountedDevices", mountedDevices);
  writeFile("drives/C/bootmgr", "boot manager", "RHS");
  writeFile("drives/C/Boot/BCD", "live store", "HS");
  writeFile("drives/C/Boot/BCD.LOG1", "live store's log", "HS");
  writeFile("drives/C/Boot/bootstat.dat", "status", "S");
  writeFile("drives/C/Boot/memtest.exe", "memory tester");
  writeFile("drives/C/Boot/Fonts/wgl4_boot.ttf", "font");
  writeFile("drives/C/Boot/en-US/bootmgr.exe.mui", "messages");
  for (const char* name : {"bcdedit.exe", "BOOTRES.DLL", "b_x.dll", "hal.dll"}) {
    writeFile(std::string("drives/C/Windows/System32/") + name, name);
  }
  std::filesystem::create_directories(root / "drives/C/Temp");
  std::filesystem::create_directories(root / "drives/C/Users/John Smith/Temp");
  std::filesystem::create_directories(root / "drives/D");
}

void CmdTest::TearDown() { std::filesystem::remove_all(root); }

CmdResult CmdTest::run(const std::string& line, const std::string& folder) const {
  quillfex::posix::ProcessStart start;
  start.arguments = {WINSIM_CMD, line};
  start.environment = {"QUILLFEX_SIM_ROOT=" + root.string(), "SystemDrive=C:", "temp=" + temp, "PATH=/usr/bin:/bin"};
  start.workingDirectory = (root / folder).string();
  const auto run = quillfex::testing::runCapturing(start, root);
  return {run.status, run.output, run.errors};
}

void CmdTest::writeFile(const std::string& relative, const std::string& content, const std::string& flags) const {
  std::filesystem::create_directories((root / relative).parent_path());
  std::ofstream(root / relative, std::ios::binary) << content;
  if (flags.empty()) return;
  FileAttributes attributes(root);
  attributes.set(root / relative, flags);
  attributes.save();
}

std::string CmdTest::readFile(const std::string& relative) const {
  std::ifstream in(root / relative, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string CmdTest::flagsOf(const std::string& relative) const { return FileAttributes(root).of(root / relative); }

void CmdTest::addFault(const std::string& command, const std::string& arg) const {
  writeFile("machine.toml",
            std::string(machineDescription) + "[[fault]]\ncommand = \"" + command + "\"\narg = \"" + arg + "\"\n");
}

}  // namespace winsim::testing
