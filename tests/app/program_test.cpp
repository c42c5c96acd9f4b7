// Start-up, the menu and the ending, in-process over the in-memory operating system and the headless
// screen with a key script.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/elimination_run.h"
#include "app/main_menu.h"
#include "app/messages.h"
#include "app/quillfex.h"
#include "app/start_up.h"
#include "fake_os.h"
#include "helper/command.h"
#include "screen/screen.h"

namespace quillfex {
namespace {

const std::string listingOnC =
    "identifier              {bootmgr}\r\ndevice                  partition=C:\r\n"
    "identifier              {current}\r\ndevice                  partition=C:\r\n"
    "identifier              {d}\r\ndevice                  partition=D:\r\n";

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("QUILLFEX_SCREEN", "headless", 1);  // never a window or the test's own terminal
    os.environment["SystemDrive"] = "C:";
    os.disks[0] = std::string(512, '\0');
    listing = listingOnC;
    os.onCommand = [this](const std::string& line) {
      if (line.rfind("Zendrakx.exe>", 0) == 0) os.setFile(capturePath(os, CaptureSlot::listing), listing);
    };
  }

  StartUp startWithKeys(const char* keys) {
    ::setenv("QUILLFEX_KEYS", keys, 1);
    return startUp(context);
  }

  testing::FakeOs os;
  ProgramState state;
  Screen screen;
  Context context{state, os, screen};
  std::string listing;
};

TEST_F(ProgramTest, TheBootFolderTestIgnoresDriveAndCase) {
  struct Case {
    std::string startedIn;
    bool changeFails;
    bool passes;
  } cases[] = {
      {"C:\\", false, true},    {"c:\\boot", true, true},
      {"D:\\BOOT", true, true}, {"C:\\Boot\\Fonts", true, false},
      {"C:\\", true, false},    {"C:\\" + std::string(260, 'x'), true, false},
  };
  for (const auto& c : cases) {
    testing::FakeOs fresh;
    fresh.environment["SystemDrive"] = "C:";
    fresh.disks[0] = std::string(512, '\0');
    fresh.changeDirectory(c.startedIn);
    fresh.changeDirectoryFails = c.changeFails;
    ProgramState freshState;
    Screen freshScreen;
    Context freshContext{freshState, fresh, freshScreen};
    ::setenv("QUILLFEX_KEYS", "Enter", 1);
    const StartUp result = startUp(freshContext);
    EXPECT_EQ(result != StartUp::ended, c.passes) << c.startedIn;
    if (!c.passes) {
      EXPECT_TRUE(fresh.commandLines.empty()) << "nothing may run outside the boot folder";
    }
  }
}

TEST_F(ProgramTest, WithoutRightsNothingIsWritten) {
  os.elevated = false;
  EXPECT_EQ(startWithKeys("Enter"), StartUp::ended);
  EXPECT_EQ(os.file("C:\\Boot\\Zendrakx.exe"), nullptr);
  EXPECT_TRUE(os.commandLines.empty());
}

TEST_F(ProgramTest, AReadThatFailsAfterTheOpenStillPasses) {
  os.disks[0] = std::string(100, '\0');  // a short read leaves 38, not 6
  EXPECT_EQ(startWithKeys("Enter"), StartUp::menu);
  EXPECT_NE(os.file("C:\\Boot\\Zendrakx.exe"), nullptr);
  EXPECT_EQ(state.selectedRow, 0);
  EXPECT_EQ(state.optionTwoText, messages::optionTwo);
  EXPECT_EQ(state.optionTwoText.size(), 80u);
}

TEST_F(ProgramTest, ABootManagerElsewhereIsRefusedAndCleanedUp) {
  listing = "identifier              {bootmgr}\r\ndevice                  partition=D:\r\n";
  os.setFile("C:\\Boot\\org.bcd", "backup");
  ::setenv("QUILLFEX_KEYS", "Enter", 1);
  runQuillfex(context);
  EXPECT_EQ(os.file("C:\\Boot\\Zendrakx.exe"), nullptr);
  EXPECT_EQ(os.file(capturePath(os, CaptureSlot::listing)), nullptr);
  EXPECT_NE(os.file("C:\\Boot\\org.bcd"), nullptr) << "the backup is never deleted";
}

