// Deriving a replica from a capture: the settings, the disks read, the drive letters placed on their
// partitions by the MountedDevices values, each drive's Windows and boot files, and the store's entries.

#include "winsim/replica/replica.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

#include "machine/device_names.h"
#include "machine/mounted_devices.h"
#include "posix/code_page_text.h"
#include "readers/captured_lines.h"
#include "readers/folder_names.h"
#include "text/text.h"
#include "winsim/replica/capture_settings.h"
#include "winsim/replica/registry_export.h"
#include "winsim/replica/replica_plan.h"
#include "winsim/replica/sector_zero.h"

namespace winsim {

namespace {

using replica::DiskPlan;
using replica::EntryPlan;
using replica::MachinePlan;
using replica::PartitionPlan;

constexpr const char* mountedDevicesKey = "HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices";
constexpr const char* letterPrefix = "\\DosDevices\\";
constexpr const char* volumePrefix = "\\??\\Volume{";
constexpr int capturedDisks = 4;

// An MBR volume's value: its disk's signature, then the partition's byte offset, little-endian.
struct Volume {
  std::string signature;  // "12ab0cff"
  std::uint64_t offset = 0;
};

std::optional<Volume> mbrVolume(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() != 12) return std::nullopt;
  Volume volume{hexBytes({bytes.begin(), bytes.begin() + 4}), 0};
  std::erase(volume.signature, ',');
  for (int i = 7; i >= 0; --i) volume.offset = volume.offset << 8 | bytes[4 + static_cast<std::size_t>(i)];
  return volume;
}

// The letter of a "\DosDevices\X:" value name; 0 for other names.
char letterOf(const std::string& name) {
  if (!name.starts_with(letterPrefix) || name.size() != 14 || name[13] != ':') return 0;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[12])));
  return letter >= 'A' && letter <= 'Z' ? letter : 0;
}

std::string hexByte(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x", value);
  return text;
}

std::vector<std::string> loweredNames(const std::string& listing) {
  std::vector<std::string> names;
  quillfex::CapturedLines lines(listing);
  while (!lines.atEnd()) {
    const std::string line = lines.readLine();
    if (quillfex::namesAFile(line)) names.push_back(quillfex::lowerCase(line));
  }
  return names;
}

bool names(const std::vector<std::string>& lowered, const std::string& name) {
  return std::find(lowered.begin(), lowered.end(), name) != lowered.end();
}

class Deriver {
 public:
  Deriver(const CaptureFolder& capture, std::vector<std::string>& problems) : capture_(capture), findings_(problems) {
    plan_.source = capture.shownAs();
  }

  MachinePlan derive() {
    readSettings();
    readDisks();
    readExport();
    placeLetters();
    placeVolumes();
    describeDrives();
    readEntries(capture_.file("listing.txt"), notElevated(), plan_, findings_);
    placeSystemStore();
    checkDrivesExist();
    return plan_;
  }

 private:
  void note(std::vector<std::string>& where, const std::string& text) { findings_.note(where, text); }
  void problem(std::vector<std::string>& where, const std::string& text) { findings_.problem(where, text); }

  // -- capture.toml

  void readSettings() {
    const CaptureSettings settings = readCaptureSettings(capture_.file("capture.toml"));
    for (const auto& text : settings.problems) problem(plan_.notes, text);
    plan_.systemDrive = {settings.systemDrive, "SystemDrive when captured"};
    plan_.temp = {settings.temp, "temp when captured"};
    plan_.elevated = {settings.elevated, "physical disk 0 opened"};
    plan_.version = settings.version.value_or("");
    plan_.windowsVersion = settings.windowsVersion.value_or("");
    readCodePage(settings);
  }

  // An older capture names no code page: its listing is read as code page 437, a US Windows' console's.
  void readCodePage(const CaptureSettings& settings) {
    replica::ListingPlan& listing = plan_.listing;
    if (settings.codePage && !quillfex::posix::codePageToUtf8("", *settings.codePage)) {
      listing.codePageWhy = "taken as a US Windows' console's";
      problem(listing.notes, "capture.toml's code_page " + std::to_string(*settings.codePage) +
                                 " is none that iconv knows: listing.txt is read as code page 437");
    } else if (settings.codePage) {
      listing.codePage = *settings.codePage;
      listing.codePageWhy = "chcp when captured";
    } else if (recordsTheConsole(plan_.version)) {
      listing.codePageWhy = "not captured: taken as a US Windows' console's";
      problem(listing.notes, "capture.toml has no code_page: listing.txt is read as code page 437");
    } else {
      listing.codePageWhy = "not captured: taken as a US Windows' console's";
      note(listing.notes,
           "quillfex-capture before 1.04 did not record the console's code page: listing.txt is read "
           "as code page 437.");
    }
  }

