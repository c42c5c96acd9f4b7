#include "temporary_machine.h"

#include <cstdlib>

#include "machine/sandbox_builder.h"

namespace quillfex::testing {

TemporaryMachine makeTemporaryMachine(const std::string& description, const std::string& prefix) {
  TemporaryMachine made;
  std::string folder = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (::mkdtemp(folder.data()) == nullptr) {
    made.error = "no temporary folder";
    return made;
  }
  made.machine = winsim::parseMachine(description, "machine.toml", made.error);
  if (made.machine && winsim::buildSandbox(*made.machine, description, folder, made.error)) made.root = folder;
  if (made.root.empty()) std::filesystem::remove_all(folder);
  return made;
}

}  // namespace quillfex::testing
