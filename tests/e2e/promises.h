#pragma once
// The promises the program keeps on a machine, whatever ran, failed or was cut off, checked against the
// store as the user had it before the program first changed it. Each broken promise is one line of text.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "machine/boot_store.h"
#include "winsim/front/machine_report.h"

namespace quillfex::testing {

enum class Ending {
  ended,   // the program reached its end
  cutOff,  // the program was killed after a command line
  // the program ended saying that the full store could not be put back (the editor cannot write it)
  saidNotBack,
};

struct Moment {
  const winsim::MachineReport& before;  // the machine before the run
  const winsim::MachineReport& now;
  const std::optional<winsim::BootStore>& backup;  // org.bcd now
  const winsim::BootStore& original;               // the store before the program first changed it
  Ending ending;
};

// The backup: whenever the live store differs from the original, org.bcd holds the original.
// Nothing that worked gets worse: a partition that booted by itself before still does.
// When the run ended, unless it was already so before the run: the system store boots its own Windows (the
// boot manager and every entry on the system drive), every system of the original can still be started
// (from the system store or by its partition booting by itself), and no working file is left.
std::vector<std::string> brokenPromises(const Moment& moment);

// Whether the drive boots by itself: \bootmgr and a store that lists the boot manager and an entry on it.
bool bootsByItself(const winsim::DriveReport& drive);

// What "is now bootable" says of a drive: it boots by itself with the system drive's \bootmgr, byte for byte,
// and no log beside its \Boot\BCD that could be taken for another store's.
bool madeBootable(const winsim::MachineReport& machine, const winsim::DriveReport& drive);

// Whether the store lists a system (a Vista or later loader, or XP) on the drive ("D:").
bool listsSystemOn(const winsim::BootStore& store, const std::string& drive);

// The system drive's org.bcd in the sandbox as it reads; nullopt when there is none.
std::optional<winsim::BootStore> readBackup(const std::filesystem::path& sandbox, const std::string& systemDrive);

// Same entries (id, device, kind) in the same order and the same display order.
bool sameStore(const winsim::BootStore& a, const winsim::BootStore& b);

}  // namespace quillfex::testing