  bool notElevated() const { return plan_.elevated.value == false; }

  // -- disk0.bin to disk3.bin

  void readDisks() {
    int lastRead = -1;
    std::map<int, SectorZero> read;
    for (int n = 0; n < capturedDisks; ++n) {
      const std::string name = "disk" + std::to_string(n) + ".bin";
      const auto bytes = capture_.file(name);
      if (!bytes) continue;
      if (const auto sector = readSectorZero(*bytes)) {
        read[n] = *sector;
        lastRead = n;
      } else {
        problem(plan_.notes, name + " holds " + std::to_string(bytes->size()) +
                                 " bytes, not the 512 of a sector: disk " + std::to_string(n) + " is left out");
      }
    }
    for (int n = 0; n <= lastRead; ++n) {
      plan_.disks.push_back(read.count(n) ? diskFrom(n, read[n]) : diskNotRead(n));
      sectors_.push_back(read.count(n) ? std::optional<SectorZero>(read[n]) : std::nullopt);
    }
    if (notElevated() && lastRead < 0) {
      note(plan_.notes, "No disk was read: the capture ran without administrator rights.");
    } else if (lastRead + 1 < capturedDisks) {
      const std::string first = "disk" + std::to_string(lastRead + 1) + ".bin";
      note(plan_.notes, (lastRead + 2 < capturedDisks ? first + " to disk3.bin are" : first + " is") +
                            " not in the capture: no such disk, or it did not read.");
    }
  }

  DiskPlan diskNotRead(int n) {
    DiskPlan disk{"00000000", "disk" + std::to_string(n) + ".bin is not in the capture", false, {}, {}};
    note(disk.notes, "Disk " + std::to_string(n) +
                         " did not read in the capture (or is not there). A disk that does not read stands in its "
                         "place, so that the disks after it keep their numbers.");
    return disk;
  }

  DiskPlan diskFrom(int n, const SectorZero& sector) {
    DiskPlan disk{sector.signature, "disk" + std::to_string(n) + ".bin", true, {}, {}};
    if (!sector.bootSignature) {
      problem(disk.notes, "disk" + std::to_string(n) + ".bin does not end in 55 AA: it holds no partition table");
    }
    for (const TableEntry& entry : sector.used) {
      const std::string where = "table entry " + std::to_string(entry.slot) + ", type " + hexByte(entry.type);
      if (entry.isGptProtective()) {
        note(disk.notes,
             "A GPT disk (" + where + "): its partitions are in no MBR table, and Quillfex is for MBR disks.");
      } else if (entry.isExtended()) {
        note(disk.notes, "Table entry " + std::to_string(entry.slot) +
                             " is an extended partition: its logical drives are placed from MountedDevices, their "
                             "sizes unknown.");
      } else {
        PartitionPlan partition;
        partition.offset = entry.offset();
        partition.size = entry.size();
        partition.origin = where + (entry.active ? ", active" : "");
        partition.inTable = true;
        partition.active = entry.active;
        reportOverlaps(disk, partition, n);
        disk.partitions.push_back(partition);
      }
    }
    return disk;
  }

  void reportOverlaps(DiskPlan& disk, const PartitionPlan& partition, int n) {
    for (const auto& other : disk.partitions) {
      if (partition.offset < other.offset + *other.size && other.offset < partition.offset + *partition.size) {
        problem(disk.notes, "disk " + std::to_string(n) + "'s " + partition.origin + " overlaps its " + other.origin);
      }
    }
  }

  // -- MountedDevices.reg

