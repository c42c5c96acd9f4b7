// Faults of the machine description: a drive that refuses copies or renames, a registry editor that
// fails. Each fails as on Windows, with an error and no change.

#include "winsim/cmd_fixture.h"

namespace winsim::testing {
namespace {

struct FaultCase {
  const char* command;
  const char* arg;
  const char* line;
  const char* unchanged;  // a file that must stay as it was: absent, or with its content
  bool existsBefore;
};

TEST_F(CmdTest, FaultsLeaveNoChange) {
  for (const FaultCase& c : {
           FaultCase{"copy", "D", "xcopy /h /y \\bootmgr D:\\>nul", "drives/D/bootmgr", false},
           FaultCase{"copy", "", "xcopy /s /c /h /y \\Boot D:\\Boot\\>nul", "drives/D/Boot", false},
           FaultCase{"copy", "d:\\BOOTMGR", "xcopy /h /y \\bootmgr D:\\>nul", "drives/D/bootmgr", false},
           FaultCase{"rename", "c", "ren C:\\Boot\\memtest.exe lid.bcd>nul", "drives/C/Boot/memtest.exe", true},
           FaultCase{"regedit", "", "regedit /e %temp%\\Quillfex.001 HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices",
                     "drives/C/Temp/Quillfex.001", false},
           FaultCase{"regedit", "Quillfex.001",
                     "regedit /e %temp%\\Quillfex.001 HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices",
                     "drives/C/Temp/Quillfex.001", false},
       }) {
    addFault(c.command, c.arg);
    const CmdResult result = run(c.line);
    EXPECT_NE(result.status, 0) << c.line;
    EXPECT_NE(result.errors, "") << c.line;
    EXPECT_EQ(exists(c.unchanged), c.existsBefore) << c.line;
  }
}

TEST_F(CmdTest, FaultOnAnotherDriveDoesNotHit) {
  addFault("copy", "E");
  EXPECT_EQ(run("xcopy /h /y \\bootmgr D:\\>nul").status, 0);
  addFault("rename", "D");
  EXPECT_EQ(run("ren C:\\Boot\\memtest.exe other.exe>nul").status, 0);
}

TEST_F(CmdTest, BrokenDescriptionFailsTheCommandWithItsReason) {
  writeFile("machine.toml", "system_drive = 3\n");
  const CmdResult result = run("xcopy /h /y \\bootmgr D:\\>nul");
  EXPECT_NE(result.errors.find("system_drive"), std::string::npos) << result.errors;
  EXPECT_FALSE(exists("drives/D/bootmgr"));
}

}  // namespace
}  // namespace winsim::testing
