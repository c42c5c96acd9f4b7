#pragma once
// A winsim sandbox in a new temporary folder, for tests and benchmarks.

#include <filesystem>
#include <optional>
#include <string>

#include "machine/machine.h"

namespace quillfex::testing {

struct TemporaryMachine {
  std::filesystem::path root;  // empty when it could not be made
  std::optional<winsim::Machine> machine;
  std::string error;
};

// Builds the description's sandbox in a new folder under the temporary directory (prefix names it).
TemporaryMachine makeTemporaryMachine(const std::string& description, const std::string& prefix);

}  // namespace quillfex::testing