  void readExport() {
    const auto bytes = capture_.file("MountedDevices.reg");
    if (!bytes) {
      problem(plan_.notes, "MountedDevices.reg is missing: no drive letter is known, so no drive is described");
      return;
    }
    const RegistryExport exported = readRegistryExport(*bytes);
    for (const auto& failure : exported.problems) {
      const std::string line = failure.line > 0 ? " line " + std::to_string(failure.line) : "";
      problem(plan_.notes, "MountedDevices.reg" + line + ": " + failure.what);
    }
    const RegistryKey* key = exported.key(mountedDevicesKey);
    if (!key) {
      problem(plan_.notes, "MountedDevices.reg has no [" + std::string(mountedDevicesKey) + "] key");
      return;
    }
    int others = 0;
    for (const auto& value : key->values) others += sortValue(value) ? 0 : 1;
    if (others > 0) {
      note(plan_.mountedNotes,
           "Values of the key that are neither a drive letter's nor a volume's are not described: " +
               std::to_string(others) + ".");
    }
  }

  // Files a letter's or a volume's value; false for a value of another kind.
  bool sortValue(const RegistryValue& value) {
    const char letter = letterOf(value.name);
    if (letter == 0 && !value.name.starts_with(volumePrefix)) return false;
    if (value.type != "hex") {
      problem(plan_.mountedNotes, value.name + " is a " + value.type + " value, not a binary one: left out");
    } else if (letter == 0) {
      volumes_.push_back(value);
    } else if (letters_.count(letter)) {
      problem(plan_.mountedNotes, "MountedDevices.reg names " + value.name + " twice (lines " +
                                      std::to_string(letters_[letter].line) + " and " + std::to_string(value.line) +
                                      "): the second is left out");
    } else {
      letters_[letter] = value;
    }
    return true;
  }

  // -- placing letters and volumes on partitions

  void placeLetters() {
    for (const auto& [letter, value] : letters_) {
      const auto volume = mbrVolume(value.bytes);
      if (!volume) {
        note(plan_.mountedNotes, std::string(1, letter) + ": is no MBR volume (a value of " +
                                     std::to_string(value.bytes.size()) +
                                     " bytes: a removable or optical drive, or a dynamic or GPT volume); no partition "
                                     "is described for it, its value is kept.");
        keepValue(value);
      } else if (letter < 'C') {
        problem(plan_.mountedNotes, std::string(1, letter) +
                                        ": is an MBR volume, but winsim gives partitions the letters C to Z only: "
                                        "left out, its value kept");
        keepValue(value);
      } else if (!place(*volume, letter)) {
        keepValue(value);
      }
    }
  }

  void placeVolumes() {
    int others = 0;
    for (const auto& value : volumes_) {
      if (const auto volume = mbrVolume(value.bytes)) {
        place(*volume, 0, value.name);
      } else {
        keepValue(value);
        ++others;
      }
    }
    if (others > 0) {
      note(plan_.mountedNotes,
           "Volume values that are no MBR volume (a removable or optical drive, a dynamic or GPT volume, a folder "
           "that Wine mounts), kept on no partition: " +
               std::to_string(others) + ".");
    }
    for (std::size_t d = 0; d < plan_.disks.size(); ++d) {
      for (auto& partition : plan_.disks[d].partitions) {
        if (partition.letter != 0) continue;
        note(partition.notes, partition.namedByVolume
                                  ? "No drive letter: what it holds (Windows, \\bootmgr, \\Boot) is not captured."
                                  : "No drive letter, and no volume value of MountedDevices lies on it: what it holds "
                                    "is not captured.");
      }
    }
  }

  void keepValue(const RegistryValue& value) { plan_.mounted.push_back({value.name, value.bytes}); }

