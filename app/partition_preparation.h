#pragma once
// Making one partition boot by itself: its own boot folder, bootmgr and a store that lists only its own
// system; for the system drive only the trimmed store in lid.bcd.

#include "core/context.h"

namespace quillfex {

// Lists the target's \Windows\System32\b* and redraws the menu; lastStatus 0 when a name was listed
// (Windows is there), 1 when not.
void probeWindows(Context& context);

enum class Preparation {
  prepared,          // the target is bootable by itself, and said so
  notBootable,       // copies or the rename failed; said so, nothing of the target's lost
  systemTrimmed,     // the target was the system drive: lid.bcd holds its trimmed store
  storeNotRestored,  // org.bcd could not be imported: nothing was done
};

// Restores the full store from org.bcd, deletes every entry not on targetDrive, exports lid.bcd and, for
// any drive but the system drive, copies the boot folder and bootmgr onto the target, makes the copied
// lid.bcd its BCD (keeping an earlier BCD beside it) and shows on row 15 whether the target is bootable.
Preparation preparePartition(Context& context);

// Whether an entry id may go into a command line: a braced GUID or a braced name, nothing the command
// interpreter would act on.
bool isSafeEntryId(const std::string& id);

}  // namespace quillfex
