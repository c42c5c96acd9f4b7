#pragma once
// How often each fault of a machine has matched a command so far, kept in a file of the sandbox so that a
// fault can let the first commands through and hit a later one.

#include <cstddef>
#include <string>

namespace winsim {

// Adds one match of fault `index` and returns its count so far; 1 when the file cannot be kept.
int countFaultMatch(const std::string& countsFile, std::size_t index);

}  // namespace winsim
