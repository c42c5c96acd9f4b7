#pragma once
// Every command line the program runs, in one place. Lines that fill a capture file name it through
// captureArgument, so a temporary folder with a blank in its path still receives the output.

#include <string>

#include "platform/os.h"

namespace quillfex {

// The boot-configuration editor as it is written out into the boot folder.
inline constexpr const char* helperFileName = "Zendrakx.exe";

// The program's files in the boot folder. org.bcd, the store as the first run found it, is the way back.
inline constexpr const char* backupStoreFile = "org.bcd";
// Beside org.bcd: the editor's listing of the store that org.bcd holds, as the run that saved it read it.
// It tells a store that org.bcd saved from one that a run of this program has trimmed since.
inline constexpr const char* backupListingFile = "org.lst";
// The store trimmed for one target, which becomes that target's \Boot\BCD.
inline constexpr const char* trimmedStoreFile = "lid.bcd";
// What an earlier file gets behind its name when a new one takes its place: BCD.bak, org.bcd.bak.
inline constexpr const char* keptFileSuffix = ".bak";

// The editor's default listing of the store, into the listing capture.
std::string listingCommand(Os& os);
// The editor's listing of the store in file (not the live one), into the listing capture.
std::string listStoreFileCommand(Os& os, const std::string& file);

std::string exportStoreCommand(const std::string& file);  // store saved as file
std::string importStoreCommand(const std::string& file);  // store replaced by file
std::string deleteEntryCommand(const std::string& id);

// Boot folder, with subfolders and hidden and system files, copied onto drive (such as "D:").
std::string copyBootFolderCommand(const std::string& drive);
// The copied lid.bcd on drive renamed to BCD.
std::string renameCopiedStoreCommand(const std::string& drive);
// \bootmgr copied onto drive's root, replacing a read-only one there.
std::string copyBootManagerCommand(const std::string& drive);

// Names in drive's \Windows\System32 beginning with b, into the probe capture.
std::string probeWindowsCommand(Os& os, const std::string& drive);
// Every name in drive's root, hidden and system ones included, into the listing capture.
std::string listRootCommand(Os& os, const std::string& drive);
// Every name in drive's \Boot, hidden and system ones included, into the listing capture (for the capture program).
std::string listBootFolderCommand(Os& os, const std::string& drive);
// The mounted-devices registry key, exported into the export capture.
std::string exportMountedDevicesCommand(Os& os);

}  // namespace quillfex
