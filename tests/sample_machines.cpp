#include "sample_machines.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quillfex::testing {

std::string sampleMachine(const std::string& name) {
  std::ifstream in(std::filesystem::path(WINSIM_MACHINES) / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> sampleMachineNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(WINSIM_MACHINES)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quillfex::testing
