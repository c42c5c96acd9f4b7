#include <algorithm>
#include <cctype>

#include "machine/device_names.h"
#include "text/text.h"
#include "text/utf8.h"
#include "winsim/front/machine_report.h"

namespace winsim {

namespace {

using quillfex::utf8OrCp437;

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : ", ") + utf8OrCp437(name);
  return text.empty() ? "-" : text;
}

// Rows of cells, each column as wide as its widest cell; widths count characters, not bytes.
std::string tableText(const std::vector<std::vector<std::string>>& rows) {
  const auto width = [](const std::string& cell) {
    return std::count_if(cell.begin(), cell.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
  };
  std::vector<long> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], width(row[c]));
  }
  std::string text;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 < row.size()) line += std::string(widths[c] - width(row[c]) + 2, ' ');
    }
    text += "  " + line + "\n";
  }
  return text;
}

std::string windowsName(const std::string& version) { return version.empty() ? "-" : "Windows " + version; }

std::string diskTable(const MachineReport& report) {
  std::vector<std::vector<std::string>> rows = {{"disk", "signature", "drive", "Windows", "bootmgr"}};
  for (std::size_t d = 0; d < report.disks.size(); ++d) {
    const DiskReport& disk = report.disks[d];
    if (disk.partitions.empty()) rows.push_back({std::to_string(d), disk.signature, "-", "-", "-"});
    for (std::size_t p = 0; p < disk.partitions.size(); ++p) {
      const PartitionReport& partition = disk.partitions[p];
      rows.push_back({p == 0 ? std::to_string(d) : "", p == 0 ? disk.signature : "",
                      partition.letter ? std::string(1, partition.letter) + ":" : "-", windowsName(partition.windows),
                      partition.bootManager ? "yes" : "-"});
    }
  }
  return "Disks (system drive " + report.systemDrive + "):\n" + tableText(rows);
}

std::string listingText(const std::optional<ListingWords>& listing) {
  if (!listing) return "Listing: English, code page 437\n";
  std::vector<std::vector<std::string>> rows = {{"key", "\"" + listing->identifier + "\""}};
  const char* const names[] = {"boot manager", "boot loader", "legacy loader", "memory tester"};
  for (const EntryKind kind : allKinds) {
    rows.push_back({names[static_cast<std::size_t>(kind)], "\"" + listing->title(kind) + "\""});
  }
  const std::string language = listing->language.empty() ? "words of its own" : listing->language;
  return "Listing: " + language + ", code page " + std::to_string(listing->codePage) + ":\n" + tableText(rows);
}

// The partition a store names ("partition=D:", "partition=\Device\HarddiskVolume1"); null when the
// machine has none of that name.
const PartitionReport* partitionNamed(const MachineReport& report, const std::string& device) {
  const std::string prefix = "partition=";
  if (!device.starts_with(prefix)) return nullptr;
  const auto drive = driveOfDevice(device);
  const auto volume = volumeNumberOf(device.substr(prefix.size()));
  for (const auto& disk : report.disks) {
    for (const auto& partition : disk.partitions) {
      if (drive && partition.letter != 0 &&
          std::tolower(static_cast<unsigned char>(partition.letter)) ==
              std::tolower(static_cast<unsigned char>(*drive)))
        return &partition;
      if (volume && partition.volume == *volume) return &partition;
    }
  }
  return nullptr;
}

std::string partitionShown(const PartitionReport& partition) {
  if (partition.letter != 0) return std::string(1, partition.letter) + ":";
  return volumeDeviceName(partition.volume) + " (no drive letter)";
}

// What an entry's device holds that the boot manager would start.
std::string startedSystem(const MachineReport& report, const BootEntry& entry) {
  const PartitionReport* partition = partitionNamed(report, entry.device);
  if (!partition) return "nothing: there is no " + utf8OrCp437(entry.device);
  const std::string on = partitionShown(*partition);
  if (entry.kind == EntryKind::tool) return "a tool on " + on;
  if (entry.kind == EntryKind::legacy) return "the earlier Windows (ntldr) on " + on;
  if (partition->windows.empty()) return "nothing: no Windows on " + on;
  return windowsName(partition->windows) + " on " + on;
}

// Whether a \Boot folder's names hold a store file, as the editor would find it: in any case.
bool holdsStoreFile(const std::vector<std::string>& bootFiles) {
  return std::any_of(bootFiles.begin(), bootFiles.end(),
                     [](const std::string& file) { return quillfex::lowerCase(file) == "bcd"; });
}

