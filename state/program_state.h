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
  int selectedRow = 14;                                      // 14: first menu entry selected, 16: the second
  std::string optionTwoText;                                 // row 15 of the menu
};

}  // namespace quillfex
