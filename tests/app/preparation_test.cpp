#include <gtest/gtest.h>

#include "app/elimination_run.h"
#include "app/messages.h"
#include "app/partition_preparation.h"
#include "app/scans.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "machine/machine.h"
#include "machine_fixture.h"

namespace quillfex {
namespace {

using Lines = std::vector<std::string>;

class PreparationTest : public testing::MachineTest {
 protected:
  void makeMachineWithBackup(const std::string& description) {
    makeMachine(description);
    runCommand(*context, exportStoreCommand("org.bcd"));
    clearTranscript();
  }

  // As the elimination run does it for one letter.
  Preparation prepare(const std::string& drive) {
    state.targetDrive = drive;
    EXPECT_TRUE(probeWindows(*context)) << drive << " holds no Windows";
    return preparePartition(*context);
  }

  // Whether the text, in the message's colours, fills the row from column 1 (blanks to the end).
  bool showsOnRow(int row, const std::string& text) {
    Screen expected;
    expected.setColour(0xD827BC, 0xFFD0FF);
    expected.locate(row, 1);
    expected.printText(messages::fullRow(text), LineEnd::no);
    for (int y = 16 * (row - 1); y < 16 * row; ++y) {
      if (pixelRow(screen, y) != pixelRow(expected, y)) return false;
    }
    return true;
  }

