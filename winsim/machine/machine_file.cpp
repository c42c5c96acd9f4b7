#include "winsim/machine/machine_file.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "winsim/machine/sandbox_layout.h"

namespace winsim {

std::size_t transcriptLineCount(const std::string& sandboxRoot) {
  std::ifstream transcript(layout::transcript(sandboxRoot));
  return static_cast<std::size_t>(std::count(std::istreambuf_iterator<char>(transcript), {}, '\n'));
}

std::optional<Machine> loadMachineFile(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot be read";
    return std::nullopt;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return parseMachine(text.str(), path, error);
}

std::optional<Machine> loadSandboxMachine(std::string& error) {
  const char* root = std::getenv(sandboxVariable);
  if (root == nullptr || *root == '\0') return Machine{};
  auto machine = loadMachineFile(std::string(root) + "/machine.toml", error);
  if (machine) machine->faultCountsFile = std::string(root) + "/fault-counts";
  return machine;
}

}  // namespace winsim
