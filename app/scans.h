#pragma once
// The scans the program makes of the machine: each runs its command line through helper/ into its capture
// file and hands what the command wrote to a reader of readers/, which answers from the text alone.

#include <string>
#include <vector>

#include "readers/listing.h"
#include "state/context.h"

namespace quillfex {

struct StoreListing {
  std::string text;  // the capture file as the editor wrote it; "" when there is none
  std::vector<ListedEntry> entries;
};

// Runs the editor's listing of the live store and returns what it wrote; "" when it wrote nothing.
std::string runListing(Context& context);

// Runs the listing and returns it.
StoreListing listStore(Context& context);

// Runs the listing of the store in file, not the live one, and returns it; nothing when the editor failed.
StoreListing listStoreFile(Context& context, const std::string& file);

// Runs the listing and tells whether the boot manager's entry ("{bootmgr}") lies on drive.
bool findBootManagerDevice(Context& context, const std::string& drive);

// Runs the export of the MountedDevices key into its capture file and narrows it into the narrowed
// export's capture file. That one is emptied first, so nothing of an earlier run can stand behind the new
// content; the export's is created empty when the export wrote none.
void exportMountedDevices(Context& context);

}  // namespace quillfex