  const winsim::DriveReport& drive(const winsim::MachineReport& machine, char letter) {
    for (const auto& d : machine.drives) {
      if (d.letter == letter) return d;
    }
    throw std::runtime_error("no drive");
  }
};

// Four Windows 7 on one disk, so that preparing the last one deletes three foreign entries.
const std::string fourWindows = R"(
[[disk]]
signature = "12ab0cff"
[[disk.partition]]
letter = "C"
windows = "7"
bootmgr = true
[[disk.partition]]
letter = "D"
windows = "7"
[[disk.partition]]
letter = "E"
windows = "7"
[[disk.partition]]
letter = "F"
windows = "7"
[[entry]]
kind = "bootmgr"
id = "{bootmgr}"
device = "partition=C:"
[[entry]]
id = "{current}"
device = "partition=C:"
[[entry]]
id = "{d0}"
device = "partition=D:"
[[entry]]
id = "{e0}"
device = "partition=E:"
[[entry]]
id = "{f0}"
device = "partition=F:"
)";

TEST_F(PreparationTest, EveryWindowsPartitionOfTheSampleMachinesBootsByItself) {
  for (const auto& name : testing::sampleMachineNames()) {
    const std::string description = testing::sampleMachine(name);
    std::string error;
    const auto machine = winsim::parseMachine(description, name, error);
    // Where the system drive has no boot folder, the program ends at start-up and prepares nothing.
    if (!machine->partitionAt(*machine->placeOf(machine->systemDrive[0])).bootFolder) continue;
    makeMachineWithBackup(description);
    const bool bootManagerThere = exists("drives/" + std::string(1, machine->systemDrive[0]) + "/bootmgr");
    for (const auto& disk : machine->disks) {
      for (const auto& partition : disk.partitions) {
        if (partition.windows.empty() || partition.letter == 0 || partition.letter == machine->systemDrive[0]) continue;
        const std::string target = std::string(1, partition.letter) + ":";
        EXPECT_EQ(prepare(target), bootManagerThere ? Preparation::prepared : Preparation::notBootable) << name;

        const winsim::MachineReport now = report();
        const auto& shown = drive(now, partition.letter);
        if (!bootManagerThere) {  // the target keeps what it had: no store, no boot manager
          EXPECT_FALSE(shown.store || shown.bootManager) << name << " " << target;
          EXPECT_TRUE(showsOnRow(16, "  The copy of \\bootmgr onto it failed.")) << name;
          continue;
        }
        ASSERT_TRUE(shown.store) << name << " " << target;
        EXPECT_EQ(shown.bootManager, bootManagerThere);
        EXPECT_EQ(shown.store->entries.front().id, "{bootmgr}");
        for (const auto& entry : shown.store->entries) {
          if (entry.kind == winsim::EntryKind::loader || entry.kind == winsim::EntryKind::legacy) {
            EXPECT_EQ(entry.device, "partition=" + target) << name << " " << entry.id;
          }
        }
        for (const auto& entry : machine->store.entries) {
          if (entry.device == "partition=" + target) {
            EXPECT_TRUE(shown.store->find(entry.id)) << name << entry.id;
          }
        }
        EXPECT_EQ(std::count(shown.bootFiles.begin(), shown.bootFiles.end(), "Zendrakx.exe"), 0);
        EXPECT_EQ(state.optionTwoText,
                  bootManagerThere ? messages::partitionBootable(target) : messages::partitionNotBootable(target));
      }
    }
    TearDown();
  }
}

TEST_F(PreparationTest, RunsTheCommandsOfOnePreparationInOrder) {
  makeMachineWithBackup(testing::sampleMachine("two-windows-one-disk.toml"));  // temp holds a blank
  prepare("D:");
  EXPECT_EQ(transcript(), (Lines{
                              "dir /b /a D:\\Windows\\System32\\b*>\"%temp%\\Quillfex.003\"",
                              "Zendrakx.exe /import org.bcd>nul",
                              "Zendrakx.exe>\"%temp%\\Quillfex.000\"",
                              "Zendrakx.exe /f /delete {current}>nul",
                              "Zendrakx.exe /export lid.bcd>nul",
                              "xcopy /s /c /h /y \\Boot D:\\Boot\\>nul",
                              "xcopy /h /r /y \\bootmgr D:\\>nul",
                              "ren D:\\Boot\\lid.bcd BCD>nul",
                          }));
  EXPECT_EQ(readFile("drives/D/Boot/org.bcd"), readFile("drives/C/Boot/org.bcd"));
}

TEST_F(PreparationTest, DeletesForeignEntriesOneByOneInListingOrder) {
  makeMachineWithBackup(fourWindows);
  prepare("F:");
  const Lines lines = transcript();
  EXPECT_EQ(Lines(lines.begin() + 3, lines.begin() + 6),
            (Lines{"Zendrakx.exe /f /delete {current}>nul", "Zendrakx.exe /f /delete {d0}>nul",
                   "Zendrakx.exe /f /delete {e0}>nul"}));
}

TEST_F(PreparationTest, TheSystemDriveIsOnlyTrimmed) {
  makeMachineWithBackup(fourWindows);
  const auto rowBefore = pixelRow(screen, 232);
  state.targetDrive = "C:";
  EXPECT_EQ(preparePartition(*context), Preparation::systemTrimmed);
  EXPECT_EQ(transcript().size(), 6u);  // import, listing, three deletions, export
  EXPECT_EQ(transcript().back(), "Zendrakx.exe /export lid.bcd>nul");
  EXPECT_EQ(state.optionTwoText, std::string(80, '-'));
  EXPECT_EQ(pixelRow(screen, 232), rowBefore);
  std::string error;
  const auto trimmed = winsim::parseStore(readFile("drives/C/Boot/lid.bcd"), error);
  ASSERT_TRUE(trimmed) << error;
  EXPECT_EQ(trimmed->displayOrder, Lines{"{current}"});
}

TEST_F(PreparationTest, TheMessageStandsOnRow15InItsColours) {
  makeMachineWithBackup(fourWindows);
  prepare("E:");
  Screen expected;
  expected.setColour(0xD827BC, 0xFFD0FF);
  expected.locate(15, 1);
  expected.printText("  Partition E: is now bootable." + std::string(49, ' '), LineEnd::no);
  for (int y = 224; y < 240; ++y) EXPECT_EQ(pixelRow(screen, y), pixelRow(expected, y)) << "pixel row " << y;
}

// The old store keeps its logs beside it, under its new name, and the new store has none of them.
TEST_F(PreparationTest, AnEarlierStoreOnTheTargetIsKeptBesideTheNewOneWithItsLogs) {
  makeMachineWithBackup(fourWindows);
  prepare("D:");
  const std::string firstStore = readFile("drives/D/Boot/BCD");
  ASSERT_EQ(runCommand(*context, importStoreCommand("org.bcd")), 0);
  writeFile("drives/D/Boot/BCD", firstStore + "# edited by hand\n");
  for (const char* log : {"LOG", "LOG1", "LOG2"}) writeFile("drives/D/Boot/BCD." + std::string(log), log);
  EXPECT_EQ(prepare("D:"), Preparation::prepared);
  EXPECT_EQ(readFile("drives/D/Boot/BCD"), readFile("drives/C/Boot/lid.bcd"));
  EXPECT_EQ(readFile("drives/D/Boot/BCD.bak"), firstStore + "# edited by hand\n");
  for (const char* log : {"LOG", "LOG1", "LOG2"}) {
    EXPECT_FALSE(exists("drives/D/Boot/BCD." + std::string(log)));
    EXPECT_EQ(readFile("drives/D/Boot/BCD.bak." + std::string(log)), log);
  }
  EXPECT_EQ(state.optionTwoText, messages::partitionBootable("D:"));
}

// A partition that boots by itself with a read-only \bootmgr of its own gets the system drive's.
TEST_F(PreparationTest, AReadOnlyBootManagerOfTheTargetsOwnIsReplaced) {
  makeMachineWithBackup(fourWindows + "[[file]]\npath = 'E:\\bootmgr'\ntext = 'Vista'\nattrib = 'RHS'\n");
  EXPECT_EQ(prepare("E:"), Preparation::prepared);
  EXPECT_EQ(readFile("drives/E/bootmgr"), readFile("drives/C/bootmgr"));
}

// Each way a preparation falls short says why on row 16, and the target keeps the store it had.
TEST_F(PreparationTest, ATargetNotMadeBootableSaysWhy) {
  const std::string oldBootManager = "[[file]]\npath = 'E:\\bootmgr'\ntext = 'old'\nattrib = 'RHS'\n";
  const std::string oldStore = "[[file]]\npath = 'E:\\Boot\\BCD'\ntext = 'old store'\n";
  const struct {
    std::string added, why;
  } cases[] = {
      {"[[fault]]\ncommand = 'export'\narg = 'lid.bcd'\n", "  The store could not be trimmed for it (lid.bcd)."},
      {"[[fault]]\ncommand = 'copy'\narg = 'E'\n", "  The copy of \\Boot onto it failed."},
      {"[[fault]]\ncommand = 'copy'\narg = 'E:\\bootmgr'\n", "  The copy of \\bootmgr onto it failed."},
      {oldBootManager + "[[fault]]\ncommand = 'copy'\narg = 'E:\\bootmgr'\n",
       "  Its old \\bootmgr could not be replaced."},
      {oldStore + "[[fault]]\ncommand = 'listing'\nafter = 1\neffect = 'garbage'\n",
       "  The copied store does not list the partition."},
      {"[[fault]]\ncommand = 'rename'\narg = 'E'\neffect = 'no-op'\n", "  Its \\Boot\\BCD could not be put in place."},
  };
  for (const auto& [added, why] : cases) {
    makeMachineWithBackup(fourWindows + added);
    const std::string storeBefore = exists("drives/E/Boot/BCD") ? readFile("drives/E/Boot/BCD") : "";
    EXPECT_EQ(prepare("E:"), Preparation::notBootable) << why;
    EXPECT_EQ(state.optionTwoText, messages::partitionNotBootable("E:")) << why;
    EXPECT_TRUE(showsOnRow(16, why)) << why;
    EXPECT_EQ(exists("drives/E/Boot/BCD") ? readFile("drives/E/Boot/BCD") : "", storeBefore) << why;
    TearDown();
  }
}

// A run that stops after the store was changed imports the full store again, from org.bcd or from a prepared
// partition's copy of it, until the store lists what it listed before.
TEST_F(PreparationTest, ARunThatStopsPutsTheFullStoreBack) {
  for (const char* fault : {"command = 'import'\narg = 'lid.bcd'\neffect = 'partial'",
                            "command = 'import'\narg = 'org.bcd'\nafter = 2\neffect = 'partial'"}) {
    makeMachine(winsim::defaultMachineText() + "\n[[fault]]\n" + fault + "\n");
    const auto before = listStore(*context).entries;
    eliminationRun(*context);
    EXPECT_EQ(listStore(*context).entries, before) << fault;
  }
}

TEST_F(PreparationTest, AnIdTheInterpreterWouldActOnIsNeverRun) {
  makeMachineWithBackup(fourWindows + "[[entry]]\nid = \"{x}&echo>owned\"\ndevice = \"partition=E:\"\n");
  prepare("D:");
  for (const auto& line : transcript()) EXPECT_EQ(line.find("owned"), std::string::npos) << line;
  EXPECT_FALSE(exists("drives/C/Boot/owned"));
  EXPECT_EQ(state.optionTwoText, messages::partitionBootable("D:"));
}

TEST(EntryIds, OnlyBracedNamesAndGuidsAreSafe) {
  struct Case {
    std::string id;
    bool safe;
  } cases[] = {
      {"{current}", true}, {"{6f1a8c20-5b3e-11e0-9f4d-806e6f6e6963}", true},
      {"{ntldr}", true},   {"{bootmgr} ", false},
      {"{a b}", false},    {"{x}&del", false},
      {"{x|y}", false},    {"{%temp%}", false},
      {"{\"}", false},     {"", false},
      {"{}", false},       {"current", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isSafeEntryId(c.id), c.safe) << c.id;
}

}  // namespace
}  // namespace quillfex
