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
inline const std::string bootManagerBack = fullRow("  The Windows boot manager is now back on.");
inline const std::string nothingRestored =
    fullRow("  Nothing was restored: org.bcd is missing or could not be imported.");

inline std::string partitionBootable(const std::string& drive) {
  return "  Partition " + drive + " is now bootable." + std::string(49, ' ');
}

inline std::string partitionNotBootable(const std::string& drive) {
  return fullRow("  Partition " + drive + " could not be made bootable.");
}

}  // namespace quillfex::messages
