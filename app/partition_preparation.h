#pragma once
// Making one partition boot by itself: its own boot folder, bootmgr and a store that lists only its own
// system; for the system drive only the trimmed store in lid.bcd.

#include <string>
#include <vector>

#include "state/context.h"

namespace quillfex {

// Lists the target's \Windows\System32\b* and redraws the menu; true when a name was listed (Windows is
// there).
bool probeWindows(Context& context);

enum class Preparation {
  prepared,          // the target is bootable by itself, and said so
  notBootable,       // the trimming, the copies or the rename failed; said so, nothing of the target's lost
  systemTrimmed,     // the target was the system drive: lid.bcd holds its trimmed store
  systemNotTrimmed,  // the target was the system drive, and lid.bcd could not be made
  storeNotRestored,  // org.bcd could not be imported: nothing was done
};

// Restores the full store from org.bcd, deletes every entry not on targetDrive and exports lid.bcd. For any
// drive but the system drive, when that trimmed store is sound (the store listed the boot manager and an
// entry on the target, and the export wrote lid.bcd; an entry whose deletion failed stays in it, as in the
// store it came from), copies the boot folder and bootmgr onto the target and makes the copied lid.bcd its
// BCD (keeping an earlier BCD beside it); shows on row 15 whether the target is bootable.
Preparation preparePartition(Context& context);

// The system drive's part of the run: the store restored from org.bcd, trimmed of the entries on the
// prepared drives only (a system that boots from nothing else keeps its entry), into lid.bcd.
Preparation trimSystemStore(Context& context, const std::vector<std::string>& preparedDrives);

// Whether an entry id may go into a command line: a braced GUID or a braced name, nothing the command
// interpreter would act on.
bool isSafeEntryId(const std::string& id);

}  // namespace quillfex
