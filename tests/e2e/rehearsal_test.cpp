// Rehearsing on a replica: a machine captured by the real quillfex-capture run on it (through the POSIX seam,
// winsim-cmd and the editor it carries), rebuilt with `winsim make --from-capture`, must show the same stores,
// drives and partitions, and an elimination run on the replica must end with the stores it ends with on the
// machine itself.

#include <gtest/gtest.h>

#include <algorithm>

#include "captured_run.h"
#include "machine/machine.h"
#include "program_run.h"
#include "winsim/front/machine_report.h"

namespace quillfex {
namespace {

namespace fs = std::filesystem;

using testing::CapturedRun;

// The default listing does not show the tools menu's entries, so no capture holds them.
void dropTools(std::optional<winsim::BootStore>& store) {
  if (!store) return;
  std::erase_if(store->entries, [](const winsim::BootEntry& entry) { return entry.kind == winsim::EntryKind::tool; });
}

// What `winsim show --json` says of the stores, the drives, the boot folder and the temporary folder.
std::string storesAndDrives(winsim::MachineReport report) {
  dropTools(report.systemStore);
  for (auto& drive : report.drives) dropTools(drive.store);
  report.transcript.clear();
  return winsim::reportJson(report);
}

// Each captured disk with its signature and partitions (letter, and for a lettered one its Windows and
// \bootmgr), and every drive letter of the machine with the same, in disk order.
std::string partitionsOf(const winsim::MachineReport& report) {
  std::string text, letters;
  for (std::size_t d = 0; d < report.disks.size(); ++d) {
    const auto& disk = report.disks[d];
    if (d < 4) text += "disk " + std::to_string(d) + " " + disk.signature + ":";
    for (const auto& partition : disk.partitions) {
      const std::string shown = partition.letter == 0 ? " -"
                                                      : std::string(" ") + partition.letter + " '" + partition.windows +
                                                            "'" + (partition.bootManager ? " bootmgr" : "");
      if (d < 4) text += shown;
      if (partition.letter != 0) letters += shown;
    }
    if (d < 4) text += "\n";
  }
  return text + "letters:" + letters + "\n";
}

class Rehearsal : public testing::ProgramRun {
 protected:
  void TearDown() override {
    ProgramRun::TearDown();
    if (!HasFailure()) replica.remove();
  }

  CapturedRun winsim(std::vector<std::string> args) const {
    posix::ProcessStart start;
    start.arguments = {WINSIM};
    start.arguments.insert(start.arguments.end(), args.begin(), args.end());
    start.environment = posix::currentEnvironment();
    return testing::runCapturing(start, root);
  }

  // Runs the capture on the machine, into the default folder beside it (its root, where winsim starts it).
  CapturedRun capture(const std::vector<std::string>& args = {}) const {
    std::vector<std::string> line = {"run", root.string(), "--screen", "headless", "--", QUILLFEX_CAPTURE};
    line.insert(line.end(), args.begin(), args.end());
    return winsim(line);
  }

  fs::path captureFolder() const { return root / "drives" / systemDrive.substr(0, 1) / "Quillfex-capture"; }

  // Captures the machine and builds its replica in a folder of the machine's sandbox, removed with it.
  void makeReplica() {
    const CapturedRun captured = capture();
    ASSERT_EQ(captured.status, 0) << captured.output << captured.errors;
    replica.root = root / "replica";
    const CapturedRun made = winsim({"make", "--from-capture", captureFolder().string(), replica.root.string()});
    ASSERT_EQ(made.status, 0) << made.errors;
  }

  winsim::MachineReport report(const fs::path& sandbox) const {
    std::string error;
    const auto read = winsim::readMachineReport(sandbox, error);
    EXPECT_TRUE(read) << error;
    return read ? *read : winsim::MachineReport{};
  }