TEST_F(ProgramTest, OnlyTwoCharacterArrowsMoveTheSelection) {
  ASSERT_EQ(startWithKeys("Up Down Down H P Left Left F1 Close Esc"), StartUp::menu);
  const std::size_t commandsBefore = os.commandLines.size();
  mainMenu(context);
  EXPECT_EQ(state.selectedRow, 1);  // Up: the second, Down: the first, Down: the second; the rest move nothing
  EXPECT_EQ(os.commandLines.size(), commandsBefore) << "Escape runs nothing";
}

TEST_F(ProgramTest, RestoreSaysWhatHappened) {
  const std::string back = "  The Windows boot manager is now back on.";
  const std::string nothing = "  Nothing was restored: org.bcd is missing or could not be imported.";
  const std::string notAsSaved = "  org.bcd was imported, but the store does not list what org.bcd saved.";
  const std::string changed = "  Nothing was restored: the store was changed since org.bcd was saved.";
  const std::string notListed = "  Nothing was restored: the store could not be listed.";
  const std::string damaged = "  org.bcd's import failed and damaged the store: import C:\\Boot\\org.bcd by hand.";
  const std::string withoutSystem = "identifier              {bootmgr}\r\ndevice                  partition=C:\r\n";
  const std::string usersOwn = listingOnC + "identifier              {new}\r\ndevice                  partition=E:\r\n";
  struct Case {
    const char* backup;        // nullptr: none
    const char* savedListing;  // org.lst; nullptr: none
    int importStatus;
    std::string listingBefore, listingAfter, shown;
  } cases[] = {
      {"store", nullptr, 0, withoutSystem, listingOnC, back},
      {"store", nullptr, 1, withoutSystem, listingOnC, damaged},
      {"store", nullptr, 1, listingOnC, listingOnC, nothing},
      {nullptr, nullptr, 0, listingOnC, listingOnC, nothing},
      {"", nullptr, 0, listingOnC, listingOnC, nothing},
      {"store", nullptr, 0, listingOnC, withoutSystem, notAsSaved},
      {"store", listingOnC.c_str(), 0, withoutSystem, listingOnC, back},
      {"store", listingOnC.c_str(), 0, usersOwn, listingOnC, changed},
      {"store", listingOnC.c_str(), 0, "", listingOnC, notListed},
  };
  state.systemDrive = "C:";
  for (const auto& c : cases) {
    os.changeDirectory("C:\\Boot");
    for (const auto& [name, content] : {std::pair{"org.bcd", c.backup}, std::pair{"org.lst", c.savedListing}}) {
      if (content) os.setFile(name, content);
      if (!content) os.deleteFile(name);
    }
    listing = c.listingBefore;
    os.commandStatus = [&](const std::string& line) {
      if (line.find("/import") == std::string::npos) return 0;
      listing = c.listingAfter;
      return c.importStatus;
    };
    os.commandLines.clear();
    restoreBootManager(context);
    const bool imports = c.backup && *c.backup && c.shown != changed && c.shown != notListed;
    EXPECT_EQ(std::count(os.commandLines.begin(), os.commandLines.end(), "Zendrakx.exe /import org.bcd>nul"),
              imports ? 1 : 0)
        << c.shown;
    Screen expected;
    expected.setColour(0xD827BC, 0xFFD0FF);
    expected.locate(15, 1);
    expected.printText(c.shown + std::string(80 - c.shown.size(), ' '), LineEnd::no);
    for (int x = 0; x < 640; x += 3) {
      ASSERT_EQ(screen.readPixel(x, 230), expected.readPixel(x, 230)) << c.shown << " x " << x;
    }
  }
}