// Where the system store is, when it is not on the system drive.
std::string systemStorePlace(const MachineReport& report) {
  if (report.systemStoreOn == report.systemDrive) return "the system store";
  const PartitionReport* partition = partitionNamed(report, "partition=" + report.systemStoreOn);
  const std::string unlettered = partition && partition->letter == 0 ? " (no drive letter)" : "";
  const std::string noDriveStore =
      holdsStoreFile(report.bootFolder) ? "" : "; the system drive " + report.systemDrive + " has no \\Boot\\BCD";
  return "the system store, on the partition the firmware starts" + unlettered + noDriveStore;
}

// A store's menu in display order, then the entries that are in no menu. name: "C:\Boot\BCD".
std::string storeText(const MachineReport& report, const std::string& name, const std::optional<BootStore>& read,
                      bool bootManagerBeside, const std::string& role) {
  if (!read) return name + (role.empty() ? "" : " (" + role + ")") + " does not read as a store\n";
  const BootStore& store = *read;
  const BootEntry* manager = nullptr;
  for (const auto& entry : store.entries) {
    if (entry.kind == EntryKind::bootManager) manager = &entry;
  }
  std::string text =
      name + (role.empty() ? "" : " (" + role + ")") + (bootManagerBeside ? "" : ", no \\bootmgr beside it") +
      (manager ? ", its boot manager on " + utf8OrCp437(manager->device) : ", no boot manager entry") + ", boots:\n";
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < store.displayOrder.size(); ++i) {
    const BootEntry* entry = store.find(store.displayOrder[i]);
    rows.push_back({std::to_string(i + 1), entry ? utf8OrCp437(entry->description) : utf8OrCp437(store.displayOrder[i]),
                    entry ? startedSystem(report, *entry) : "nothing: no such entry"});
  }
  for (const auto& entry : store.entries) {
    const bool listed =
        std::find(store.displayOrder.begin(), store.displayOrder.end(), entry.id) != store.displayOrder.end();
    if (!listed && entry.kind != EntryKind::bootManager) {
      rows.push_back({"-", utf8OrCp437(entry.description), startedSystem(report, entry) + ", not in the menu"});
    }
  }
  return text + (rows.empty() ? "  nothing\n" : tableText(rows));
}

// A \Boot\BCD as a drive or the system store shows it: "none" only for the system store, which is always said.
std::string storeFileText(const MachineReport& report, const std::string& name, bool there,
                          const std::optional<BootStore>& read, bool bootManagerBeside, const std::string& role) {
  if (there) return storeText(report, name, read, bootManagerBeside, role) + "\n";
  return role.empty() ? "" : name + " (" + role + "): none\n\n";
}

// The system store on a partition without a drive letter, which no drive's report holds.
std::string unletteredSystemStoreText(const MachineReport& report) {
  const PartitionReport* partition = partitionNamed(report, "partition=" + report.systemStoreOn);
  if (!partition || partition->letter != 0) return "";
  return storeFileText(report, report.systemStoreOn + "\\Boot\\BCD", report.systemStoreThere, report.systemStore,
                       partition->bootManager, systemStorePlace(report));
}

}  // namespace

std::string reportText(const MachineReport& report, Detail detail) {
  std::string text = diskTable(report) + "\n" + listingText(report.listing) + "\n" + unletteredSystemStoreText(report);
  for (const auto& drive : report.drives) {
    const std::string name = std::string(1, drive.letter) + ":";
    const std::string role = name == report.systemStoreOn ? systemStorePlace(report) : "";
    text += storeFileText(report, name + "\\Boot\\BCD", holdsStoreFile(drive.bootFiles), drive.store, drive.bootManager,
                          role);
  }
  for (const auto& drive : report.drives) {
    if (detail == Detail::verbose && !drive.bootFiles.empty()) {
      text += std::string("Files in ") + drive.letter + ":\\Boot: " + joined(drive.bootFiles) + "\n";
    }
  }
  text += "Temporary folder: " + joined(report.temp) + "\n";
  text += "Command lines run: " + std::to_string(report.transcript.size()) + "\n";
  for (const auto& line : report.transcript) {
    if (detail == Detail::verbose) text += "  " + utf8OrCp437(line) + "\n";
  }
  return text;
}

}  // namespace winsim
