#pragma once
// The machine description of the sandbox a winsim tool runs in.

#include <optional>
#include <string>

#include "machine/machine.h"
#include "machine/sandbox_layout.h"

namespace winsim {

// How many command lines the sandbox's transcript holds.
std::size_t transcriptLineCount(const std::string& sandboxRoot);

// Reads and checks a description file; nullopt with the reason in error.
std::optional<Machine> loadMachineFile(const std::string& path, std::string& error);

// The machine of the sandbox at root, counting fault matches in it, with the listing's words the sandbox holds.
// No sandbox (""), or one put together by hand without a description: a machine without faults. nullopt, with
// the reason in error, for a description or words that cannot be read or checked, which makes every command a
// fault could hit fail.
std::optional<Machine> loadSandboxMachineAt(const std::string& root, std::string& error);

// The machine of the sandbox named by QUILLFEX_SIM_ROOT (its machine.toml); a default machine when the
// variable is not set, as on a real Windows machine.
std::optional<Machine> loadSandboxMachine(std::string& error);

}  // namespace winsim
