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

}  // namespace quillfex::messages
