// The program from start to end on simulated machines: every sample machine, and a machine on which each
// command the program relies on fails in turn. Whatever happens, nothing of the user's boot configuration
// may be lost and every message must be true.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "app/messages.h"
#include "program_run.h"
#include "winsim/machine/machine.h"

namespace quillfex {
namespace {

using testing::ProgramRun;

const std::string manyKeys = "Enter Enter Enter Enter Enter Enter Enter Enter";
constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t black = 0x000000;  // a message the menu has redrawn since: a later drive was probed

struct Shown {
  int row = 0;  // 0: no message to check
  int column = 1;
  std::string text;
  std::uint32_t colour = 0xD827BC;
};

class EndToEnd : public ProgramRun {
 protected:
  void expectShown(const Shown& shown, const std::string& name) {
    if (shown.row != 0) {
      EXPECT_TRUE(shows(shown.row, shown.column, shown.text, shown.colour)) << name << ": " << shown.text;
    }
  }

  // The loaders left in the system store lie on the system drive only.
  void expectSystemStoreTrimmed(const std::string& name) {
    const auto store = machine().systemStore;
    ASSERT_TRUE(store);
    for (const auto& entry : store->entries) {
      if (entry.kind == winsim::EntryKind::loader) {
        EXPECT_EQ(entry.device, "partition=" + systemDrive) << name;
      }
    }
  }
};

TEST_F(EndToEnd, EverySampleMachine) {
  const std::map<std::string, Shown> lastMessage = {
      {"bootmgr-missing.toml", {15, 3, messages::noBootManager}},
      {"colliding-signatures.toml", {15, 1, messages::partitionBootable("E:")}},
      {"data-partition.toml", {15, 1, messages::partitionBootable("E:")}},
      {"not-elevated.toml", {2, 1, messages::needRights, white}},
      {"not-multiboot.toml", {15, 3, messages::noMultiboot}},
      {"three-windows-one-disk.toml", {15, 1, messages::partitionBootable("E:")}},
      {"two-windows-one-disk.toml", {15, 1, messages::partitionBootable("D:")}},
      {"vista-id-header.toml", {15, 1, messages::partitionBootable("D:")}},
      {"windows-on-two-disks.toml", {15, 1, messages::partitionBootable("G:")}},
      {"xp-and-7.toml", {15, 1, messages::partitionBootable("D:")}},
  };
  for (const auto& name : testing::sampleMachineNames()) {
    makeMachine(testing::sampleMachine(name));
    EXPECT_EQ(run(manyKeys), 0) << name;
    expectNothingLost();
    ASSERT_EQ(lastMessage.count(name), 1u) << name << " has no expectation";
    expectShown(lastMessage.at(name), name);
    if (lastMessage.at(name).text.find("bootable") != std::string::npos) expectSystemStoreTrimmed(name);
    TearDown();
  }
}

TEST_F(EndToEnd, EachCommandFailingInTurn) {
  struct Case {
    std::string name, faults;
    Shown shown;
    bool trimmed;  // the run went through to the trimmed system store
  };
  const std::string vista = "{6f1a8c20-5b3e-11e0-9f4d-806e6f6e6963}";
  const Case cases[] = {
      {"export of org.bcd", "command = 'export'\narg = 'org.bcd'", {15, 3, messages::backupNotWritten}, false},
      {"export of lid.bcd",
       "command = 'export'\narg = 'lid.bcd'",
       {15, 1, messages::partitionNotBootable("E:"), black},
       true},
      {"every import of org.bcd",
       "command = 'import'\narg = 'org.bcd'",
       {15, 3, messages::stoppedStoreAsBefore},
       false},
      {"the second import of org.bcd",
       "command = 'import'\narg = 'org.bcd'\nafter = 1",
       {15, 3, messages::stoppedStoreAsBefore},
       false},
      {"the import of lid.bcd",
       "command = 'import'\narg = 'lid.bcd'",
       {15, 1, messages::partitionBootable("E:"), black},
       true},
      {"the deletion of the system's loader",
       "command = 'delete'\narg = '{current}'",
       {15, 1, messages::partitionBootable("E:"), black},
       true},
      {"the deletion of Vista's loader",
       "command = 'delete'\narg = '" + vista + "'",
       {15, 1, messages::partitionBootable("E:"), black},
       false},
      {"the listing", "command = 'listing'", {2, 3, messages::notBootPartition, white}, false},
      {"the listing after start-up", "command = 'listing'\nafter = 1", {15, 3, messages::noMultiboot}, false},
      {"regedit", "command = 'regedit'", {}, true},
      {"reading disk 1", "command = 'disk'\narg = 1", {15, 1, messages::partitionBootable("D:")}, true},
      {"reading disk 0", "command = 'disk'\narg = 0", {15, 1, messages::partitionBootable("E:"), black}, true},
      {"copies onto E:", "command = 'copy'\narg = 'E'", {15, 1, messages::partitionNotBootable("E:"), black}, true},
      {"renames on D:", "command = 'rename'\narg = 'D'", {15, 1, messages::partitionBootable("E:"), black}, true},
  };
  for (const auto& c : cases) {
    makeMachine(winsim::defaultMachineText() + "\n[[fault]]\n" + c.faults + "\n");
    EXPECT_EQ(run(manyKeys), 0) << c.name;
    expectNothingLost();
    expectShown(c.shown, c.name);
    if (c.trimmed) expectSystemStoreTrimmed(c.name);
    TearDown();
  }
}

TEST_F(EndToEnd, RestoreBringsBackTheStoreAsItWas) {
  makeMachine(winsim::defaultMachineText());
  ASSERT_EQ(run(manyKeys), 0);
  EXPECT_EQ(run("Down Enter Enter"), 0);
  EXPECT_TRUE(shows(15, 1, messages::bootManagerBack));
  const auto store = machine().systemStore;
  ASSERT_TRUE(store);
  EXPECT_EQ(store->entries.size(), originalStore.entries.size());
  EXPECT_EQ(store->displayOrder, originalStore.displayOrder);
  expectNothingLost();
}

TEST_F(EndToEnd, RestoreWithoutABackupSaysSo) {
  makeMachine(winsim::defaultMachineText());
  EXPECT_EQ(run("Up Enter Enter"), 0);
  EXPECT_TRUE(shows(15, 1, messages::nothingRestored));
  expectNothingLost();
}

TEST_F(EndToEnd, ASecondRunKeepsTheFirstBackup) {
  makeMachine(winsim::defaultMachineText());
  ASSERT_EQ(run(manyKeys), 0);
  const auto firstBackup = orgBackup();
  ASSERT_EQ(run("Down Enter Enter"), 0);  // the boot manager back, so the machine is multiboot again
  ASSERT_EQ(run(manyKeys), 0);
  EXPECT_TRUE(exists("drives/C/Boot/org.bcd.bak"));
  EXPECT_TRUE(exists("drives/D/Boot/BCD.bak"));
  std::string error;
  const auto kept = winsim::parseStore(
      [&] {
        std::ifstream in(root / "drives/C/Boot/org.bcd.bak");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
      }(),
      error);
  ASSERT_TRUE(kept && firstBackup);
  EXPECT_EQ(kept->entries.size(), firstBackup->entries.size());
  expectSystemStoreTrimmed("second run");
}

TEST_F(EndToEnd, EscapeChangesNothing) {
  makeMachine(winsim::defaultMachineText());
  EXPECT_EQ(run("Left F1 Esc"), 0);
  expectNothingLost();
  EXPECT_EQ(machine().systemStore->entries.size(), originalStore.entries.size());
  EXPECT_FALSE(orgBackup());
}

TEST_F(EndToEnd, StartUpRefusals) {
  std::string noBootFolder = winsim::defaultMachineText();
  noBootFolder.replace(noBootFolder.find("bootmgr = true"), 14, "bootmgr = false\nboot_folder = false");
  std::string managerElsewhere = winsim::defaultMachineText();
  managerElsewhere.replace(managerElsewhere.find("device = \"partition=C:\""), 23, "device = \"partition=D:\"");
  const std::pair<std::string, Shown> cases[] = {
      {noBootFolder, {2, 1, messages::cannotFindBootFiles, white}},
      {managerElsewhere, {2, 3, messages::notBootPartition, white}},
  };
  for (const auto& [description, shown] : cases) {
    makeMachine(description);
    EXPECT_EQ(run("Enter"), 0);
    expectShown(shown, shown.text);
    const winsim::MachineReport now = machine();
    EXPECT_TRUE(now.temp.empty());
    EXPECT_EQ(now.transcript.size(), shown.text == messages::notBootPartition ? 1u : 0u);  // the listing
    if (now.systemStore) expectNothingLost();
    TearDown();
  }
}

}  // namespace
}  // namespace quillfex
