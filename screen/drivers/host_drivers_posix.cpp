// The display drivers of POSIX builds.

#include <array>

#include "screen/driver.h"
#include "screen/drivers/sdl_driver.h"
#include "screen/drivers/tty_driver.h"

namespace quillfex {

std::span<const DriverEntry> hostDrivers() {
  // A window where a display is there, else the terminal; each start that fails hands over to the next.
  static const std::array drivers = {
      DriverEntry{"sdl", makeSdlDriver, true},
      DriverEntry{"tty", makeTtyDriver, true},
  };
  return drivers;
}

}  // namespace quillfex
