#include "machine/mounted_devices.h"

#include <algorithm>
#include <cstdio>

namespace winsim {

namespace {

std::vector<std::uint8_t> volumeBytes(const Disk& disk, const Partition& partition) {
  std::vector<std::uint8_t> bytes(disk.signature.begin(), disk.signature.end());
  for (int shift = 0; shift < 64; shift += 8) bytes.push_back(static_cast<std::uint8_t>(partition.offset >> shift));
  return bytes;
}

// A fixed GUID per partition, so the same description always gives the same registry.
std::string volumeName(std::size_t disk, std::size_t partition) {
  char name[128];
  std::snprintf(name, sizeof name, "\\??\\Volume{5157cc0e-%04zx-11e0-a%03zx-806e6f6e6963}", disk, partition);
  return name;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::vector<MountedValue> deriveMountedValues(const std::vector<Disk>& disks) {
  std::vector<MountedValue> letters, volumes;
  for (std::size_t d = 0; d < disks.size(); ++d) {
    for (std::size_t p = 0; p < disks[d].partitions.size(); ++p) {
      const Partition& partition = disks[d].partitions[p];
      if (partition.letter != 0) {
        letters.push_back({std::string("\\DosDevices\\") + partition.letter + ":", volumeBytes(disks[d], partition)});
      }
      volumes.push_back({volumeName(d, p), volumeBytes(disks[d], partition)});
    }
  }
  letters.insert(letters.end(), volumes.begin(), volumes.end());
  return letters;
}

std::vector<MountedValue> mergeMounted(std::vector<MountedValue> values, const std::vector<MountedValue>& extra) {
  for (const auto& value : extra) {
    auto same = std::find_if(values.begin(), values.end(), [&](const MountedValue& v) { return v.name == value.name; });
    if (same != values.end()) {
      *same = value;
    } else {
      values.push_back(value);
    }
  }
  return values;
}

std::optional<std::vector<std::uint8_t>> parseHexBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  if (text.empty()) return bytes;
  for (std::size_t at = 0;; at += 3) {
    if (at + 2 > text.size()) return std::nullopt;
    const int high = hexValue(text[at]), low = hexValue(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    if (at + 2 == text.size()) return bytes;
    if (text[at + 2] != ',') return std::nullopt;
  }
}

std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
    if (i > 0) text += ',';
    text += pair;
  }
  return text;
}

}  // namespace winsim
