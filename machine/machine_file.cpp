#include "machine/machine_file.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace winsim {

std::size_t transcriptLineCount(const std::string& sandboxRoot) {
  std::ifstream transcript(layout::transcript(sandboxRoot));
  return static_cast<std::size_t>(std::count(std::istreambuf_iterator<char>(transcript), {}, '\n'));
}

namespace {

std::optional<std::string> fileText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::optional<Machine> loadDescription(const std::string& root, std::string& error) {
  auto machine = loadMachineFile(layout::description(root).string(), error);
  if (!machine) return std::nullopt;
  machine->faultCountsFile = layout::faultCounts(root).string();
  const std::filesystem::path wordsFile = layout::listingWords(root);
  std::error_code missing;
  if (!std::filesystem::exists(wordsFile, missing)) return machine;
  const auto words = fileText(wordsFile);
  std::string why = "cannot be read";
  if (words) machine->listingText = parseListingText(*words, why);
  if (!machine->listingText) {
    error = wordsFile.string() + ": " + why;
    return std::nullopt;
  }
  return machine;
}

}  // namespace

std::optional<Machine> loadMachineFile(const std::string& path, std::string& error) {
  const auto text = fileText(path);
  if (!text) {
    error = path + ": cannot be read";
    return std::nullopt;
  }
  return parseMachine(*text, path, error);
}

std::optional<Machine> loadSandboxMachineAt(const std::string& root, std::string& error) {
  if (root.empty()) return Machine{};
  std::error_code missing;
  if (!std::filesystem::is_regular_file(layout::description(root), missing)) return Machine{};
  return loadDescription(root, error);
}

std::optional<Machine> loadSandboxMachine(std::string& error) {
  const char* root = std::getenv(sandboxVariable);
  if (root == nullptr || *root == '\0') return Machine{};
  return loadDescription(root, error);
}

}  // namespace winsim
