#include "posix/system_failure.h"

#include <cerrno>
#include <cstring>

namespace quillfex::posix {

std::string SystemFailure::text() const { return call + ": " + std::strerror(error); }

SystemFailure failureOf(std::string call) { return SystemFailure{std::move(call), errno}; }

}  // namespace quillfex::posix
