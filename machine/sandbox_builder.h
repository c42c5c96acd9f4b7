#pragma once
// Lays out a sandbox folder for a machine: drive folders (and volume folders for partitions without a
// letter) with their Windows and boot files, disk files, the MountedDevices values, the temporary folder,
// the description itself, and the listing's words in their code page when it has a [listing].

#include <filesystem>
#include <string>

#include "machine/machine.h"

namespace winsim {

// Builds the sandbox in folder, which must be missing or empty so that nothing of the user's is
// overwritten. descriptionText is kept as machine.toml. false, with the reason in error, when it cannot.
bool buildSandbox(const Machine& machine, const std::string& descriptionText, const std::filesystem::path& folder,
                  std::string& error);

// The system store's file in the sandbox at root (\Boot\BCD of the machine's systemStorePlace, its names
// matched without regard to case); the system drive's for a machine without partitions.
std::filesystem::path systemStoreFile(const std::filesystem::path& root, const Machine& machine);

}  // namespace winsim
