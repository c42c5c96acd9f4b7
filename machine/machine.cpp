#include "machine/machine.h"

#include "machine/device_names.h"

namespace winsim {

std::vector<PartitionPlace> Machine::places() const {
  std::vector<PartitionPlace> all;
  int volume = 0;
  for (std::size_t d = 0; d < disks.size(); ++d) {
    for (std::size_t p = 0; p < disks[d].partitions.size(); ++p) all.push_back({d, p, ++volume});
  }
  return all;
}

std::optional<PartitionPlace> Machine::placeOf(char letter) const {
  for (const auto& place : places()) {
    if (letter != 0 && partitionAt(place).letter == letter) return place;
  }
  return std::nullopt;
}

std::optional<PartitionPlace> Machine::systemStorePlace() const {
  const auto systemDrivePlace = placeOf(systemDrive.empty() ? 0 : systemDrive[0]);
  if (systemDrivePlace && partitionAt(*systemDrivePlace).bootFolder) return systemDrivePlace;
  for (const auto& place : places()) {
    if (partitionAt(place).bootManager) return place;
  }
  return systemDrivePlace;
}

std::string Machine::partitionName(const PartitionPlace& place) const {
  const char letter = partitionAt(place).letter;
  if (letter != 0) return std::string(1, letter) + ":";
  return volumeDeviceName(place.volume);
}

}  // namespace winsim
