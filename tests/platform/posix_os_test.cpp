#include "platform/posix/posix_os.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/whole_file.h"
#include "sandbox_fixture.h"

namespace quillfex {
namespace {

class PosixOsTest : public testing::SandboxTest {
 protected:
  PosixOs makeOs() const { return PosixOs(root.string(), ECHO_INTERPRETER); }

  std::array<std::uint8_t, sectorSize> sector{};
};

TEST_F(PosixOsTest, ResolvesWindowsPathsWithoutRegardToCase) {
  writeFile("drives/C/Boot/BCD", "store");
  PosixOs os = makeOs();
  ASSERT_TRUE(os.changeDirectory("c:\\BOOT"));
  EXPECT_EQ(os.currentDirectory(), "c:\\BOOT");  // kept as it was written, like Windows does
  EXPECT_EQ(readWholeFile(os, "bcd"), "store");
  EXPECT_EQ(readWholeFile(os, "\\boot\\Bcd"), "store");
  EXPECT_EQ(os.hostPath("C:\\Boot\\New.txt"), (root / "drives/C/Boot/New.txt").string());
}

// A partition without a letter is reached as Windows reaches it, through its device; no name leads out of it.
TEST_F(PosixOsTest, ReachesAPartitionWithoutALetterThroughItsDevice) {
  writeFile("volumes/HarddiskVolume1/Boot/BCD", "store");
  const PosixOs os = makeOs();
  const struct {
    std::string path, host;  // host: relative to the sandbox, "" for none
  } cases[] = {
      {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\Boot\\BCD", "volumes/HarddiskVolume1/Boot/BCD"},
      {"\\\\?\\globalroot\\device\\harddiskvolume1\\BOOT\\bcd", "volumes/HarddiskVolume1/Boot/BCD"},
      {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume12\\org.bcd", "volumes/HarddiskVolume12/org.bcd"},
      {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\..\\..\\drives", ""},
      {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\a/../../x", ""},
      {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume\\Boot", ""},
      {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1x\\Boot", ""},
  };
  for (const auto& [path, host] : cases) {
    EXPECT_EQ(os.hostPath(path), host.empty() ? "" : (root / host).string()) << path;
  }
}

TEST_F(PosixOsTest, KeepsTheCurrentDirectoryWhenTheChangeFails) {
  PosixOs os = makeOs();
  ASSERT_TRUE(os.changeDirectory("C:\\Boot"));
  EXPECT_FALSE(os.changeDirectory("C:\\Missing"));
  EXPECT_FALSE(os.changeDirectory("Q:\\"));  // no such drive
  EXPECT_EQ(os.currentDirectory(), "C:\\Boot");
}

TEST_F(PosixOsTest, CreatesAndDeletesFiles) {
  PosixOs os = makeOs();
  os.changeDirectory("C:\\Boot");
  os.openForUpdate("lid.bcd")->writeAt(0, "x");
  EXPECT_EQ(readFile("drives/C/Boot/lid.bcd"), "x");
  os.deleteFile("LID.BCD");
  EXPECT_FALSE(exists("drives/C/Boot/lid.bcd"));
  os.deleteFile("lid.bcd");   // already gone: silent
  os.deleteFile("C:\\Boot");  // a folder is not a file
  EXPECT_TRUE(exists("drives/C/Boot"));
  EXPECT_EQ(os.openForReading("C:\\Boot"), nullptr);
}

TEST_F(PosixOsTest, CreatesFoldersOneAtATime) {
  writeFile("drives/C/Boot/BCD", "store");
  PosixOs os = makeOs();
  EXPECT_TRUE(os.createFolder("C:\\Capture"));
  EXPECT_TRUE(std::filesystem::is_directory(root / "drives/C/Capture"));
  EXPECT_TRUE(os.createFolder("c:\\boot"));        // there already
  EXPECT_FALSE(os.createFolder("C:\\Boot\\BCD"));  // a file
  EXPECT_FALSE(os.createFolder("C:\\Missing\\Folder"));
}

TEST_F(PosixOsTest, RenamesOnlyOntoAFreeName) {
  writeFile("drives/C/Boot/BCD", "old");
  writeFile("drives/C/Boot/lid.bcd", "new");
  PosixOs os = makeOs();
  os.changeDirectory("C:\\Boot");
  EXPECT_FALSE(os.renameFile("lid.bcd", "bcd"));  // Windows refuses an existing name, whatever its case
  EXPECT_TRUE(os.renameFile("c:\\boot\\BCD", "BCD.bak"));
  EXPECT_TRUE(os.renameFile("LID.bcd", "BCD"));
  EXPECT_EQ(readFile("drives/C/Boot/BCD"), "new");
  EXPECT_EQ(readFile("drives/C/Boot/BCD.bak"), "old");
  EXPECT_FALSE(os.renameFile("missing", "other"));
}

TEST_F(PosixOsTest, RunsTheLineUnchangedInTheCurrentDirectory) {
  const std::string log = (root / "echo.log").string();
  ::setenv("ECHO_LOG", log.c_str(), 1);
  ::setenv("temp", "C:\\Users\\John Smith\\Temp", 1);
  PosixOs os = makeOs();
  os.changeDirectory("C:\\Boot");
  const std::string line = "Zendrakx.exe /f /delete {a b} \"%temp%\\x\" & | < > ^ ' $HOME `id` \\>nul";
  EXPECT_EQ(os.runCommandLine(line), 3);  // the interpreter's own status
  EXPECT_EQ(readFile("echo.log"), "argc=2\nline=" + line + "\ncwd=" + (root / "drives/C/Boot").string() +
                                      "\ntemp=C:\\Users\\John Smith\\Temp\n");
  EXPECT_EQ(readFile("console.log"), "console output\n");
  ::unsetenv("ECHO_LOG");
}

TEST_F(PosixOsTest, AMissingInterpreterIsAnOrdinaryOutcome) {
  PosixOs os(root.string(), (root / "no-such-interpreter").string());
  EXPECT_EQ(os.runCommandLine("dir"), -1);
  EXPECT_NE(readFile("console.log").find("could not be started"), std::string::npos);
}

TEST_F(PosixOsTest, ReadsDiskSectorsWithWindowsStatusCodes) {
  std::string disk(1024, '\0');
  disk[512 + 440] = '\x12';
  writeFile("disks/PhysicalDrive0", disk);
  writeFile("disks/PhysicalDrive1", std::string(100, 'x'));
  PosixOs os = makeOs();

  EXPECT_EQ(os.readRawSector("\\\\.\\PhysicalDrive0", 512, 0, sector), 0u);
  EXPECT_EQ(sector[440], 0x12);
  EXPECT_EQ(os.readRawSector("\\\\.\\PhysicalDrive1", 0, 0, sector), 38u);  // short read
  sector.fill(0xAB);
  EXPECT_EQ(os.readRawSector("\\\\.\\PhysicalDrive3", 0, 0, sector), 6u);   // no such disk
  EXPECT_EQ(os.readRawSector("\\\\.\\PhysicalDrive0", 0, 1, sector), 38u);  // 4 GiB in: past the end
  EXPECT_EQ(os.readRawSector("\\\\.\\Harddisk0", 0, 0, sector), 6u);
}

// The smallest description the machine model accepts: one disk with the system drive on it.
constexpr const char* oneDisk = "[[disk]]\nsignature = \"12ab0cff\"\n[[disk.partition]]\nletter = \"C\"\n";

TEST_F(PosixOsTest, MachineFileDecidesRightsAndUnreadableDisks) {
  writeFile("disks/PhysicalDrive0", std::string(512, 'a'));
  writeFile("disks/PhysicalDrive1", std::string(512, 'b'));
  writeFile("machine.toml", std::string("elevated = false\n") + oneDisk);
  sector.fill(0xAB);
  EXPECT_EQ(makeOs().readRawSector("\\\\.\\PhysicalDrive0", 0, 0, sector), 6u);
  EXPECT_EQ(sector[0], 0xAB);  // untouched when the open fails

  writeFile("machine.toml", std::string(oneDisk) + "[[fault]]\ncommand = \"disk\"\narg = \"1\"\nafter = 1\n");
  EXPECT_EQ(makeOs().readRawSector("\\\\.\\PhysicalDrive0", 0, 0, sector), 0u);
  EXPECT_EQ(makeOs().readRawSector("\\\\.\\PhysicalDrive1", 0, 0, sector), 0u);  // `after` lets the first through
  EXPECT_EQ(makeOs().readRawSector("\\\\.\\PhysicalDrive1", 0, 0, sector), 23u);

  // As winsim-cmd reads it: a description that cannot be read makes every disk fail.
  writeFile("machine.toml", "this is [ not toml");
  EXPECT_EQ(makeOs().readRawSector("\\\\.\\PhysicalDrive0", 0, 0, sector), 23u);
}

TEST_F(PosixOsTest, StartsInTheDriveFolderItWasStartedIn) {
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(root / "drives/C/Boot");
  PosixOs os = makeOs();
  std::filesystem::current_path(before);
  EXPECT_EQ(os.currentDirectory(), "C:\\Boot");
  // Where the executable lies outside the machine, the folder it was started in stands for its own.
  os.changeDirectory("C:\\");
  EXPECT_EQ(os.programFolder(), "C:\\Boot");
}

TEST(PosixOsWithoutSandbox, HasNoFilesAndNoDisks) {
  PosixOs os("", ECHO_INTERPRETER);
  std::array<std::uint8_t, sectorSize> sector{};
  EXPECT_EQ(os.openForUpdate("C:\\x"), nullptr);
  EXPECT_FALSE(os.changeDirectory("C:\\Boot"));
  EXPECT_EQ(os.readRawSector("\\\\.\\PhysicalDrive0", 0, 0, sector), 6u);
}

}  // namespace
}  // namespace quillfex
