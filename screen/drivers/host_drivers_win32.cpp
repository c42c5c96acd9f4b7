// The display drivers of Windows builds.

#include "screen/driver.h"
#include "screen/drivers/gdi_driver.h"

namespace quillfex {
namespace {

constexpr DriverEntry windowsDrivers[] = {{"GDI", makeGdiDriver, true}};

}  // namespace

std::span<const DriverEntry> hostDrivers() { return windowsDrivers; }

}  // namespace quillfex