  testing::SimulatedMachine replica;
};

class EveryCapturedSample : public Rehearsal, public ::testing::WithParamInterface<std::string> {};

TEST_P(EveryCapturedSample, ReplicaShowsTheSameStoresDrivesAndPartitions) {
  makeMachine(testing::sampleMachine(GetParam()));
  makeReplica();
  if (HasFatalFailure()) return;
  const winsim::MachineReport original = report(root), copy = report(replica.root);
  EXPECT_EQ(storesAndDrives(copy), storesAndDrives(original));
  EXPECT_EQ(copy.listing, original.listing);
  winsim::MachineReport expected = original;
  // What a partition without a letter holds is not captured.
  for (auto& disk : expected.disks) {
    for (auto& partition : disk.partitions) {
      if (partition.letter == 0) partition.windows.clear();
    }
  }
  EXPECT_EQ(partitionsOf(copy), partitionsOf(expected));
}

// Without rights the capture reads neither the store nor a disk; that machine has a test of its own.
std::vector<std::string> elevatedSamples() {
  auto names = testing::sampleMachineNames();
  std::erase(names, "not-elevated.toml");
  return names;
}

INSTANTIATE_TEST_SUITE_P(Rehearsal, EveryCapturedSample, ::testing::ValuesIn(elevatedSamples()),
                         testing::machineCaseName);

TEST_F(Rehearsal, EliminationRunEndsWithTheSameStoresOnTheReplica) {
  makeMachine(winsim::defaultMachineText());
  makeReplica();
  if (HasFatalFailure()) return;
  const std::string before = storesAndDrives(report(root));
  const std::string keys = "Enter Space Space Space Space";
  ASSERT_EQ(run(keys), 0);
  ASSERT_EQ(replica.run(keys), 0);
  const std::string after = storesAndDrives(report(root));
  EXPECT_EQ(storesAndDrives(report(replica.root)), after);
  EXPECT_NE(after, before);  // the run did prepare the partitions
}

// A capture written by hand in the real formats, and the machine it describes written by hand as winsim
// describes machines: the elimination run and the restore run the same command lines, leave the same stores
// and end on the same screen on both.
TEST_F(Rehearsal, AHandMadeCaptureRehearsesAsTheMachineItDescribes) {
  makeMachine(testing::fileText(QUILLFEX_TEST_DATA "/seven-vista-usb.toml"));
  replica.root = root / "replica";
  const CapturedRun made =
      winsim({"make", "--from-capture", QUILLFEX_TEST_DATA "/capture-seven-vista-usb", replica.root.string()});
  ASSERT_EQ(made.status, 0) << made.errors;
  const std::string before = storesAndDrives(report(root));
  const struct {
    const std::string& keys;
    const char* lastWords;
    std::uint32_t colour;  // black: the menu has been redrawn over it since, as G: was probed after E:
  } steps[] = {{testing::eliminationKeys, "  Partition E: is now bootable.", 0x000000},
               {testing::restoreKeys, "  The Windows boot manager is now back on.", 0xD827BC}};
  for (const auto& step : steps) {
    ASSERT_EQ(run(step.keys), 0) << step.keys;
    ASSERT_EQ(replica.run(step.keys), 0) << step.keys;
    const winsim::MachineReport machine = report(root), copy = report(replica.root);
    EXPECT_EQ(copy.transcript, machine.transcript) << step.keys;
    EXPECT_EQ(storesAndDrives(copy), storesAndDrives(machine)) << step.keys;
    EXPECT_NE(storesAndDrives(machine), before) << step.keys;
    EXPECT_TRUE(replica.lastScreen == lastScreen) << step.keys;
    EXPECT_TRUE(shows(15, 1, step.lastWords, step.colour)) << step.lastWords;
  }
}

TEST_F(Rehearsal, CaptureChangesNothingAndSaysWhatItWrote) {
  makeMachine(testing::sampleMachine("vista-id-header.toml"));
  const winsim::MachineReport before = report(root);
  const CapturedRun captured = capture({"C:\\Rehearsal capture"});
  ASSERT_EQ(captured.status, 0) << captured.errors;
  winsim::MachineReport after = report(root);
  EXPECT_EQ(after.temp, std::vector<std::string>{});  // the editor and the capture files are gone again
  after.transcript = before.transcript;
  EXPECT_EQ(winsim::reportJson(after), winsim::reportJson(before));

  const fs::path folder = root / "drives/C/Rehearsal capture";
  for (const char* name : {"capture.toml", "listing.txt", "MountedDevices.reg", "disk0.bin", "disk3.bin", "root-C.txt",
                           "boot-C.txt", "system32-C.txt", "root-H.txt"}) {
    EXPECT_TRUE(fs::exists(folder / name)) << name;
    EXPECT_NE(captured.output.find(std::string("  ") + name + " ("), std::string::npos) << name;
  }
  EXPECT_EQ(fs::file_size(folder / "disk0.bin"), 512u);
  const std::string settings = testing::fileText(folder / "capture.toml");
  for (const char* line : {"\ncode_page = 437\n", "\nwindows_version = \"Microsoft Windows [Version 6.0.6002]\"\n",
                           "\nversion = \"1.04\"\n"}) {
    EXPECT_NE(settings.find(line), std::string::npos) << line << " is not in\n" << settings;
  }
  EXPECT_EQ(testing::fileText(folder / "listing.txt").substr(0, 2),
            "\r\n");  // as the editor printed it, line ends included
  EXPECT_EQ(winsim({"run", root.string(), "--screen", "headless", "--", QUILLFEX_CAPTURE, "a", "b"}).status, 2);
}

TEST_F(Rehearsal, WithoutRightsTheReplicaStillHasItsDrives) {
  makeMachine(testing::sampleMachine("not-elevated.toml"));
  const CapturedRun captured = capture();
  ASSERT_EQ(captured.status, 0);
  EXPECT_NE(captured.output.find("no administrator rights"), std::string::npos) << captured.output;
  EXPECT_FALSE(fs::exists(captureFolder() / "listing.txt"));
  EXPECT_FALSE(fs::exists(captureFolder() / "disk0.bin"));

  const CapturedRun described = winsim({"describe", "--from-capture", captureFolder().string()});
  ASSERT_EQ(described.status, 0) << described.errors;
  std::string error;
  const auto machine = winsim::parseMachine(described.output, "replica", error);
  ASSERT_TRUE(machine) << error;
  EXPECT_FALSE(machine->elevated);
  ASSERT_EQ(machine->disks.size(), 1u);  // known by its signature from MountedDevices alone
  ASSERT_EQ(machine->disks[0].partitions.size(), 2u);
  EXPECT_EQ(machine->disks[0].partitions[1].letter, 'D');
  EXPECT_EQ(machine->disks[0].partitions[1].windows, "Vista");
  EXPECT_NE(described.output.find("without administrator rights"), std::string::npos);
}

}  // namespace
}  // namespace quillfex
