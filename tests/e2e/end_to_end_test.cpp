// The program from start to end on simulated machines: every sample machine, a machine on which each command
// the program relies on fails in turn (also failing halfway, or with a false success), files left by an
// interrupted run, and runs one after another. Whatever happens, nothing of the user's boot configuration
// may be lost and every message must be true.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include "captured_run.h"
#include "machine/machine.h"
#include "machine/sandbox_layout.h"
#include "program_run.h"
#include "promises.h"

namespace quillfex {
namespace {

using testing::eliminationKeys;
using testing::ProgramRun;
using testing::restoreKeys;

constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t black = 0x000000;  // a message the menu has redrawn since: a later drive was probed
const std::string vista = "{6f1a8c20-5b3e-11e0-9f4d-806e6f6e6963}";

struct Shown {
  int row = 0;  // 0: no message to check
  int column = 1;
  std::string text;
  std::uint32_t colour = 0xD827BC;
  std::string below = "";  // the row below it, which says what was found; "" when not checked
};

Shown bootable(const std::string& drive, std::uint32_t colour = 0xD827BC) {
  return {15, 1, "  Partition " + drive + " is now bootable.", colour};
}
Shown notBootable(const std::string& drive, std::uint32_t colour = 0xD827BC, const std::string& why = "") {
  return {15, 1, "  Partition " + drive + " could not be made bootable.", colour, why};
}
Shown onRow15(const std::string& text) { return {15, 3, text}; }
const Shown bootFolderMissing = {2, 1, "Cannot find the bootfiles.", white,
                                 "No C:\\Boot: the boot manager must live on C:, the drive this Windows runs from."};

const std::string storeAsBefore = "Importing org.bcd failed, stopped. The boot configuration is as before.";
const std::string cNotTrimmed = "C: could not be trimmed, stopped. The boot configuration is as before.";

class EndToEnd : public ProgramRun {
 protected:
  // Runs the keys and checks every promise against the machine before the run.
  void runAndCheck(const std::string& keys, const Shown& shown, const std::string& name) {
    const winsim::MachineReport before = machine();
    EXPECT_EQ(run(keys), 0) << name;
    const winsim::MachineReport now = machine();
    const auto backup = testing::readBackup(root, systemDrive);
    for (const auto& promise : testing::brokenPromises({before, now, backup, originalStore, testing::Ending::ended})) {
      ADD_FAILURE() << name << ": " << promise;
    }
    if (shown.row != 0) {
      EXPECT_TRUE(shows(shown.row, shown.column, shown.text, shown.colour)) << name << ": " << shown.text;
    }
    for (const auto& drive : now.drives) {
      if (shown.text == bootable(std::string(1, drive.letter) + ":").text) {
        EXPECT_TRUE(testing::madeBootable(now, drive)) << name << ": " << drive.letter << ": not as bootable as said";
      }
    }
    if (!shown.below.empty()) {
      EXPECT_TRUE(shows(shown.row + 1, shown.column, shown.below, shown.colour)) << name << ": " << shown.below;
    }
  }

