#pragma once
// What a sandbox's machine looks like now: the state a test checks after a run, or a person reads.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "machine/boot_store.h"

namespace winsim {

struct DriveReport {
  char letter = 0;
  bool bootManager = false;            // \bootmgr at its root
  std::optional<BootStore> store;      // its \Boot\BCD, when there is one that reads
  std::vector<std::string> bootFiles;  // names in its \Boot
};

struct MachineReport {
  std::string systemDrive;
  std::optional<BootStore> systemStore;
  std::vector<DriveReport> drives;      // by letter
  std::vector<std::string> bootFolder;  // names in the system drive's \Boot
  std::vector<std::string> temp;        // names in the temporary folder
  std::vector<std::string> transcript;  // command lines in the order they ran
};

// Reads the sandbox; nullopt with the reason in error when it is no sandbox.
std::optional<MachineReport> readMachineReport(const std::filesystem::path& sandbox, std::string& error);

// {"systemStore":[{"id":..,"device":..,..}] or null, "drives":{"C":{"bootmgr":..,"store":..,"bootFiles":[..]}},
//  "bootFolder":[..], "temp":[..], "transcript":[..]}
std::string reportJson(const MachineReport& report);

// A short report for a person.
std::string reportText(const MachineReport& report);

}  // namespace winsim