  // Places the volume of a letter (0: a volume without one) on its partition; false when it is left out.
  bool place(const Volume& volume, char letter, const std::string& volumeName = "") {
    const std::string shown = letter ? std::string(1, letter) + ":" : volumeName;
    const std::string at = "byte " + std::to_string(volume.offset);
    if (!startsAnMbrSector(volume.offset)) {
      problem(plan_.mountedNotes, shown + " lies at " + at +
                                      ", where no partition of an MBR disk can start (a sector from 0 to 4294967295): "
                                      "left out" +
                                      (letter ? ", its value kept" : ""));
      return false;
    }
    std::vector<std::size_t> candidates;
    for (std::size_t d = 0; d < sectors_.size(); ++d) {
      if (sectors_[d] && sectors_[d]->signature == volume.signature) candidates.push_back(d);
    }
    if (candidates.empty()) return placeOnDiskNotRead(volume, letter, shown);
    if (candidates.size() > 1 && letter) {
      problem(plan_.notes, "disks " + std::to_string(candidates[0]) + " and " + std::to_string(candidates[1]) +
                               " have the same signature " + volume.signature + ": " + shown +
                               " is placed on the first with a free partition at " + at);
    }
    for (const std::size_t d : candidates) {
      if (PartitionPlan* partition = partitionAt(plan_.disks[d], volume.offset, letter != 0)) {
        if (letter) partition->letter = letter;
        partition->namedByVolume = true;
        return true;
      }
    }
    if (letter) {
      for (const std::size_t d : candidates) {
        if (const PartitionPlan* taken = partitionAt(plan_.disks[d], volume.offset, false)) {
          problem(plan_.mountedNotes, shown + " and " + std::string(1, taken->letter) + ": name the same partition (" +
                                          at + " of disk " + std::to_string(d) + "): " + shown +
                                          " is left out, its value kept");
          return false;
        }
      }
    }
    for (const std::size_t d : candidates) {
      if (const auto extended = extendedAround(d, volume.offset)) {
        addBeyondTable(plan_.disks[d], volume.offset, letter,
                       "a logical drive in table entry " + std::to_string(extended->slot) + "'s extended partition");
        return true;
      }
    }
    problem(plan_.mountedNotes,
            shown + " lies at " + at + " of disk " + std::to_string(candidates[0]) + " (signature " + volume.signature +
                "), where its partition table has no partition: left out" + (letter ? ", its value kept" : ""));
    return false;
  }

  // A disk the capture did not read is known by its signature alone; it stays unreadable in the replica.
  bool placeOnDiskNotRead(const Volume& volume, char letter, const std::string& shown) {
    auto disk = std::find_if(plan_.disks.begin() + static_cast<std::ptrdiff_t>(sectors_.size()), plan_.disks.end(),
                             [&](const DiskPlan& d) { return d.signature == volume.signature; });
    if (disk == plan_.disks.end()) {
      plan_.disks.push_back({volume.signature, "known from MountedDevices alone", false, {}, {}});
      disk = plan_.disks.end() - 1;
      note(disk->notes,
           "The capture did not read this disk (not among disks 0 to 3, or it did not read): its number and partition "
           "table are unknown, and a fault keeps it unreadable in the replica as well.");
    }
    if (PartitionPlan* partition = partitionAt(*disk, volume.offset, false)) {
      if (letter && partition->letter) {
        problem(plan_.mountedNotes, shown + " and " + std::string(1, partition->letter) +
                                        ": name the same volume: " + shown + " is left out, its value kept");
        return false;
      }
      if (letter) partition->letter = letter;
      return true;
    }
    addBeyondTable(*disk, volume.offset, letter, "known from MountedDevices alone");
    return true;
  }

  static PartitionPlan* partitionAt(DiskPlan& disk, std::uint64_t offset, bool mustBeFree) {
    for (auto& partition : disk.partitions) {
      if (partition.offset == offset && (!mustBeFree || partition.letter == 0)) return &partition;
    }
    return nullptr;
  }

  std::optional<TableEntry> extendedAround(std::size_t d, std::uint64_t offset) const {
    for (const auto& entry : sectors_[d]->used) {
      if (entry.isExtended() && offset > entry.offset() && offset < entry.offset() + entry.size()) return entry;
    }
    return std::nullopt;
  }

  void addBeyondTable(DiskPlan& disk, std::uint64_t offset, char letter, const std::string& origin) {
    PartitionPlan partition;
    partition.letter = letter;
    partition.offset = offset;
    partition.origin = origin;
    partition.namedByVolume = true;
    note(partition.notes, "Its size is not captured (it is in no partition table read): winsim's default size.");
    const auto after = std::find_if(disk.partitions.begin(), disk.partitions.end(),
                                    [&](const PartitionPlan& p) { return !p.inTable && p.offset > offset; });
    disk.partitions.insert(after, partition);
  }

  // -- root-X.txt, boot-X.txt, system32-X.txt

  void describeDrives() {
    for (auto& disk : plan_.disks) {
      for (auto& partition : disk.partitions) {
        if (partition.letter != 0) describeDrive(partition);
      }
    }
  }

  void describeDrive(PartitionPlan& partition) {
    const std::string x(1, partition.letter);
    const auto root = capture_.file("root-" + x + ".txt");
    const auto boot = capture_.file("boot-" + x + ".txt");
    const auto system32 = capture_.file("system32-" + x + ".txt");
    if (!root && !boot && !system32) {
      problem(partition.notes, "root-" + x + ".txt, boot-" + x + ".txt and system32-" + x + ".txt are missing: what " +
                                   x + ": holds is unknown");
      return;
    }
    describeWindows(partition, x, system32);
    describeBootManager(partition, x, root);
    describeBootFolder(partition, x, boot);
  }

