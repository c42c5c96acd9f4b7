#pragma once
// The sample machine descriptions shipped under winsim/machines.

#include <filesystem>
#include <string>
#include <vector>

namespace quillfex::testing {

// A file's bytes, whole; "" when it does not read.
std::string fileText(const std::filesystem::path& file);

// The text of a description file, by its name ("xp-and-7.toml").
std::string sampleMachine(const std::string& name);

// The names of all of them, sorted.
std::vector<std::string> sampleMachineNames();

}  // namespace quillfex::testing
