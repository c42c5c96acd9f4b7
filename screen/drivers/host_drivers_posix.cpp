// The display drivers of POSIX builds.

#include "screen/drivers/driver.h"

namespace quillfex {

std::span<const DriverEntry> hostDrivers() { return {}; }

}  // namespace quillfex
