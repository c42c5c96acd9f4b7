#pragma once
// The machine description of the sandbox a winsim tool runs in.

#include <optional>
#include <string>

#include "winsim/machine/machine.h"

namespace winsim {

inline constexpr const char* sandboxVariable = "QUILLFEX_SIM_ROOT";
// Set by `winsim run --kill-after N`: the transcript's line count at which winsim-cmd, once that line has
// run, ends the program that ran it, as a power loss would.
inline constexpr const char* killAtLineVariable = "WINSIM_KILL_AT_LINE";

// How many command lines the sandbox's transcript holds.
std::size_t transcriptLineCount(const std::string& sandboxRoot);

// Reads and checks a description file; nullopt with the reason in error.
std::optional<Machine> loadMachineFile(const std::string& path, std::string& error);

// The machine of the sandbox named by QUILLFEX_SIM_ROOT (its machine.toml); a default machine when the
// variable is not set, as on a real Windows machine.
std::optional<Machine> loadSandboxMachine(std::string& error);

}  // namespace winsim
