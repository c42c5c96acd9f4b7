#pragma once
// What a sandbox's machine looks like now: the state a test checks after a run, or a person reads.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "machine/boot_store.h"
#include "machine/listing_words.h"

namespace winsim {

struct DriveReport {
  char letter = 0;
  bool bootManager = false;            // \bootmgr at its root
  std::string bootManagerBytes;        // what that \bootmgr holds
  std::optional<BootStore> store;      // its \Boot\BCD, when there is one that reads
  std::vector<std::string> bootFiles;  // names in its \Boot
};

struct PartitionReport {
  char letter = 0;           // 0 for a partition without a drive letter
  int volume = 0;            // N of \Device\HarddiskVolumeN
  std::string windows;       // as described: "", "XP", "Vista", "7", "8" or "10"
  bool bootManager = false;  // \bootmgr at its root now
};

struct DiskReport {
  std::string signature;  // bytes 440..443 of sector 0 now, in hex and disk order; "unreadable" when short
  std::vector<PartitionReport> partitions;
};

struct MachineReport {
  std::string systemDrive;
  std::vector<DiskReport> disks;        // in disk order
  std::optional<ListingWords> listing;  // as described; none: the editor lists in English, code page 437
  // The partition of the system store, which the editor works on, as the store names partitions: "C:", or
  // "\Device\HarddiskVolume1" for one without a letter (the firmware's, when the system drive has no \Boot).
  std::string systemStoreOn;
  bool systemStoreThere = false;         // its \Boot\BCD is a file, whether or not it reads
  std::optional<BootStore> systemStore;  // its \Boot\BCD, when there is one that reads
  std::vector<DriveReport> drives;       // by letter
  std::vector<std::string> bootFolder;   // names in the system drive's \Boot
  std::vector<std::string> temp;         // names in the temporary folder
  std::vector<std::string> transcript;   // command lines in the order they ran
};

// Reads the sandbox; nullopt with the reason in error when it is no sandbox.
std::optional<MachineReport> readMachineReport(const std::filesystem::path& sandbox, std::string& error);

// {"systemDrive":"C:", "systemStoreOn":"C:", "systemStore":[{"id":..,"device":..,..}] or null,
// "drives":{"C":{"bootmgr":..,"store":..,"bootFiles":[..]}},
//  "bootFolder":[..], "temp":[..], "transcript":[..]}: what runs change, which tests and the Wine stage
// compare between machines, and so not the listing's language. Text is UTF-8; a byte that is no part of a
// UTF-8 character is taken as code page 437, the code page of the console that names may come from.
std::string reportJson(const MachineReport& report);

enum class Detail { brief, verbose };

// For a person: the disks and their partitions, the listing's language and words, then what each drive's
// \Boot\BCD boots, the system store's wherever it is; verbose adds the \Boot files and every command line run.
std::string reportText(const MachineReport& report, Detail detail);

}  // namespace winsim
