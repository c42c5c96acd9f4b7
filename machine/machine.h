#pragma once
// A simulated Windows multiboot machine as a machine description (TOML) tells it: the system drive, the
// rights the program runs with, the disks and their partitions, the boot configuration store, the
// MountedDevices values and the faults to inject.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "machine/boot_store.h"
#include "machine/listing_words.h"

namespace winsim {

struct Partition {
  char letter = 0;           // 'C' to 'Z', or 0 for a partition without a drive letter
  std::uint64_t offset = 0;  // in bytes from the start of the disk
  std::uint64_t size = 0;    // in bytes
  std::string windows;       // "", "XP", "Vista", "7", "8" or "10"
  bool bootManager = false;  // \bootmgr at its root
  bool bootFolder = false;   // a \Boot folder with a store at its root (by default: where bootmgr is)
};

// A partition by its place in the machine.
struct PartitionPlace {
  std::size_t disk = 0;
  std::size_t partition = 0;  // from 0, in the order the description gives them
  int volume = 0;             // N of \Device\HarddiskVolumeN: Windows numbers volumes from 1, disk by disk
};

struct Disk {
  std::array<std::uint8_t, 4> signature{};  // bytes 440 to 443 of sector 0, in disk order
  std::vector<Partition> partitions;
};

struct MountedValue {
  std::string name;  // "\DosDevices\C:", "\??\Volume{...}"
  std::vector<std::uint8_t> bytes;
};

// What a fault does to the command it hits.
enum class FaultEffect {
  none,     // no fault hits the command
  fails,    // it fails and changes nothing
  partial,  // it changes part of what it should, then fails: the file it writes is left half written, and an
            // import removes the system store
  noOp,     // it reports success and does nothing
  garbage,  // it writes bytes that are no store where it should write, or lists them, and reports success
};

struct Fault {
  std::string command;  // export, import, delete, listing, regedit, copy, rename, disk
  std::string arg;      // the file, id, drive letter or disk number it hits; "" hits every one
  int after = 0;        // that many matching commands succeed before the fault hits
  int times = 0;        // how many matching commands it hits then; 0: every later one
  FaultEffect effect = FaultEffect::fails;
};

// A file that an interrupted run left behind, put in place when the sandbox is built.
struct LeftoverFile {
  std::string path;  // a full Windows path, "C:\Boot\lid.bcd"
  std::string content;
  std::string attributes;  // its letters of R, H and S, in that order: "", "RHS", ...
};

struct Machine {
  std::string systemDrive = "C:";
  bool elevated = true;
  HeaderStyle header = HeaderStyle::identifier;
  std::string temp = "C:\\Temp";
  std::vector<Disk> disks;
  BootStore store;
  std::vector<MountedValue> mounted;  // every value of the key, derived ones included, in key order
  std::vector<Fault> faults;
  std::vector<LeftoverFile> leftovers;
  std::optional<ListingWords> listing;  // the [listing] table's words; none: English, in code page 437
  std::string faultCountsFile;          // where the matches of faults with `after` are counted across commands
  // The listing's words in their code page, as the sandbox holds them; none: the sandbox lists in English.
  std::optional<ListingText> listingText;

  int codePage() const { return listing ? listing->codePage : 437; }

  // What the first fault that hits `command` for `arg` (compared without regard to letter case) does to it.
  // Counts the match of a fault that hits only after some commands.
  FaultEffect faultFor(const std::string& command, const std::string& arg) const;
  bool fails(const std::string& command, const std::string& arg) const {
    return faultFor(command, arg) != FaultEffect::none;
  }

  const Partition& partitionAt(const PartitionPlace& place) const {
    return disks[place.disk].partitions[place.partition];
  }
  // The partition of the system store, the one the editor works on: the system drive's when it has a boot
  // folder, else the first with bootmgr (the active partition, which the firmware starts), else the system
  // drive's. nullopt for a machine without partitions, such as the default of a real Windows machine.
  std::optional<PartitionPlace> systemStorePlace() const;
  // Every partition's place, in disk order, its volume number counted along.
  std::vector<PartitionPlace> places() const;
  // The partition of a drive letter; nullopt when no partition has it.
  std::optional<PartitionPlace> placeOf(char letter) const;
  // How the store and the listing name a partition: "D:", or "\Device\HarddiskVolume1" without a letter.
  std::string partitionName(const PartitionPlace& place) const;
};

// Reads a machine description. On a fault in it: nullopt, and error names the file, line and key. With
// encode, a listing's word that has no place in its code page is a fault too, and so is a code page that
// does not keep ASCII as it is; without it (the editor and winsim-cmd, which cannot load code pages and read
// the words' bytes from the sandbox) that is left unchecked.
std::optional<Machine> parseMachine(const std::string& text, const std::string& sourceName, std::string& error,
                                    const CodePageEncoder& encode = {});

// The description of the built-in sample machine.
const std::string& defaultMachineText();

}  // namespace winsim