  // Vista brought the boot-configuration editor, Windows 7 bcdboot.exe, Windows 8 the boot menu's
  // bootux.dll, Windows 10 the broadcast server bcastdvr.exe; XP has none of them.
  void describeWindows(PartitionPlan& partition, const std::string& x, const std::optional<std::string>& listing) {
    const std::string file = "system32-" + x + ".txt";
    if (!listing) return problem(partition.notes, file + " is missing: whether Windows is on " + x + ": is unknown");
    const auto lowered = loweredNames(*listing);
    if (!quillfex::windowsProbeIn(*listing)) {
      partition.windows = {"", file + " names nothing"};
    } else if (names(lowered, "bcdboot.exe") && names(lowered, "bcastdvr.exe")) {
      partition.windows = {"10", file + " names bcdboot.exe and bcastdvr.exe"};
    } else if (names(lowered, "bcdboot.exe") && names(lowered, "bootux.dll")) {
      partition.windows = {"8", file + " names bcdboot.exe and bootux.dll, no bcastdvr.exe"};
    } else if (names(lowered, "bcdboot.exe")) {
      partition.windows = {"7", file + " names bcdboot.exe, no bootux.dll"};
    } else if (names(lowered, "bcdedit.exe")) {
      partition.windows = {"Vista", file + " names bcdedit.exe, no bcdboot.exe"};
    } else {
      partition.windows = {"XP", file + " names no bcdedit.exe"};
    }
  }

  void describeBootManager(PartitionPlan& partition, const std::string& x, const std::optional<std::string>& listing) {
    const std::string file = "root-" + x + ".txt";
    if (!listing) return problem(partition.notes, file + " is missing: whether \\bootmgr is there is unknown");
    const bool there = quillfex::bootManagerFileIn(*listing);
    if (loweredNames(*listing).empty()) {
      partition.bootManager = {false, file + " names nothing: an empty drive, or one that did not read"};
      return;
    }
    partition.bootManager = {there, file + (there ? " names bootmgr" : " does not name bootmgr")};
  }

  void describeBootFolder(PartitionPlan& partition, const std::string& x, const std::optional<std::string>& listing) {
    const std::string file = "boot-" + x + ".txt";
    if (!listing) return problem(partition.notes, file + " is missing: whether \\Boot holds a store is unknown");
    const auto lowered = loweredNames(*listing);
    const bool store = names(lowered, "bcd");
    partition.bootFolder = {
        store, lowered.empty() ? file + " names nothing" : file + (store ? " names BCD" : " names no BCD")};
    std::string leftByRuns;
    for (const auto& name : lowered) {
      if (name == "org.bcd" || name == "org.lst" || name == "lid.bcd" || name == "bcd.bak" ||
          name.starts_with("org.bcd.bak")) {
        leftByRuns += (leftByRuns.empty() ? "" : ", ") + name;
      }
    }
    if (!leftByRuns.empty()) {
      note(partition.notes, x + ":\\Boot holds " + leftByRuns +
                                ", which Quillfex runs leave: what they hold is not captured, and the replica has "
                                "none of them ([[file]] tables can put them in).");
    }
  }

  // -- the system store, which listing.txt shows

  // winsim keeps the system store on the system drive when it has \Boot\BCD, else on the first partition
  // with \bootmgr (the one the firmware starts): the replica's must be where the listed boot manager is.
  void placeSystemStore() {
    PartitionPlan* systemDrive = plan_.systemDrive.value ? lettered((*plan_.systemDrive.value)[0]) : nullptr;
    const EntryPlan* manager = nullptr;
    for (const auto& entry : plan_.entries) {
      if (entry.entry.kind == EntryKind::bootManager && !manager) manager = &entry;
    }
    const std::string device = manager ? manager->entry.device : "";
    const auto drive = driveOfDevice(device);
    const bool onDrive = drive.has_value();
    PartitionPlan* listed = onDrive ? lettered(*drive) : nullptr;
    if (manager && !onDrive && !(systemDrive && holdsBootFolder(*systemDrive))) {
      listed = startedWithoutLetter(device);
    }
    PartitionPlan* kept = winsimsSystemStore(systemDrive);
    if (manager && listed != kept) {
      problem(plan_.notes, "the listed store's boot manager is on " + device + ", but the replica's system store is " +
                               (kept ? "on " + shown(*kept) : "nowhere") + " (where winsim keeps it: the system " +
                               "drive's \\Boot\\BCD, else the first partition with \\bootmgr)");
    }
    for (auto& disk : plan_.disks) {
      for (auto& partition : disk.partitions) {
        if (&partition == kept && &partition != systemDrive) {
          note(partition.notes,
               "The system store, which listing.txt shows, is here: the system drive has no "
               "\\Boot\\BCD. The entries below are its.");
        } else if (partition.letter != 0 && holdsBootFolder(partition) && &partition != kept) {
          const std::string x(1, partition.letter);
          note(partition.notes, "The store in " + x +
                                    ":\\Boot\\BCD is not captured: the replica's lists the system store's entries "
                                    "on " +
                                    x + ":.");
        }
      }
    }
  }

