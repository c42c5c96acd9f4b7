#pragma once
// The program-wide variables. Operations read and set them the way a caller relies on: the caller sets
// what an operation reads (targetDrive, letterCode) and reads what it sets (lastStatus, scratchFlag).

#include <array>
#include <cstdint>
#include <string>

#include "data/item_store.h"
#include "platform/os.h"

namespace quillfex {

// The physical disks whose partitions a run prepares: disks 0 to 3.
inline constexpr int scannedDiskCount = 4;

struct ProgramState {
  std::string systemDrive;                                   // SystemDrive, verbatim; "" when unset
  std::string targetDrive;                                   // the partition being prepared, "D:"
  std::array<std::string, scannedDiskCount> diskSignatures;  // per disk 0 to 3; "" for an unreadable disk
  std::int32_t lastStatus = 0;                          // of the last readSector (0 good, 6 no open) or probeWindows
  int selectedRow = 14;                                 // 14: first menu entry selected, 16: the second
  int scratchFlag = 0;                                  // result of the last listing scan, later the "bootmgr" flag
  std::string lineBuffer;                               // the line a scan read last; also the signature just formed
  std::string optionTwoText;                            // row 15 of the menu
  int letterCode = 0;                                   // the drive letter being scanned, 'C' to 'Z'
  std::array<std::uint8_t, sectorSize> sectorBuffer{};  // the sector last read
  std::string entryId;                                  // the entry about to be deleted
  std::string probeLine;                                // line buffer of the Windows probe
  ItemCursor itemCursor;                                // the read cursor shared by every item store
};

}  // namespace quillfex
