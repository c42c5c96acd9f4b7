// The display drivers of POSIX builds, and QUILLFEX_SCREEN, which names the one to use: without it the
// program's request is served by a window, else the terminal. The headless driver runs only when named.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "screen/driver.h"
#include "screen/drivers/headless.h"
#include "screen/drivers/sdl_driver.h"
#include "screen/drivers/tty_driver.h"

namespace quillfex {
namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string chosenDriver() { return environmentValue("QUILLFEX_SCREEN"); }

// winsim run hands the script over already checked; a bad one set by hand would leave the program waiting for
// keys that never come.
std::unique_ptr<ScreenDriver> makeHeadlessFromEnvironment() {
  std::string error;
  auto script = parseKeyScript(environmentValue("QUILLFEX_KEYS"), error);
  if (!script) {
    std::fprintf(stderr, "QUILLFEX_KEYS: %s\n", error.c_str());
    return nullptr;
  }
  return makeHeadlessDriver(
      {std::move(*script), environmentValue("QUILLFEX_SNAPSHOTS"), environmentValue("QUILLFEX_SNAP")});
}

}  // namespace

std::span<const DriverEntry> hostDrivers() {
  // A window where a display is there, else the terminal; each start that fails hands over to the next.
  static const std::array drivers = {
      DriverEntry{"sdl", makeSdlDriver, true},
      DriverEntry{"tty", makeTtyDriver, true},
      DriverEntry{"headless", makeHeadlessFromEnvironment, false},
  };
  return drivers;
}

std::vector<std::string_view> driverOrder(std::string_view requested) {
  const std::string chosen = chosenDriver();
  if (chosen.empty()) return driversServing(requested);
  if (const DriverEntry* entry = findDriver(chosen)) return {entry->name};
  std::fprintf(stderr, "QUILLFEX_SCREEN: this build has no screen driver \"%s\"\n", chosen.c_str());
  return {};
}

// Nothing has run yet that could be left half done, and a program without a screen would only spin.
void endIfNoDriverStarted() {
  const std::string chosen = chosenDriver();
  if (chosen.empty()) {
    std::fputs(
        "The screen did not open: no display (DISPLAY, WAYLAND_DISPLAY) and no terminal. "
        "`winsim run DIR --screen headless -- PROGRAM` runs the program with scripted keys.\n",
        stderr);
  } else {
    std::fprintf(stderr, "QUILLFEX_SCREEN=%s: the screen did not open\n", chosen.c_str());
  }
  std::exit(2);
}

}  // namespace quillfex
