// The display drivers of Windows builds.

#include "screen/drivers/driver.h"

namespace quillfex {

std::span<const DriverEntry> hostDrivers() { return {}; }

}  // namespace quillfex
