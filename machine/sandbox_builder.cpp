#include "machine/sandbox_builder.h"

#include <fstream>

#include "machine/file_attributes.h"
#include "machine/mounted_devices.h"
#include "machine/sandbox.h"
#include "machine/sandbox_layout.h"
#include "posix/code_page_text.h"
#include "text/windows_path.h"

namespace winsim {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t sectorBytes = 512;

// Names in \Windows\System32 by Windows version; the probe looks for those beginning with b. Vista has the
// boot-configuration editor but not yet bcdboot.exe, which came with Windows 7; Windows 8 brought the boot
// menu's bootux.dll, Windows 10 the broadcast server bcastdvr.exe: a capture tells them apart so.
const std::vector<std::string>& system32Names(const std::string& windows) {
  static const std::vector<std::string> xp = {"blastcln.exe", "bootcfg.exe",  "browser.dll",
                                              "hal.dll",      "ntoskrnl.exe", "winlogon.exe"};
  static const std::vector<std::string> vista = {"bcdedit.exe", "bootcfg.exe", "hal.dll", "ntoskrnl.exe",
                                                 "winload.exe"};
  static const std::vector<std::string> seven = {"bcdboot.exe", "bcdedit.exe",  "bootcfg.exe", "bootres.dll",
                                                 "hal.dll",     "ntoskrnl.exe", "winload.exe"};
  static const std::vector<std::string> eight = {"bcdboot.exe", "bcdedit.exe",  "bootcfg.exe",
                                                 "bootim.exe",  "bootres.dll",  "bootux.dll",
                                                 "hal.dll",     "ntoskrnl.exe", "winload.exe"};
  static const std::vector<std::string> ten = {"bcastdvr.exe", "bcdboot.exe", "bcdedit.exe", "bootcfg.exe",
                                               "bootim.exe",   "bootres.dll", "bootux.dll",  "hal.dll",
                                               "ntoskrnl.exe", "winload.exe"};
  if (windows == "XP") return xp;
  if (windows == "Vista") return vista;
  if (windows == "8") return eight;
  return windows == "10" ? ten : seven;
}

// Each Windows brings its own version of the boot manager: a partition that had one of its own before a run
// is told from one that got the system drive's.
std::string bootManagerOf(const Partition& partition) {
  return "winsim Windows boot manager" + (partition.windows.empty() ? "" : " of Windows " + partition.windows) + "\n";
}

class Builder {
 public:
  Builder(const Machine& machine, fs::path root) : machine_(machine), root_(std::move(root)), attributes_(root_) {}

  void writeFile(const fs::path& file, const std::string& content, const std::string& flags = "") {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw fs::filesystem_error("cannot write", file, std::make_error_code(std::errc::io_error));
    attributes_.set(file, flags);
  }

  void build(const std::string& descriptionText, const ListingText* words) {
    writeFile(layout::description(root_), descriptionText);
    writeFile(layout::transcript(root_), "");
    if (words) writeFile(layout::listingWords(root_), formatListingText(*words));
    for (std::size_t d = 0; d < machine_.disks.size(); ++d)
      writeFile(layout::disk(root_, d), sectorZero(machine_.disks[d]));
    for (const auto& place : machine_.places()) buildPartition(place);
    writeMountedDevices();
    fs::create_directories(hostFolder(machine_.temp));
    for (const auto& leftover : machine_.leftovers) {
      writeFile(hostFolder(leftover.path), leftover.content, leftover.attributes);
    }
    attributes_.save();
  }

 private:
  void buildPartition(const PartitionPlace& place) {
    const Partition& partition = machine_.partitionAt(place);
    const fs::path folder = layout::partition(root_, partition.letter, place.volume);
    fs::create_directories(folder);
    if (!partition.windows.empty()) {
      for (const auto& name : system32Names(partition.windows)) {
        writeFile(folder / "Windows" / "System32" / name, "winsim " + name + "\n");
      }
    }
    // Read-only, hidden and system, as Windows leaves its boot files.
    if (partition.windows == "XP") {
      for (const char* name : {"ntldr", "NTDETECT.COM"}) writeFile(folder / name, "winsim XP\n", "RHS");
      writeFile(folder / "boot.ini", "winsim XP\n", "HS");
    }
    if (partition.bootManager) writeFile(folder / "bootmgr", bootManagerOf(partition), "RHS");
    if (partition.bootFolder) buildBootFolder(folder, place);
  }

