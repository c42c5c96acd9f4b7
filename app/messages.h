#pragma once
// The texts the program shows. Long ones fill a screen row: 80 characters, printed without a line end.

#include <string>

namespace quillfex::messages {

inline constexpr int rowWidth = 80;

// The text followed by blanks up to a full row (cut at 80 characters).
inline std::string fullRow(const std::string& text) {
  std::string row = text.substr(0, rowWidth);
  row.resize(rowWidth, ' ');
  return row;
}

// The menu's entries; the second's row later says how a run or a restore ended.
inline const std::string optionOne =
    fullRow("  - Eliminate the Windows bootmanager and set bootfiles on all partitions");
inline const std::string optionTwo = fullRow("  - The Windows bootmanager integrate again");
inline const std::string cannotFindBootFiles = "Cannot find the bootfiles.";
inline const std::string needRights = " Start again with Administratorrights.";
inline const std::string initialize = "Initialize...";
inline const std::string notBootPartition = "This is not the bootpartition, cancelled.";
inline const std::string noMultiboot = "There is no multiboot system, cancelled.  ";
inline const std::string noBootManager = "There is no Vista/Windows7 bootmanager, cancelled. ";
inline const std::string backupNotWritten = "The backup org.bcd could not be written, cancelled.";
inline const std::string stoppedStoreAsBefore =
    "Importing org.bcd failed, stopped. The boot configuration is as before.";
inline const std::string stoppedStoreNotBack =
    "Importing org.bcd failed, stopped. org.bcd holds the full configuration.";
inline const std::string finalImportFailedAsBefore =
    "Importing lid.bcd failed, stopped. The boot configuration is as before.";
inline const std::string finalImportFailedNotBack =
    "Importing lid.bcd failed, stopped. org.bcd holds the full configuration.";
inline const std::string earlierRunsStore =
    "The store is an earlier run's work, cancelled. The 2nd entry restores org.bcd.";
inline const std::string bootManagerBack = fullRow("  The Windows boot manager is now back on.");
inline const std::string restoreNotAsSaved =
    fullRow("  org.bcd was imported, but the store does not list what org.bcd saved.");
inline const std::string nothingRestored =
    fullRow("  Nothing was restored: org.bcd is missing or could not be imported.");
inline const std::string storeNotListed = fullRow("  Nothing was restored: the store could not be listed.");
inline const std::string changedSinceBackup =
    fullRow("  Nothing was restored: the store was changed since org.bcd was saved.");

// The cancellations that find the store is no full store to start from.
inline std::string noSystemOnSystemDrive(const std::string& drive) {
  return "No system on " + drive + " in the store, cancelled. The 2nd entry restores org.bcd.";
}
inline std::string alreadyEliminated(const std::string& drive) {
  return "Only " + drive + "'s systems in the store: eliminated already, cancelled.";
}

// The system drive's own trimming failed; the full store was put back, or could not be.
inline std::string systemNotTrimmedAsBefore(const std::string& drive) {
  return drive + " could not be trimmed, stopped. The boot configuration is as before.";
}
inline std::string systemNotTrimmedNotBack(const std::string& drive) {
  return drive + " could not be trimmed, stopped. org.bcd holds the full configuration.";
}

// The restore's import failed after removing or half writing the store.
inline std::string restoreDamagedStore(const std::string& drive) {
  return fullRow("  org.bcd's import failed and damaged the store: import " + drive + "\\Boot\\org.bcd by hand.");
}

inline std::string partitionBootable(const std::string& drive) {
  return "  Partition " + drive + " is now bootable." + std::string(49, ' ');
}

inline std::string partitionNotBootable(const std::string& drive) {
  return fullRow("  Partition " + drive + " could not be made bootable.");
}

// The second rows, which say what was found, so that the user knows what to do.

// Below "Cannot find the bootfiles." when the system drive has no \Boot folder.
inline std::string noBootFolder(const std::string& drive) {
  if (drive.empty()) return "SystemDrive is not set: the drive of this Windows, and its \\Boot, are unknown.";
  return "No " + drive + "\\Boot: the boot manager must live on " + drive + ", the drive this Windows runs from.";
}

// In place of "This is not the bootpartition" when the listing shows no entry at all, and why.
inline const std::string listingUnreadable = "The boot configuration could not be listed, cancelled.";
inline const std::string editorPrintedNothing = "The editor printed nothing.";
inline const std::string noEntryInListing = "The editor's listing holds no entry that Quillfex can read.";

// Below "This is not the bootpartition, cancelled.": where the listing puts the boot manager, cut to the row
// it stands on from column 3.
inline std::string bootManagerElsewhere(const std::string& device, const std::string& drive) {
  return ("The boot manager is on " + (device.empty() ? "no device" : device) + ", not on " + drive + ".")
      .substr(0, rowWidth - 2);
}
inline const std::string noBootManagerEntry = "The listing shows no boot manager entry ({bootmgr}).";

// Below "Partition X: could not be made bootable.": why.
inline const std::string trimmingFailed = fullRow("  The store could not be trimmed for it (lid.bcd).");
inline const std::string bootFolderCopyFailed = fullRow("  The copy of \\Boot onto it failed.");
inline const std::string copiedStoreUnlisted = fullRow("  The copied store does not list the partition.");
inline const std::string bootManagerCopyFailed = fullRow("  The copy of \\bootmgr onto it failed.");
inline const std::string oldBootManagerKept = fullRow("  Its old \\bootmgr could not be replaced.");
inline const std::string storeNotPutInPlace = fullRow("  Its \\Boot\\BCD could not be put in place.");
inline const std::string hasNoLetter = fullRow("  It has no drive letter: give it one and run Quillfex again.");
inline const std::string noWindowsFound = fullRow("  No Windows was found on it (\\Windows\\System32\\b*).");
inline const std::string diskNotRead = fullRow("  Its disk could not be read (or it is on none of disks 0 to 3).");
inline const std::string onNoDisk = fullRow("  It is on none of the MBR disks 0 to 3, which Quillfex reads.");

}  // namespace quillfex::messages
