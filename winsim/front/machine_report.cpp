#include "winsim/front/machine_report.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "machine/machine_file.h"
#include "machine/sandbox.h"
#include "machine/sandbox_layout.h"
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

// JSON text of a byte string; bytes above 127 are taken as Latin-1, so any name can be shown.
std::string jsonString(const std::string& text) {
  std::string json = "\"";
  for (const unsigned char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      json += escape;
    } else {
      json += static_cast<char>(c);
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

std::string storeText(const std::optional<BootStore>& store) {
  if (!store) return "    (no store)\n";
  std::string text;
  for (const auto& entry : store->entries) {
    const bool listed =
        std::find(store->displayOrder.begin(), store->displayOrder.end(), entry.id) != store->displayOrder.end();
    text += "    " + entry.id + "  " + entry.device + "  " + entry.description +
            (listed || entry.kind == EntryKind::bootManager ? "" : "  (not in the menu)") + "\n";
  }
  return text;
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
  return text.empty() ? "-" : text;
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

std::string reportText(const MachineReport& report) {
  std::string text = "System drive " + report.systemDrive + ", its boot configuration store:\n";
  text += storeText(report.systemStore);
  for (const auto& drive : report.drives) {
    text += std::string("Drive ") + drive.letter + ":" + (drive.bootManager ? "  bootmgr" : "") +
            "  \\Boot: " + joined(drive.bootFiles) + "\n";
    if (drive.store && drive.letter != report.systemDrive[0]) text += storeText(drive.store);
  }
  text += "Temporary folder: " + joined(report.temp) + "\n";
  text += "Commands run: " + std::to_string(report.transcript.size()) + "\n";
  for (const auto& line : report.transcript) text += "    " + line + "\n";
  return text;
}

}  // namespace winsim
