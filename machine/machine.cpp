#include "machine/machine.h"

#include "machine/device_names.h"

namespace winsim {

namespace {

// Every partition's place in disk order, volume numbers counted along.
template <typename Visit>
void forEachPlace(const std::vector<Disk>& disks, Visit visit) {
  int volume = 0;
  for (std::size_t d = 0; d < disks.size(); ++d) {
    for (std::size_t p = 0; p < disks[d].partitions.size(); ++p) {
      if (visit(disks[d].partitions[p], PartitionPlace{d, p, ++volume})) return;
    }
  }
}

}  // namespace

std::optional<PartitionPlace> Machine::placeOf(char letter) const {
  std::optional<PartitionPlace> found;
  forEachPlace(disks, [&](const Partition& partition, const PartitionPlace& place) {
    if (letter != 0 && partition.letter == letter) found = place;
    return found.has_value();
  });
  return found;
}

std::optional<PartitionPlace> Machine::systemStorePlace() const {
  const auto systemDrivePlace = placeOf(systemDrive.empty() ? 0 : systemDrive[0]);
  if (systemDrivePlace && partitionAt(*systemDrivePlace).bootFolder) return systemDrivePlace;
  std::optional<PartitionPlace> started;
  forEachPlace(disks, [&](const Partition& partition, const PartitionPlace& place) {
    if (partition.bootManager) started = place;
    return started.has_value();
  });
  return started ? started : systemDrivePlace;
}

std::string Machine::partitionName(const PartitionPlace& place) const {
  const char letter = partitionAt(place).letter;
  if (letter != 0) return std::string(1, letter) + ":";
  return volumeDeviceName(place.volume);
}

}  // namespace winsim
