// xcopy: hidden and system files with /h and their attributes, the live store and its logs that cannot be
// copied, going on after errors with /c, overwriting with /y, read-only files with /r.

#include "winsim/cmd_fixture.h"

namespace winsim::testing {
namespace {

TEST_F(CmdTest, BootFolderCopyLeavesOutOnlyTheLiveStoreAndItsLogs) {
  const CmdResult result = run("xcopy /s /c /h /y \\Boot D:\\Boot\\");
  EXPECT_EQ(result.output,
            "\\Boot\\BCD\r\n\\Boot\\BCD.LOG1\r\n\\Boot\\bootstat.dat\r\n\\Boot\\memtest.exe\r\n"
            "\\Boot\\en-US\\bootmgr.exe.mui\r\n\\Boot\\Fonts\\wgl4_boot.ttf\r\n4 File(s) copied\r\n");
  EXPECT_EQ(result.errors, "Sharing violation\r\nSharing violation\r\n");
  EXPECT_NE(result.status, 0);
  EXPECT_FALSE(exists("drives/D/Boot/BCD"));
  EXPECT_FALSE(exists("drives/D/Boot/BCD.LOG1"));
  EXPECT_EQ(readFile("drives/D/Boot/bootstat.dat"), "status");
  EXPECT_EQ(flagsOf("drives/D/Boot/bootstat.dat"), "S");
  EXPECT_EQ(readFile("drives/D/Boot/Fonts/wgl4_boot.ttf"), "font");
  EXPECT_EQ(readFile("drives/D/Boot/en-US/bootmgr.exe.mui"), "messages");
}

TEST_F(CmdTest, WithoutContinueTheFirstErrorStopsTheCopy) {
  const CmdResult result = run("xcopy /s /h /y \\Boot D:\\Boot\\");
  EXPECT_EQ(result.output, "\\Boot\\BCD\r\n0 File(s) copied\r\n");
  EXPECT_FALSE(exists("drives/D/Boot"));
}

TEST_F(CmdTest, WithoutHiddenSwitchHiddenAndSystemFilesStay) {
  const CmdResult result = run("xcopy /s /c /y \\Boot D:\\Boot\\");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.errors, "");
  EXPECT_TRUE(exists("drives/D/Boot/memtest.exe"));
  EXPECT_FALSE(exists("drives/D/Boot/BCD"));
  EXPECT_FALSE(exists("drives/D/Boot/bootstat.dat"));
}

TEST_F(CmdTest, WithSubfoldersEmptyOnesAreNotMade) {
  std::filesystem::create_directories(root / "drives/C/Boot/Empty");
  run("xcopy /s /c /h /y \\Boot D:\\Boot\\");
  EXPECT_FALSE(exists("drives/D/Boot/Empty"));
}

TEST_F(CmdTest, SingleHiddenFile) {
  const CmdResult plain = run("xcopy /y \\bootmgr D:\\>nul");
  EXPECT_FALSE(exists("drives/D/bootmgr"));
  EXPECT_NE(plain.status, 0);

  const CmdResult hidden = run("xcopy /h /y \\bootmgr D:\\");
  EXPECT_EQ(hidden.status, 0);
  EXPECT_EQ(hidden.output, "\\bootmgr\r\n1 File(s) copied\r\n");
  EXPECT_EQ(readFile("drives/D/bootmgr"), "boot manager");
  EXPECT_EQ(flagsOf("drives/D/bootmgr"), "HS");
}

TEST_F(CmdTest, OverwriteOnlyWithY) {
  writeFile("drives/D/bootmgr", "old");
  run("xcopy /h \\bootmgr D:\\>nul");
  EXPECT_EQ(readFile("drives/D/bootmgr"), "old");
  run("xcopy /h /y \\bootmgr d:\\>nul");
  EXPECT_EQ(readFile("drives/D/bootmgr"), "boot manager");
}

// Without /r a read-only target stays; a copy is not read-only unless /k keeps the attribute.
TEST_F(CmdTest, AReadOnlyTargetIsReplacedOnlyWithR) {
  writeFile("drives/D/bootmgr", "old", "RHS");
  EXPECT_EQ(run("xcopy /h /y \\bootmgr D:\\").errors, "Access denied\r\n");
  EXPECT_EQ(readFile("drives/D/bootmgr"), "old");
  EXPECT_EQ(run("xcopy /h /r /y \\bootmgr D:\\>nul").status, 0);
  EXPECT_EQ(readFile("drives/D/bootmgr"), "boot manager");
  EXPECT_EQ(flagsOf("drives/D/bootmgr"), "HS");
  EXPECT_EQ(run("xcopy /h /r /k /y \\bootmgr D:\\>nul").status, 0);
  EXPECT_EQ(flagsOf("drives/D/bootmgr"), "RHS");
}

TEST_F(CmdTest, StoreOfAnotherDriveIsNotInUse) {
  writeFile("drives/D/Boot/BCD", "other store", "HS");
  EXPECT_EQ(run("xcopy /h /y D:\\Boot\\BCD C:\\Temp\\>nul").status, 0);
  EXPECT_EQ(readFile("drives/C/Temp/BCD"), "other store");
}

TEST_F(CmdTest, CopyOntoItselfLeavesTheFile) {
  EXPECT_EQ(run("xcopy /h /y \\bootmgr C:\\").errors, "File cannot be copied onto itself\r\n");
  EXPECT_EQ(readFile("drives/C/bootmgr"), "boot manager");
}

TEST_F(CmdTest, MissingSourceOrDrive) {
  EXPECT_EQ(run("xcopy /h /y \\nothing D:\\").errors, "File not found - nothing\r\n");
  EXPECT_EQ(run("xcopy /h /y \\bootmgr Q:\\").errors, "Invalid drive specification\r\n");
}

}  // namespace
}  // namespace winsim::testing
