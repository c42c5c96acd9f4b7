// The scans in-process over the in-memory operating system: the command line each runs, and the capture
// it hands to its reader.

#include "app/scans.h"

#include <gtest/gtest.h>

#include <optional>

#include "fake_os.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "screen/screen.h"

namespace quillfex {
namespace {

const std::string windows7Listing =
    "identifier              {bootmgr}\r\ndevice                  partition=C:\r\n"
    "identifier              {current}\r\ndevice                  partition=C:\r\n"
    "identifier              {a1}\r\ndevice                  partition=D:\r\n"
    "identifier              {ntldr}\r\ndevice                  partition=E:\r\n"
    "identifier              {memdiag}\r\ndevice                  partition=C:\r\n";

class ScansTest : public ::testing::Test {
 protected:
  // The command `line` leaves `text` in the capture file (or nothing at all, for nullopt).
  void commandWrites(const std::string& line, CaptureSlot slot, std::optional<std::string> text) {
    os.onCommand = [this, line, slot, text](const std::string& run) {
      if (run == line && text) os.setFile(capturePath(os, slot), *text);
    };
  }

  std::string narrowedCapture() {
    const std::string* file = os.file(capturePath(os, CaptureSlot::narrowedExport));
    return file ? *file : "(missing)";
  }

  testing::FakeOs os;
  ProgramState state;
  Screen screen;
  Context context{state, os, screen};
};

TEST_F(ScansTest, EachListingScanRunsTheListingAndReadsItsCapture) {
  commandWrites("Zendrakx.exe>%temp%\\Quillfex.000", CaptureSlot::listing, windows7Listing);
  EXPECT_TRUE(findBootManagerDevice(context, "C:"));
  EXPECT_FALSE(findBootManagerDevice(context, "D:"));
  EXPECT_EQ(listStore(context).entries.size(), 5u);
  EXPECT_EQ(listStore(context).text, windows7Listing);
  EXPECT_EQ(os.commandLines.size(), 4u);  // every scan runs the listing itself
}

TEST_F(ScansTest, AnEmptyOrMissingListingHasNoEntries) {
  for (const std::optional<std::string>& text : {std::optional<std::string>(""), std::optional<std::string>()}) {
    commandWrites("Zendrakx.exe>%temp%\\Quillfex.000", CaptureSlot::listing, text);
    EXPECT_FALSE(findBootManagerDevice(context, "C:"));
    EXPECT_EQ(listStore(context).entries.size(), 0u);
    EXPECT_EQ(listStore(context).text, "");
  }
}

TEST_F(ScansTest, QuotesTheCaptureFileWhenTempHoldsABlank) {
  os.environment["temp"] = "C:\\Users\\John Smith\\AppData\\Local\\Temp";
  listStore(context);
  EXPECT_EQ(os.commandLines.back(), "Zendrakx.exe>\"%temp%\\Quillfex.000\"");
}

TEST_F(ScansTest, TheExportIsNarrowedIntoItsOwnCaptureFile) {
  struct Case {
    std::optional<std::string> exported;
    std::string narrowed;
  } cases[] = {
      {std::string("\xFF\xFE\x41\x00\x42", 5), "\xFF\x41\x42"},
      {"", ""},
      {std::nullopt, ""},  // no export at all: the export's capture is made empty
  };
  for (const auto& c : cases) {
    // An interrupted run left a longer narrowed export: nothing of it may survive.
    os.setFile(capturePath(os, CaptureSlot::narrowedExport), std::string(100, 'L'));
    os.deleteFile(capturePath(os, CaptureSlot::registryExport));
    commandWrites(exportMountedDevicesCommand(os), CaptureSlot::registryExport, c.exported);
    exportMountedDevices(context);
    EXPECT_EQ(narrowedCapture(), c.narrowed);
    ASSERT_NE(os.file(capturePath(os, CaptureSlot::registryExport)), nullptr);
  }
  EXPECT_EQ(os.commandLines.back(), "regedit /e %temp%\\Quillfex.001 HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices");
}

}  // namespace
}  // namespace quillfex