// org.bcd is the run's own export, with org.lst written before it; an earlier org.bcd is kept beside it and
// becomes org.bcd again when the export fails, and the run goes on only with a backup of its own.
TEST_F(ProgramTest, TheBackupIsTheRunsOwnExportAndAnEarlierOneIsKept) {
  const std::string earlierListing = listingOnC + "\r\n";
  struct Case {
    const char* earlier;  // org.bcd before the run; nullptr: none
    int exportStatus;
    const char* exported;  // what the export writes; nullptr: nothing
    const char* backup;    // org.bcd after the run; nullptr: none
    const char* kept;      // org.bcd.bak after the run; nullptr: none
  } cases[] = {
      {nullptr, 0, "store", "store", nullptr},     {"earlier", 0, "store", "store", "earlier"},
      {"earlier", 1, nullptr, "earlier", nullptr}, {"earlier", 0, nullptr, "earlier", nullptr},
      {nullptr, 0, nullptr, nullptr, nullptr},     {nullptr, 1, "half", nullptr, nullptr},
  };
  state.systemDrive = "C:";
  os.changeDirectory("C:\\Boot");
  const auto listsTheStore = os.onCommand;
  for (const auto& c : cases) {
    for (const char* name : {"org.bcd", "org.bcd.bak", "org.lst"}) os.deleteFile(name);
    if (c.earlier) os.setFile("org.bcd", c.earlier), os.setFile("org.lst", earlierListing);
    const std::string exportLine = "Zendrakx.exe /export org.bcd>nul";
    bool listedBeforeExport = false;
    os.onCommand = [&](const std::string& line) {
      listsTheStore(line);
      if (line.rfind("dir /b /a C:\\>", 0) == 0) os.setFile(capturePath(os, CaptureSlot::listing), "bootmgr\r\n");
      if (line != exportLine) return;
      listedBeforeExport = os.file("org.lst") && *os.file("org.lst") == listing;
      if (c.exported) os.setFile("org.bcd", c.exported);
    };
    os.commandStatus = [&](const std::string& line) { return line == exportLine ? c.exportStatus : 0; };
    os.commandLines.clear();
    eliminationRun(context);
    const auto text = [&](const char* name) { return os.file(name) ? *os.file(name) : "(none)"; };
    const bool saved = c.exportStatus == 0 && c.exported;
    const std::string row = std::to_string(&c - cases);
    EXPECT_TRUE(listedBeforeExport) << row;
    EXPECT_EQ(text("org.bcd"), c.backup ? c.backup : "(none)") << row;
    EXPECT_EQ(text("org.bcd.bak"), c.kept ? c.kept : "(none)") << row;
    EXPECT_EQ(text("org.lst"), saved ? listing : c.earlier ? earlierListing : "(none)") << row;
    const bool disksRead = std::any_of(os.commandLines.begin(), os.commandLines.end(),
                                       [](const std::string& line) { return line.rfind("regedit", 0) == 0; });
    EXPECT_EQ(disksRead, saved) << row << ": the run goes on only with a backup of its own";
  }
}

TEST_F(ProgramTest, CleanUpLeavesOnlyTheBackup) {
  os.changeDirectory("C:\\Boot");
  for (const char* name : {"org.bcd", "lid.bcd", "Zendrakx.exe"}) os.setFile(name, "x");
  for (const CaptureSlot slot : captureSlots) os.setFile(capturePath(os, slot), "x");
  cleanUp(context);
  for (const CaptureSlot slot : captureSlots) EXPECT_EQ(os.file(capturePath(os, slot)), nullptr);
  EXPECT_EQ(os.file("lid.bcd"), nullptr);
  EXPECT_EQ(os.file("Zendrakx.exe"), nullptr);
  EXPECT_NE(os.file("org.bcd"), nullptr);
  cleanUp(context);  // nothing left to delete: silent
}

}  // namespace
}  // namespace quillfex