  // A boot manager on no drive with a letter is on the active partition of disk 0, if that has no letter: the
  // firmware starts it. nullptr when disk 0 has no such partition, or more than one.
  PartitionPlan* startedWithoutLetter(const std::string& device) {
    std::vector<PartitionPlan*> found;
    if (!plan_.disks.empty()) {
      for (auto& partition : plan_.disks[0].partitions) {
        if (partition.active && partition.letter == 0) found.push_back(&partition);
      }
    }
    if (found.size() != 1) return nullptr;
    std::erase_if(found[0]->notes, [](const std::string& note) { return note.starts_with("No drive letter"); });
    note(found[0]->notes, "No drive letter: whether Windows is on it, and what other files it holds, is not captured.");
    found[0]->bootManager = {
        true, "disk 0's active partition, and the listed boot manager is on " + device + ", on no drive with a letter"};
    return found[0];
  }

  // As winsim reads the description: boot_folder, when not written, follows bootmgr.
  static bool holdsBootFolder(const PartitionPlan& partition) {
    return partition.bootFolder.value.value_or(partition.bootManager.value.value_or(false));
  }

  PartitionPlan* winsimsSystemStore(PartitionPlan* systemDrive) {
    if (systemDrive && holdsBootFolder(*systemDrive)) return systemDrive;
    for (auto& disk : plan_.disks) {
      for (auto& partition : disk.partitions) {
        if (partition.bootManager.value == true) return &partition;
      }
    }
    return systemDrive;
  }

  PartitionPlan* lettered(char letter) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (auto& disk : plan_.disks) {
      for (auto& partition : disk.partitions) {
        if (partition.letter == upper && upper != 0) return &partition;
      }
    }
    return nullptr;
  }

  static std::string shown(const PartitionPlan& partition) {
    return partition.letter ? std::string(1, partition.letter) + ":"
                            : "the partition at byte " + std::to_string(partition.offset);
  }

  // -- the whole

  void checkDrivesExist() {
    const auto placed = [&](const std::optional<std::string>& path) {
      for (const auto& disk : plan_.disks) {
        for (const auto& partition : disk.partitions) {
          if (path && partition.letter == (*path)[0]) return true;
        }
      }
      return false;
    };
    if (plan_.systemDrive.value && !placed(plan_.systemDrive.value)) {
      problem(plan_.notes, "the system drive " + *plan_.systemDrive.value +
                               " is on no partition described: winsim cannot build this machine");
    }
    if (plan_.temp.value && !placed(plan_.temp.value)) {
      problem(plan_.notes, "the temporary folder " + *plan_.temp.value +
                               " is on no partition described: winsim cannot build this machine");
    }
  }

  const CaptureFolder& capture_;
  replica::Findings findings_;
  MachinePlan plan_;
  std::vector<std::optional<SectorZero>> sectors_;  // of disks 0 to the last read, by number
  std::map<char, RegistryValue> letters_;
  std::vector<RegistryValue> volumes_;
};

}  // namespace

void replica::Findings::problem(std::vector<std::string>& where, const std::string& text) const {
  where.push_back("Problem: " + text);
  std::string shown = text;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  problems_.push_back(shown);
}

ReplicaDescription describeCapture(const CaptureFolder& capture) {
  ReplicaDescription description;
  const MachinePlan plan = Deriver(capture, description.problems).derive();
  description.text = replica::describePlan(plan);
  return description;
}

}  // namespace winsim
