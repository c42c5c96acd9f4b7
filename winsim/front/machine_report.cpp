#include "winsim/front/machine_report.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>

#include "machine/machine_file.h"
#include "machine/sandbox.h"
#include "machine/sandbox_layout.h"
#include "text/code_page_437.h"
#include "text/text.h"

namespace winsim {

namespace fs = std::filesystem;

namespace {

// Entry names of a folder, sorted as Windows lists them (without regard to case); none when it is missing.
std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return quillfex::lowerCase(a) < quillfex::lowerCase(b); });
  return names;
}

std::optional<BootStore> storeAt(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  std::string error;
  return parseStore(text.str(), error);
}

std::vector<std::string> linesOf(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

DriveReport driveReport(const Sandbox& sandbox, char letter) {
  const auto at = [&](std::vector<std::string> components) {
    return fs::path(sandbox.hostPath(quillfex::WindowsPath{letter, std::move(components)}));
  };
  return {letter, fs::is_regular_file(at({"bootmgr"})), storeAt(at({"Boot", "BCD"})), namesIn(at({"Boot"}))};
}

std::string signatureOf(const fs::path& disk) {
  std::ifstream in(disk, std::ios::binary);
  char bytes[4];
  if (!in.seekg(440) || !in.read(bytes, sizeof bytes)) return "unreadable";
  std::string hex;
  for (const char byte : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(byte));
    hex += digits;
  }
  return hex;
}

std::vector<DiskReport> diskReports(const Machine& machine, const fs::path& sandbox,
                                    const std::vector<DriveReport>& drives) {
  std::vector<DiskReport> disks;
  for (std::size_t d = 0; d < machine.disks.size(); ++d) {
    DiskReport disk{signatureOf(layout::disk(sandbox, d)), {}};
    for (const auto& partition : machine.disks[d].partitions) {
      const auto drive = std::find_if(drives.begin(), drives.end(),
                                      [&](const DriveReport& report) { return report.letter == partition.letter; });
      const bool bootManager = partition.letter && drive != drives.end() ? drive->bootManager : partition.bootManager;
      disk.partitions.push_back({partition.letter, partition.windows, bootManager});
    }
    disks.push_back(std::move(disk));
  }
  return disks;
}

// The length of the UTF-8 character at `at`, its code point in c; 0 when the bytes there are none (overlong,
// a surrogate, beyond U+10FFFF, cut short).
std::size_t utf8Length(std::string_view text, std::size_t at, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
  if (length == 0 || at + length > text.size()) return 0;
  c = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
  return overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF ? 0 : length;
}

// Enough for code page 437, whose characters are all below U+10000.
void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Names are UTF-8 on the host, but a program may write a name in its console's code page 437.
std::string utf8Text(std::string_view bytes) {
  std::string text;
  for (std::size_t at = 0; at < bytes.size();) {
    char32_t c = 0;
    if (const std::size_t length = utf8Length(bytes, at, c)) {
      text.append(bytes.substr(at, length));
      at += length;
    } else {
      appendUtf8(text, quillfex::unicodeOfCp437(static_cast<std::uint8_t>(bytes[at++])));
    }
  }
  return text;
}

std::string jsonString(const std::string& bytes) {
  std::string json = "\"";
  for (const char c : utf8Text(bytes)) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (code < 0x20 || code == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", code);
      json += escape;
    } else {
      json += c;
    }
  }
  return json + '"';
}

std::string jsonList(const std::vector<std::string>& items) {
  std::string json = "[";
  for (std::size_t i = 0; i < items.size(); ++i) json += (i ? "," : "") + jsonString(items[i]);
  return json + "]";
}

std::string jsonStore(const std::optional<BootStore>& store) {
  if (!store) return "null";
  std::string json = "[";
  for (std::size_t i = 0; i < store->entries.size(); ++i) {
    const BootEntry& entry = store->entries[i];
    json += std::string(i ? "," : "") + "{\"id\":" + jsonString(entry.id) + ",\"device\":" + jsonString(entry.device) +
            ",\"kind\":" + jsonString(kindName(entry.kind)) + ",\"description\":" + jsonString(entry.description) + "}";
  }
  return json + "]";
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : ", ") + utf8Text(name);
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
                     (manager ? ", its boot manager on " + utf8Text(manager->device) : ", no boot manager entry") +
                     ", boots:\n";
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < store.displayOrder.size(); ++i) {
    const BootEntry* entry = store.find(store.displayOrder[i]);
    rows.push_back({std::to_string(i + 1), entry ? utf8Text(entry->description) : utf8Text(store.displayOrder[i]),
                    entry ? startedSystem(report, *entry) : "nothing: no such entry"});
  }
  for (const auto& entry : store.entries) {
    const bool listed =
        std::find(store.displayOrder.begin(), store.displayOrder.end(), entry.id) != store.displayOrder.end();
    if (!listed && entry.kind != EntryKind::bootManager) {
      rows.push_back({"-", utf8Text(entry.description), startedSystem(report, entry) + ", not in the menu"});
    }
  }
  return text + (rows.empty() ? "  nothing\n" : tableText(rows));
}

}  // namespace

std::optional<MachineReport> readMachineReport(const fs::path& sandbox, std::string& error) {
  const auto machine = loadMachineFile(layout::description(sandbox).string(), error);
  if (!machine) return std::nullopt;
  const Sandbox paths(fs::absolute(sandbox).string());
  MachineReport report;
  report.systemDrive = machine->systemDrive;
  for (const auto& name : namesIn(sandbox / "drives")) {
    if (name.size() == 1) report.drives.push_back(driveReport(paths, name[0]));
  }
  for (const auto& drive : report.drives) {
    if (drive.letter == machine->systemDrive[0]) {
      report.systemStore = drive.store;
      report.bootFolder = drive.bootFiles;
    }
  }
  const auto temp = quillfex::parseFullPath(machine->temp);
  if (temp) report.temp = namesIn(paths.hostPath(*temp));
  report.transcript = linesOf(layout::transcript(sandbox));
  report.disks = diskReports(*machine, sandbox, report.drives);
  return report;
}

std::string reportJson(const MachineReport& report) {
  std::string drives;
  for (const auto& drive : report.drives) {
    drives += std::string(drives.empty() ? "" : ",") + jsonString(std::string(1, drive.letter)) +
              ":{\"bootmgr\":" + (drive.bootManager ? "true" : "false") + ",\"store\":" + jsonStore(drive.store) +
              ",\"bootFiles\":" + jsonList(drive.bootFiles) + "}";
  }
  return "{\"systemDrive\":" + jsonString(report.systemDrive) + ",\"systemStore\":" + jsonStore(report.systemStore) +
         ",\"drives\":{" + drives + "},\"bootFolder\":" + jsonList(report.bootFolder) +
         ",\"temp\":" + jsonList(report.temp) + ",\"transcript\":" + jsonList(report.transcript) + "}\n";
}

std::string reportText(const MachineReport& report, Detail detail) {
  std::string text = diskTable(report) + "\n";
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
    if (detail == Detail::verbose) text += "  " + utf8Text(line) + "\n";
  }
  return text;
}

}  // namespace winsim