  bool systemStoreIsOriginal() {
    const auto store = machine().systemStore;
    return store && testing::sameStore(*store, originalStore);
  }
};

// Each machine or fault of a table runs as a test of its own.
template <typename Case>
class EndToEndWith : public EndToEnd, public ::testing::WithParamInterface<Case> {};

struct Described {
  std::string name;
  std::string description;  // a machine description, or what is added to the default machine's
  Shown shown;
};

std::string caseName(const ::testing::TestParamInfo<Described>& info) { return info.param.name; }

// The message each sample machine's run ends on.
const std::map<std::string, Shown> lastMessage = {
    {"bootmgr-missing.toml", onRow15("There is no Vista/Windows7 bootmanager, cancelled. ")},
    {"colliding-signatures.toml", bootable("E:")},
    {"data-partition.toml", bootable("E:")},
    {"not-elevated.toml", {2, 1, " Start again with Administratorrights.", white}},
    {"not-multiboot.toml", onRow15("There is no multiboot system, cancelled.  ")},
    {"seven-and-xp-on-c.toml", bootable("D:")},
    {"seven-and-xp-on-c-russian.toml", bootable("D:")},
    {"seven-beside-xp.toml", bootFolderMissing},
    {"seven-full-listing.toml", bootable("D:")},
    {"seven-system-reserved.toml", bootFolderMissing},
    {"ten-beside-seven.toml", bootable("D:")},
    {"three-windows-one-disk.toml", bootable("E:")},
    {"two-windows-one-disk.toml", bootable("D:")},
    {"two-windows-one-disk-german.toml", bootable("D:")},
    {"vista-boots-by-itself.toml", bootable("D:")},
    {"vista-id-header.toml",
     notBootable("H:", 0xD827BC, "  It is on none of the MBR disks 0 to 3, which Quillfex reads.")},
    {"windows-on-two-disks.toml", bootable("G:")},
    {"xp-and-7.toml", bootable("D:")},
};

class EverySampleMachine : public EndToEndWith<std::string> {};

TEST_P(EverySampleMachine, RunKeepsThePromises) {
  const std::string& name = GetParam();
  makeMachine(testing::sampleMachine(name));
  ASSERT_EQ(lastMessage.count(name), 1u) << name << " has no expectation";
  runAndCheck(eliminationKeys, lastMessage.at(name), name);
  // Where every command does what it should, no partition made bootable still starts through the system store.
  const winsim::MachineReport now = machine();
  for (const auto& drive : now.drives) {
    const std::string letter = std::string(1, drive.letter) + ":";
    if (letter != systemDrive && testing::madeBootable(now, drive) && now.systemStore) {
      EXPECT_FALSE(testing::listsSystemOn(*now.systemStore, letter)) << name << ": " << letter << " still listed";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, EverySampleMachine, ::testing::ValuesIn(testing::sampleMachineNames()),
                         testing::machineCaseName);

// The snapshot of every key wait and of the end, by name, as the headless screen saves them.
std::map<std::string, std::string> screensIn(const std::filesystem::path& folder) {
  std::map<std::string, std::string> screens;
  for (const auto& file : std::filesystem::directory_iterator(folder)) {
    screens[file.path().filename().string()] = testing::fileText(file.path());
  }
  return screens;
}

// In another display language the editor words its listing otherwise, and nothing else may differ: the same
// command lines, stores and boot files, and the same screen at every key wait, through a run and a restore.
TEST(EndToEndInAnotherLanguage, RunsAsItsEnglishTwin) {
  for (const auto& [language, english] : {std::pair{"two-windows-one-disk-german.toml", "two-windows-one-disk.toml"},
                                          std::pair{"seven-and-xp-on-c-russian.toml", "seven-and-xp-on-c.toml"}}) {
    const char* const names[] = {language, english};
    testing::SimulatedMachine machines[2];
    for (int m = 0; m < 2; ++m) ASSERT_EQ(machines[m].make(testing::sampleMachine(names[m])), "") << names[m];
    for (const std::string& keys : {eliminationKeys, restoreKeys}) {
      std::map<std::string, std::string> screens[2];
      for (int m = 0; m < 2; ++m) {
        const auto folder = machines[m].root / "screens";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        ::setenv("QUILLFEX_SNAPSHOTS", folder.c_str(), 1);
        EXPECT_EQ(machines[m].run(keys), 0) << language << ": " << keys;
        ::unsetenv("QUILLFEX_SNAPSHOTS");
        screens[m] = screensIn(folder);
      }
      std::string error;
      const auto inLanguage = machines[0].read(error), inEnglish = machines[1].read(error);
      ASSERT_TRUE(inLanguage && inEnglish) << error;
      EXPECT_EQ(winsim::reportJson(*inLanguage), winsim::reportJson(*inEnglish)) << language << ": " << keys;
      EXPECT_GE(screens[0].size(), 2u) << language;  // a key wait and the end
      EXPECT_TRUE(screens[0] == screens[1]) << language << ": " << keys << ": the screens differ";
    }
    EXPECT_NE(testing::fileText(machines[0].root / "listing-words"), "");
    for (auto& machine : machines) machine.remove();
  }
}

// Each fault is armed on the default machine.
std::vector<Described> faults() {
  return {
      {"export_org_bcd", "command = 'export'\narg = 'org.bcd'",
       onRow15("The backup org.bcd could not be written, cancelled.")},
      {"export_lid_bcd", "command = 'export'\narg = 'lid.bcd'", onRow15(cNotTrimmed)},
      {"export_lid_bcd_after_1", "command = 'export'\narg = 'lid.bcd'\nafter = 1", onRow15(cNotTrimmed)},
      {"export_lid_bcd_partial", "command = 'export'\narg = 'lid.bcd'\neffect = 'partial'", onRow15(cNotTrimmed)},
      {"import_org_bcd", "command = 'import'\narg = 'org.bcd'", onRow15(storeAsBefore)},
      {"import_org_bcd_after_1", "command = 'import'\narg = 'org.bcd'\nafter = 1", onRow15(storeAsBefore)},
      {"import_org_bcd_once_partial", "command = 'import'\narg = 'org.bcd'\ntimes = 1\neffect = 'partial'",
       onRow15(storeAsBefore)},
      {"import_org_bcd_after_2_once_partial",
       "command = 'import'\narg = 'org.bcd'\nafter = 2\ntimes = 1\neffect = 'partial'", onRow15(storeAsBefore)},
      {"import_lid_bcd", "command = 'import'\narg = 'lid.bcd'",
       onRow15("Importing lid.bcd failed, stopped. The boot configuration is as before.")},
      {"import_lid_bcd_partial", "command = 'import'\narg = 'lid.bcd'\neffect = 'partial'",
       onRow15("Importing lid.bcd failed, stopped. The boot configuration is as before.")},
      {"import_lid_bcd_no_op", "command = 'import'\narg = 'lid.bcd'\neffect = 'no-op'", bootable("E:", black)},
      {"delete_current", "command = 'delete'\narg = '{current}'", bootable("E:", black)},
      {"delete_vista", "command = 'delete'\narg = '" + vista + "'", bootable("E:", black)},
      {"delete_vista_partial", "command = 'delete'\narg = '" + vista + "'\neffect = 'partial'", onRow15(cNotTrimmed)},
      {"delete_vista_no_op", "command = 'delete'\narg = '" + vista + "'\neffect = 'no-op'", bootable("E:", black)},
      {"listing",
       "command = 'listing'",
       {2, 3, "The boot configuration could not be listed, cancelled.", white, "The editor printed nothing."}},
      {"listing_after_1", "command = 'listing'\nafter = 1", onRow15("There is no multiboot system, cancelled.  ")},
      {"listing_after_2_garbage", "command = 'listing'\nafter = 2\neffect = 'garbage'",
       onRow15("C: could not be trimmed, stopped. org.bcd holds the full configuration.")},
      {"regedit", "command = 'regedit'", {}},
      {"disk_1", "command = 'disk'\narg = 1",
       notBootable("E:", 0xD827BC, "  Its disk could not be read (or it is on none of disks 0 to 3).")},
      {"disk_0", "command = 'disk'\narg = 0", notBootable("D:")},
      {"copy_E", "command = 'copy'\narg = 'E'", notBootable("E:", black)},
      {"copy_E_no_op", "command = 'copy'\narg = 'E'\neffect = 'no-op'", notBootable("E:", black)},
      {"rename_D", "command = 'rename'\narg = 'D'", bootable("E:", black)},
      {"rename_E_no_op", "command = 'rename'\narg = 'E'\neffect = 'no-op'", notBootable("E:", black)},
  };
}

class EachCommandFailingInTurn : public EndToEndWith<Described> {};

TEST_P(EachCommandFailingInTurn, RunKeepsThePromises) {
  const auto& [name, fault, shown] = GetParam();
  makeMachine(winsim::defaultMachineText() + "\n[[fault]]\n" + fault + "\n");
  runAndCheck(eliminationKeys, shown, fault);
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, EachCommandFailingInTurn, ::testing::ValuesIn(faults()), caseName);

// Files that a run cut off before left behind are never taken for this run's own.
std::vector<Described> leftFiles() {
  const std::string staleLid = "[[file]]\npath = 'C:\\Boot\\lid.bcd'\ntrimmed_for = 'D:'\n";
  const std::string staleOnE = "[[file]]\npath = 'E:\\Boot\\lid.bcd'\ntrimmed_for = 'D:'\n";
  const std::string staleCapture = "[[file]]\npath = 'C:\\Temp\\Quillfex.003'\ntext = 'bootmgr.exe'\n";
  return {
      {"stale_lid_and_failing_export", staleLid + "[[fault]]\ncommand = 'export'\narg = 'lid.bcd'\n",
       onRow15(cNotTrimmed)},
      {"stale_lid_on_E_and_failing_copy", staleOnE + "[[fault]]\ncommand = 'copy'\narg = 'E'\n",
       notBootable("E:", black)},
      {"stale_lid_on_E", staleOnE, bootable("E:", black)},
      {"stale_capture", staleCapture, bootable("E:", black)},
  };
}

class FilesLeftByAnInterruptedRun : public EndToEndWith<Described> {};

TEST_P(FilesLeftByAnInterruptedRun, AreNotTakenForTheRunsOwn) {
  const auto& [name, files, shown] = GetParam();
  makeMachine(winsim::defaultMachineText() + "\n" + files);
  runAndCheck(eliminationKeys, shown, files);
  const auto drives = machine().drives;
  for (const auto& drive : drives) {
    if (drive.store && drive.letter != 'C') {
      EXPECT_TRUE(testing::bootsByItself(drive)) << files << ": the store on " << drive.letter << ":";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, FilesLeftByAnInterruptedRun, ::testing::ValuesIn(leftFiles()), caseName);

TEST_F(EndToEnd, RestoreBringsBackTheStoreAsItWas) {
  makeMachine(winsim::defaultMachineText());
  runAndCheck(eliminationKeys, bootable("E:", black), "the run");
  runAndCheck(restoreKeys, {15, 1, "  The Windows boot manager is now back on."}, "the restore");
  EXPECT_TRUE(systemStoreIsOriginal());
}

TEST_F(EndToEnd, RestoreWithoutABackupSaysSo) {
  makeMachine(winsim::defaultMachineText());
  runAndCheck("Up Enter Enter", {15, 1, "  Nothing was restored: org.bcd is missing or could not be imported."},
              "restore");
}

TEST_F(EndToEnd, RestoreOfAStoreThatDoesNotListWhatWasSavedSaysSo) {
  makeMachine(winsim::defaultMachineText() +
              "\n[[fault]]\ncommand = 'import'\narg = 'org.bcd'\nafter = 3\n"
              "effect = 'garbage'\n");
  runAndCheck(eliminationKeys, bootable("E:", black), "the run");
  EXPECT_EQ(run(restoreKeys), 0);
  EXPECT_TRUE(shows(15, 1, "  org.bcd was imported, but the store does not list what org.bcd saved."));
}

// A second run on a machine whose store still looks like a multiboot one after the first: it must not take
// the trimmed store for the user's, nor touch the prepared partitions.
std::vector<Described> runTwice() {
  return {
      {"seven_and_xp_on_c", testing::sampleMachine("seven-and-xp-on-c.toml"),
       onRow15("Only C:'s systems in the store: eliminated already, cancelled.")},
      {"copy_to_E_failing", winsim::defaultMachineText() + "\n[[fault]]\ncommand = 'copy'\narg = 'E'\n",
       onRow15("The store is an earlier run's work, cancelled. The 2nd entry restores org.bcd.")},
  };
}

class ASecondRun : public EndToEndWith<Described> {};

TEST_P(ASecondRun, CancelsAndKeepsTheBackup) {
  const auto& [name, description, shown] = GetParam();
  makeMachine(description);
  ASSERT_EQ(run(eliminationKeys), 0);
  const winsim::MachineReport afterFirst = machine();
  runAndCheck(eliminationKeys, shown, "second run");
  const winsim::MachineReport afterSecond = machine();
  EXPECT_EQ(afterSecond.transcript.size(), afterFirst.transcript.size() + 2) << "two listings, nothing written";
  EXPECT_FALSE(exists("drives/C/Boot/org.bcd.bak"));
  runAndCheck(restoreKeys, {15, 1, "  The Windows boot manager is now back on."}, "restore");
  EXPECT_TRUE(systemStoreIsOriginal());
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, ASecondRun, ::testing::ValuesIn(runTwice()), caseName);

// A partition that boots by itself keeps its store when the store exported for it is garbage.
TEST_F(EndToEnd, APartitionThatBootsByItselfKeepsItsStoreWhenTheNewOneIsNoStore) {
  std::string description = testing::sampleMachine("windows-on-two-disks.toml");
  const std::string onG = "letter = \"G\"\n";
  description.insert(description.find(onG) + onG.size(), "bootmgr = true\n");
  makeMachine(description + "\n[[fault]]\ncommand = 'export'\narg = 'lid.bcd'\neffect = 'garbage'\ntimes = 1\n");
  ASSERT_TRUE(testing::bootsByItself(machine().drives.back()));
  runAndCheck(eliminationKeys, notBootable("G:"), "garbage exported for G:");
  EXPECT_FALSE(exists("drives/G/Boot/BCD.bak"));
}

// Cut off right after its first deletion, the run leaves a store without the system's own Windows 7 but with
// XP on C: and Vista on D:; the next run must not save that store as the backup.
TEST_F(EndToEnd, ARunAfterOneCutOffCancelsAndTheRestoreBringsBackTheOriginal) {
  makeMachine(testing::sampleMachine("seven-and-xp-on-c.toml"));
  run(eliminationKeys);
  const auto transcript = machine().transcript;
  const auto firstDeletion = std::find_if(transcript.begin(), transcript.end(), [](const std::string& line) {
    return line.find("/delete") != std::string::npos;
  });
  ASSERT_NE(firstDeletion, transcript.end());
  const int killAfter = static_cast<int>(firstDeletion - transcript.begin()) + 1;
  finishMachine();

  makeMachine(testing::sampleMachine("seven-and-xp-on-c.toml"));
  run(eliminationKeys, killAfter);
  runAndCheck(eliminationKeys,
              onRow15("The store is an earlier run's work, cancelled. The 2nd entry restores org.bcd."),
              "the run after");
  runAndCheck(restoreKeys, {15, 1, "  The Windows boot manager is now back on."}, "restore");
  EXPECT_TRUE(systemStoreIsOriginal());
}

TEST_F(EndToEnd, ARunAfterTheRestoreKeepsTheFirstBackupAndEachEarlierStore) {
  makeMachine(winsim::defaultMachineText());
  ASSERT_EQ(run(eliminationKeys), 0);
  ASSERT_EQ(run(restoreKeys), 0);
  runAndCheck(eliminationKeys, bootable("E:", black), "the run after the restore");
  EXPECT_TRUE(exists("drives/C/Boot/org.bcd.bak"));
  EXPECT_TRUE(exists("drives/D/Boot/BCD.bak"));
  const auto transcript = machine().transcript;
  EXPECT_EQ(std::count(transcript.begin(), transcript.end(), "ren D:\\Boot\\lid.bcd BCD>nul"), 1)
      << "D:'s earlier store is replaced in one step, not renamed away first";
}

TEST_F(EndToEnd, EscapeChangesNothing) {
  makeMachine(winsim::defaultMachineText());
  runAndCheck("Left F1 Esc", {}, "escape");
  EXPECT_TRUE(systemStoreIsOriginal());
  EXPECT_FALSE(exists("drives/C/Boot/org.bcd"));
}

// Neither a display nor a terminal, and no screen named: the program ends before it does anything, saying why.
TEST_F(EndToEnd, WithoutAnyScreenTheProgramEndsAtOnceSayingWhy) {
  makeMachine(winsim::defaultMachineText());
  posix::ProcessStart start;
  start.arguments = {QUILLFEX};
  for (const std::string& variable : posix::currentEnvironment()) {
    const bool screenChoice = variable.starts_with("DISPLAY=") || variable.starts_with("WAYLAND_DISPLAY=") ||
                              variable.starts_with("QUILLFEX_SCREEN=");
    if (!screenChoice) start.environment.push_back(variable);
  }
  start.environment.push_back(std::string(winsim::sandboxVariable) + "=" + root.string());
  const auto run = testing::runCapturing(start, root);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors,
            "The screen did not open: no display (DISPLAY, WAYLAND_DISPLAY) and no terminal. `winsim run DIR --screen "
            "headless -- PROGRAM` runs the program with scripted keys.\n");
  EXPECT_TRUE(systemStoreIsOriginal());
}

std::vector<Described> refusals() {
  std::string noBootFolder = winsim::defaultMachineText();
  noBootFolder.replace(noBootFolder.find("bootmgr = true"), 14, "bootmgr = false\nboot_folder = false");
  std::string managerElsewhere = winsim::defaultMachineText();
  managerElsewhere.replace(managerElsewhere.find("device = \"partition=C:\""), 23, "device = \"partition=D:\"");
  return {
      {"no_boot_folder",
       noBootFolder,
       {2, 1, "Cannot find the bootfiles.", white,
        "No C:\\Boot: the boot manager must live on C:, the drive this Windows runs from."}},
      {"manager_elsewhere",
       managerElsewhere,
       {2, 3, "This is not the bootpartition, cancelled.", white, "The boot manager is on partition=D:, not on C:."}},
  };
}

class StartUpRefusal : public EndToEndWith<Described> {};

TEST_P(StartUpRefusal, SaysWhyAndWritesNothing) {
  const auto& [name, description, shown] = GetParam();
  makeMachine(description);
  runAndCheck("Enter", shown, shown.text);
  const winsim::MachineReport now = machine();
  EXPECT_TRUE(now.temp.empty());
  EXPECT_EQ(now.transcript.size(), shown.text.find("bootpartition") != std::string::npos ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, StartUpRefusal, ::testing::ValuesIn(refusals()), caseName);

}  // namespace
}  // namespace quillfex
