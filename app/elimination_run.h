#pragma once
// The main action: every Windows partition on disks 0 to 3 is made bootable by itself, and the system's
// own store is cut down to the boot manager and the system drive's own entries.

#include "state/context.h"

namespace quillfex {

// Runs the checks, saves the store as org.bcd, prepares each partition and trims the system store. A
// cancellation or a stop shows its message on row 15 and waits for a key. The caller cleans up.
void eliminationRun(Context& context);

}  // namespace quillfex