  void buildBootFolder(const fs::path& partition, const PartitionPlace& place) {
    const fs::path boot = partition / "Boot";
    writeFile(boot / "BCD", formatStore(storeFor(place)), "HS");
    // A registry hive's logs, which belong to it alone.
    for (const char* log : {"BCD.LOG", "BCD.LOG1", "BCD.LOG2"}) writeFile(boot / log, "winsim log of BCD\n", "HS");
    writeFile(boot / "bootstat.dat", std::string(64, '\0'), "S");
    writeFile(boot / "memtest.exe", "winsim memory tester\n");
    writeFile(boot / "Fonts" / "wgl4_boot.ttf", "winsim font\n");
    writeFile(boot / "en-US" / "bootmgr.exe.mui", "winsim messages\n");
  }

  // The system store's partition holds the described store; another with a boot manager of its own lists
  // only the systems on that partition.
  BootStore storeFor(const PartitionPlace& place) const {
    const auto systemStore = machine_.systemStorePlace();
    if (systemStore && systemStore->disk == place.disk && systemStore->partition == place.partition) {
      return machine_.store;
    }
    const std::string device = "partition=" + machine_.partitionName(place);
    BootStore own;
    own.entries.push_back({EntryKind::bootManager, "{bootmgr}", device, "Windows Boot Manager", ""});
    for (const auto& entry : machine_.store.entries) {
      if (entry.kind != EntryKind::bootManager && entry.device == device) own.entries.push_back(entry);
    }
    for (const auto& id : machine_.store.displayOrder) {
      if (own.find(id)) own.displayOrder.push_back(id);
    }
    return own;
  }

  // Sector 0: the disk signature at 440, a partition table of up to four primary partitions, 55 AA.
  std::string sectorZero(const Disk& disk) const {
    std::string sector(sectorBytes, '\0');
    std::copy(disk.signature.begin(), disk.signature.end(), sector.begin() + 440);
    for (std::size_t p = 0; p < disk.partitions.size() && p < 4; ++p) {
      const Partition& partition = disk.partitions[p];
      char* slot = sector.data() + 446 + 16 * p;
      slot[0] = partition.bootManager ? '\x80' : '\0';
      slot[4] = partition.windows.empty() || partition.letter ? '\x07' : '\x27';
      putLittleEndian32(slot + 8, partition.offset / sectorBytes);
      putLittleEndian32(slot + 12, partition.size / sectorBytes);
    }
    sector[510] = '\x55';
    sector[511] = '\xAA';
    return sector;
  }

  static void putLittleEndian32(char* at, std::uint64_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<char>(value >> (8 * i));
  }

  void writeMountedDevices() {
    std::string lines;
    for (const auto& value : machine_.mounted) lines += value.name + '\t' + hexBytes(value.bytes) + '\n';
    writeFile(layout::mountedDevices(root_), lines);
  }

  // ".." stops at the drive's root, so no description reaches outside its sandbox. Names files too.
  fs::path hostFolder(const std::string& windowsPath) const {
    const auto full = quillfex::parseFullPath(windowsPath);
    fs::path folder = layout::drive(root_, windowsPath[0]);
    for (const auto& component : full ? full->components : std::vector<std::string>{}) folder /= component;
    return folder;
  }

  const Machine& machine_;
  fs::path root_;
  FileAttributes attributes_;
};

}  // namespace

fs::path systemStoreFile(const fs::path& root, const Machine& machine) {
  const auto place = machine.systemStorePlace();
  fs::path file = place ? layout::partition(root, machine.partitionAt(*place).letter, place->volume)
                        : layout::drive(root, machine.systemDrive[0]);
  for (const char* name : {"Boot", "BCD"}) file /= matchingName(file.string(), name);
  return file;
}

bool buildSandbox(const Machine& machine, const std::string& descriptionText, const fs::path& folder,
                  std::string& error) {
  std::error_code failure;
  if (fs::exists(folder, failure) && !fs::is_empty(folder, failure)) {
    error = folder.string() + " is not empty: winsim make builds only into a new or empty folder";
    return false;
  }
  std::optional<ListingText> words;
  if (machine.listing) {
    std::string failedKey;
    words = encodeListingWords(*machine.listing, quillfex::posix::utf8ToCodePage, failedKey);
    if (!words) {
      error = "the listing's " + failedKey + " has no place in code page " + std::to_string(machine.listing->codePage);
      return false;
    }
  }
  try {
    fs::create_directories(folder);
    Builder(machine, fs::absolute(folder)).build(descriptionText, words ? &*words : nullptr);
  } catch (const fs::filesystem_error& cannot) {
    error = cannot.what();
    return false;
  }
  return true;
}

}  // namespace winsim
