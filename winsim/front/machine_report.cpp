#include "winsim/front/machine_report.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "machine/machine_file.h"
#include "machine/sandbox.h"
#include "machine/sandbox_builder.h"
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

std::optional<std::string> bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::optional<BootStore> storeAt(const fs::path& file) {
  const auto text = bytesOf(file);
  if (!text) return std::nullopt;
  std::string error;
  return parseStore(*text, error);
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
  return {letter, fs::is_regular_file(at({"bootmgr"})), bytesOf(at({"bootmgr"})).value_or(""),
          storeAt(at({"Boot", "BCD"})), namesIn(at({"Boot"}))};
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

std::vector<DiskReport> diskReports(const Machine& machine, const fs::path& sandbox) {
  std::vector<DiskReport> disks;
  for (std::size_t d = 0; d < machine.disks.size(); ++d) disks.push_back({signatureOf(layout::disk(sandbox, d)), {}});
  for (const auto& place : machine.places()) {
    const Partition& partition = machine.partitionAt(place);
    const fs::path folder = layout::partition(sandbox, partition.letter, place.volume);
    const std::string folderName = folder.filename().string();
    const fs::path found = folder.parent_path() / matchingName(folder.parent_path().string(), folderName);
    const bool bootManager = fs::is_regular_file(found / matchingName(found.string(), "bootmgr"));
    disks[place.disk].partitions.push_back({partition.letter, place.volume, partition.windows, bootManager});
  }
  return disks;
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
    if (drive.letter == machine->systemDrive[0]) report.bootFolder = drive.bootFiles;
  }
  const auto systemStore = machine->systemStorePlace();
  report.systemStoreOn = systemStore ? machine->partitionName(*systemStore) : machine->systemDrive;
  const fs::path systemStoreFileNow = systemStoreFile(sandbox, *machine);
  report.systemStoreThere = fs::is_regular_file(systemStoreFileNow);
  report.systemStore = storeAt(systemStoreFileNow);
  const auto temp = quillfex::parseFullPath(machine->temp);
  if (temp) report.temp = namesIn(paths.hostPath(*temp));
  report.transcript = linesOf(layout::transcript(sandbox));
  report.disks = diskReports(*machine, sandbox);
  report.listing = machine->listing;
  return report;
}

}  // namespace winsim
