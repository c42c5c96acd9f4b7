#include "sample_machines.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quillfex::testing {

std::string fileText(const std::filesystem::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

std::string sampleMachine(const std::string& name) { return fileText(std::filesystem::path(WINSIM_MACHINES) / name); }

std::vector<std::string> sampleMachineNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(WINSIM_MACHINES)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quillfex::testing
