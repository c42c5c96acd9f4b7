#pragma once
// The MountedDevices values of a machine: derived from its disks as Windows records MBR volumes (the
// disk's 4-byte signature, then the partition's 8-byte offset, little-endian), one \DosDevices\X: value
// per drive letter and one \??\Volume{...} value per partition.

#include <optional>
#include <string>
#include <vector>

#include "machine/machine.h"

namespace winsim {

std::vector<MountedValue> deriveMountedValues(const std::vector<Disk>& disks);

// The values with `extra` laid over them: a value of the same name is replaced in place, others are added.
std::vector<MountedValue> mergeMounted(std::vector<MountedValue> values, const std::vector<MountedValue>& extra);

// "12,ab,0c,ff" (also upper case, also "" for no bytes); nullopt when malformed.
std::optional<std::vector<std::uint8_t>> parseHexBytes(const std::string& text);

// Bytes as lower-case two-digit hexadecimal numbers joined by commas.
std::string hexBytes(const std::vector<std::uint8_t>& bytes);

}  // namespace winsim
