#include <algorithm>
#include <cctype>

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

// What an entry's device holds that the boot manager would start; the store names it by drive letter.
std::string startedSystem(const MachineReport& report, const BootEntry& entry) {
  const std::string prefix = "partition=";
  if (entry.device.size() != prefix.size() + 2 || entry.device.rfind(prefix, 0) != 0 || entry.device.back() != ':') {
    return "a partition without a drive letter";
  }
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(entry.device[prefix.size()])));
  const std::string drive = std::string(1, letter) + ":";
  const PartitionReport* partition = nullptr;
  for (const auto& disk : report.disks) {
    for (const auto& candidate : disk.partitions) {
      if (candidate.letter == letter) partition = &candidate;
    }
  }
  if (!partition) return "nothing: there is no drive " + drive;
  if (entry.kind == EntryKind::tool) return "a tool on " + drive;
  if (entry.kind == EntryKind::legacy) return "the earlier Windows (ntldr) on " + drive;
  if (partition->windows.empty()) return "nothing: no Windows on " + drive;
  return windowsName(partition->windows) + " on " + drive;
}

// Its menu in display order, then the entries that are in no menu.
std::string storeText(const MachineReport& report, const DriveReport& drive) {
  const std::string name = std::string(1, drive.letter) + ":\\Boot\\BCD";
  if (!drive.store) return name + " does not read as a store\n";
  const BootStore& store = *drive.store;
  const BootEntry* manager = nullptr;
  for (const auto& entry : store.entries) {
    if (entry.kind == EntryKind::bootManager) manager = &entry;
  }
  std::string text = name + (drive.letter == report.systemDrive[0] ? " (the system drive's store)" : "") +
                     (drive.bootManager ? "" : ", no \\bootmgr beside it") +
                     (manager ? ", its boot manager on " + utf8OrCp437(manager->device) : ", no boot manager entry") +
                     ", boots:\n";
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

}  // namespace

std::string reportText(const MachineReport& report, Detail detail) {
  std::string text = diskTable(report) + "\n" + listingText(report.listing) + "\n";
  for (const auto& drive : report.drives) {
    const bool hasStoreFile = std::any_of(drive.bootFiles.begin(), drive.bootFiles.end(),
                                          [](const std::string& name) { return quillfex::lowerCase(name) == "bcd"; });
    if (hasStoreFile) {
      text += storeText(report, drive) + "\n";
    } else if (drive.letter == report.systemDrive[0]) {
      text += std::string(1, drive.letter) + ":\\Boot\\BCD (the system drive's store): none\n\n";
    }
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
