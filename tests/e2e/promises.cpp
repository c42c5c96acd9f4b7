#include "promises.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace quillfex::testing {

namespace {

using winsim::BootEntry;
using winsim::BootStore;
using winsim::EntryKind;

std::string driveOf(const BootEntry& entry) {
  return entry.device.size() >= 2 ? entry.device.substr(entry.device.size() - 2) : "";
}

bool isSystem(const BootEntry& entry) { return entry.kind == EntryKind::loader || entry.kind == EntryKind::legacy; }

bool lists(const BootStore& store, const BootEntry& entry) {
  const BootEntry* found = store.find(entry.id);
  return found != nullptr && found->device == entry.device;
}

const winsim::DriveReport* driveNamed(const winsim::MachineReport& machine, const std::string& drive) {
  for (const auto& report : machine.drives) {
    if (std::string(1, report.letter) + ":" == drive) return &report;
  }
  return nullptr;
}

void checkBackup(const Moment& m, std::vector<std::string>& broken) {
  if (m.now.systemStore && sameStore(*m.now.systemStore, m.original)) return;
  if (!m.before.systemStore && !m.now.systemStore) return;  // a machine without a store, which no run made
  if (!m.backup) {
    broken.push_back("the store changed and there is no org.bcd");
  } else if (!sameStore(*m.backup, m.original)) {
    broken.push_back("the store changed and org.bcd does not hold the original");
  }
}

void checkSelfBootingPartitionsStay(const Moment& m, std::vector<std::string>& broken) {
  for (const auto& before : m.before.drives) {
    if (!bootsByItself(before)) continue;
    const std::string drive = std::string(1, before.letter) + ":";
    const auto* now = driveNamed(m.now, drive);
    if (drive != m.now.systemDrive && (now == nullptr || !bootsByItself(*now))) {
      broken.push_back(drive + " booted by itself before and no longer does");
    }
  }
}

void checkSystemBootsItsOwnWindows(const Moment& m, std::vector<std::string>& broken) {
  if (!m.now.systemStore) return broken.push_back("no system store");
  if (!m.now.systemStore->find("{bootmgr}")) broken.push_back("the system store has no boot manager");
  for (const auto& entry : m.original.entries) {
    if (isSystem(entry) && driveOf(entry) == m.now.systemDrive && !lists(*m.now.systemStore, entry)) {
      broken.push_back("the system store lost " + entry.id + " of the system drive");
    }
  }
}

// A system of the original leaves the system store only for a partition that now boots it by itself.
void checkEverySystemStarts(const Moment& m, std::vector<std::string>& broken) {
  for (const auto& entry : m.original.entries) {
    if (!isSystem(entry) || (m.now.systemStore && lists(*m.now.systemStore, entry))) continue;
    const auto* drive = driveNamed(m.now, driveOf(entry));
    if (drive == nullptr || !bootsByItself(*drive) || !lists(*drive->store, entry)) {
      broken.push_back(entry.id + " (" + entry.description + ") can no longer be started");
    }
  }
}

void checkNoWorkingFiles(const Moment& m, std::vector<std::string>& broken) {
  for (const auto& name : m.now.bootFolder) {
    if (name == "lid.bcd" || name == "Zendrakx.exe") broken.push_back(name + " left in the boot folder");
  }
  for (const auto& name : m.now.temp) {
    if (name.rfind("Quillfex.", 0) == 0) broken.push_back(name + " left in the temporary folder");
  }
  for (const auto& drive : m.now.drives) {
    for (const auto& name : drive.bootFiles) {
      if (name == "lid.bcd" || name == "Zendrakx.exe") broken.push_back(name + " left on " + drive.letter + ":");
    }
  }
}

}  // namespace

bool bootsByItself(const winsim::DriveReport& drive) {
  if (!drive.bootManager || !drive.store || !drive.store->find("{bootmgr}")) return false;
  return listsSystemOn(*drive.store, std::string(1, drive.letter) + ":");
}

bool madeBootable(const winsim::MachineReport& machine, const winsim::DriveReport& drive) {
  const auto* system = driveNamed(machine, machine.systemDrive);
  const auto isLog = [](const std::string& name) { return name.starts_with("BCD.LOG"); };
  return bootsByItself(drive) && system != nullptr && drive.bootManagerBytes == system->bootManagerBytes &&
         std::none_of(drive.bootFiles.begin(), drive.bootFiles.end(), isLog);
}

bool sameStore(const BootStore& a, const BootStore& b) {
  const auto same = [](const BootEntry& x, const BootEntry& y) {
    return x.id == y.id && x.device == y.device && x.kind == y.kind;
  };
  return std::equal(a.entries.begin(), a.entries.end(), b.entries.begin(), b.entries.end(), same) &&
         a.displayOrder == b.displayOrder;
}

bool listsSystemOn(const BootStore& store, const std::string& drive) {
  return std::any_of(store.entries.begin(), store.entries.end(),
                     [&](const BootEntry& entry) { return isSystem(entry) && driveOf(entry) == drive; });
}

std::optional<BootStore> readBackup(const std::filesystem::path& sandbox, const std::string& systemDrive) {
  std::ifstream in(sandbox / "drives" / systemDrive.substr(0, 1) / "Boot" / "org.bcd", std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  std::string error;
  return winsim::parseStore(text.str(), error);
}

std::vector<std::string> brokenPromises(const Moment& moment) {
  std::vector<std::string> broken;
  checkBackup(moment, broken);
  checkSelfBootingPartitionsStay(moment, broken);
  if (moment.ending != Ending::ended) return broken;
  // What a run that ended must leave; a run that starts from a state where one of these is already broken
  // (a run cut off before it) must not make it worse, and the restore is what mends it.
  const Moment asBefore{moment.before, moment.before, moment.backup, moment.original, moment.ending};
  std::vector<std::string> ended, endedBefore;
  for (const auto check : {checkSystemBootsItsOwnWindows, checkEverySystemStarts, checkNoWorkingFiles}) {
    check(moment, ended);
    check(asBefore, endedBefore);
  }
  for (const auto& promise : ended) {
    if (std::find(endedBefore.begin(), endedBefore.end(), promise) == endedBefore.end()) broken.push_back(promise);
  }
  return broken;
}

}  // namespace quillfex::testing
