#pragma once
// What the sandbox's machine.toml says about the machine beyond its files: whether the program runs with
// administrator rights, and which disks are made unreadable by a fault.

#include <string>
#include <vector>

namespace quillfex {

struct MachineSettings {
  bool elevated = true;
  std::vector<std::string> unreadableDisks;  // disk numbers as written; "" stands for every disk
};

// A sandbox without machine.toml, or with one that does not parse, is an elevated machine without faults.
MachineSettings readMachineSettings(const std::string& sandboxRoot);

}  // namespace quillfex
