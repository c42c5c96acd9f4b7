#pragma once
// What the program keeps from one operation to the next, and what the screen shows. A scan's answer, a
// count, a line or a loop's letter is a return value or a local, never kept here.

#include <array>
#include <string>

namespace quillfex {

// The physical disks whose partitions a run prepares: disks 0 to 3.
inline constexpr int scannedDiskCount = 4;

struct ProgramState {
  std::string systemDrive;                                   // SystemDrive, verbatim; "" when unset
  std::string targetDrive;                                   // the partition being prepared, "D:"
  std::array<std::string, scannedDiskCount> diskSignatures;  // per disk 0 to 3; "" for an unreadable disk
  int selectedRow = 0;                                       // the selected menu entry, from 0 for the first
  std::string optionTwoText;                                 // the menu's second entry, on row 15
};

}  // namespace quillfex
