#include "helper/command.h"

#include <gtest/gtest.h>

#include "fake_os.h"
#include "helper/command_lines.h"

namespace quillfex {
namespace {

TEST(Command, CapturePathReadsTempEachTime) {
  testing::FakeOs os;
  os.environment["temp"] = "C:\\Temp";
  EXPECT_EQ(capturePath(os, CaptureSlot::listing), "C:\\Temp\\Quillfex.000");
  os.environment["temp"] = "D:\\Other";
  EXPECT_EQ(capturePath(os, CaptureSlot::windowsProbe), "D:\\Other\\Quillfex.003");
  os.environment.erase("temp");
  EXPECT_EQ(capturePath(os, CaptureSlot::registryExport), "\\Quillfex.001");
}

TEST(Command, CaptureArgumentIsQuotedOnlyWhereTheInterpreterWouldSplitIt) {
  struct Case {
    std::string temp, argument;
  } cases[] = {
      {"C:\\Temp", "%temp%\\Quillfex.002"},
      {"C:\\Users\\JOHNSM~1\\AppData\\Local\\Temp", "%temp%\\Quillfex.002"},
      {"C:\\Users\\John Smith\\AppData\\Local\\Temp", "\"%temp%\\Quillfex.002\""},
      {"C:\\Tab\there", "\"%temp%\\Quillfex.002\""},
      {"C:\\R&D", "\"%temp%\\Quillfex.002\""},
      {"C:\\a;b", "\"%temp%\\Quillfex.002\""},
      {"C:\\a=b", "\"%temp%\\Quillfex.002\""},
      {"C:\\a,b", "\"%temp%\\Quillfex.002\""},
      {"C:\\x(86)", "\"%temp%\\Quillfex.002\""},
      {"C:\\a^b", "\"%temp%\\Quillfex.002\""},
  };
  testing::FakeOs os;
  for (const auto& c : cases) {
    os.environment["temp"] = c.temp;
    EXPECT_EQ(captureArgument(os, CaptureSlot::narrowedExport), c.argument) << c.temp;
  }
}

TEST(CommandLines, AreTheInterpretersLinesByteForByte) {
  testing::FakeOs os;
  os.environment["temp"] = "C:\\Temp";
  struct Case {
    std::string line, expected;
  } cases[] = {
      {listingCommand(os), "Zendrakx.exe>%temp%\\Quillfex.000"},
      {exportStoreCommand("org.bcd"), "Zendrakx.exe /export org.bcd>nul"},
      {importStoreCommand("org.bcd"), "Zendrakx.exe /import org.bcd>nul"},
      {deleteEntryCommand("{a1b2}"), "Zendrakx.exe /f /delete {a1b2}>nul"},
      {exportStoreCommand("lid.bcd"), "Zendrakx.exe /export lid.bcd>nul"},
      {importStoreCommand("lid.bcd"), "Zendrakx.exe /import lid.bcd>nul"},
      {copyBootFolderCommand("D:"), "xcopy /s /c /h /y \\Boot D:\\Boot\\>nul"},
      {renameCopiedStoreCommand("D:"), "ren D:\\Boot\\lid.bcd BCD>nul"},
      {copyBootManagerCommand("D:"), "xcopy /h /r /y \\bootmgr D:\\>nul"},
      {probeWindowsCommand(os, "D:"), "dir /b /a D:\\Windows\\System32\\b*>%temp%\\Quillfex.003"},
      {listRootCommand(os, "C:"), "dir /b /a C:\\>%temp%\\Quillfex.000"},
      {listBootFolderCommand(os, "E:"), "dir /b /a E:\\Boot>%temp%\\Quillfex.000"},
      {exportMountedDevicesCommand(os), "regedit /e %temp%\\Quillfex.001 HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.line, c.expected);

  os.environment["temp"] = "C:\\Users\\John Smith\\AppData\\Local\\Temp";
  EXPECT_EQ(listingCommand(os), "Zendrakx.exe>\"%temp%\\Quillfex.000\"");
  EXPECT_EQ(exportMountedDevicesCommand(os),
            "regedit /e \"%temp%\\Quillfex.001\" HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices");
  EXPECT_EQ(probeWindowsCommand(os, "E:"), "dir /b /a E:\\Windows\\System32\\b*>\"%temp%\\Quillfex.003\"");
}

}  // namespace
}  // namespace quillfex
