// The display driver of Windows builds: the program's window is its only screen, and nothing outside the
// program chooses another.

#include "screen/driver.h"
#include "screen/drivers/gdi_driver.h"

namespace quillfex {
namespace {

constexpr DriverEntry windowsDrivers[] = {{"GDI", makeGdiDriver, true}};

}  // namespace

std::span<const DriverEntry> hostDrivers() { return windowsDrivers; }

std::vector<std::string_view> driverOrder(std::string_view requested) { return driversServing(requested); }

void endIfNoDriverStarted() {}

}  // namespace quillfex
