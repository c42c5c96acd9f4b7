// The display drivers of this build, in the order that the program's request falls back through.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "screen/driver.h"
#include "screen/drivers/headless.h"

namespace quillfex {
namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// winsim run hands the script over already checked; a bad one set by hand would leave the program
// waiting for keys that never come, so it ends the run instead.
std::unique_ptr<ScreenDriver> makeHeadlessFromEnvironment() {
  std::string error;
  auto script = parseKeyScript(environmentValue("QUILLFEX_KEYS"), error);
  if (!script) {
    std::fprintf(stderr, "QUILLFEX_KEYS: %s\n", error.c_str());
    std::exit(2);
  }
  return makeHeadlessDriver(
      {std::move(*script), environmentValue("QUILLFEX_SNAPSHOTS"), environmentValue("QUILLFEX_SNAP")});
}

// The host's own drivers first; headless last, so that a run with no display and no terminal ends
// (its key script is used up) instead of polling a screen that never opened.
const std::vector<DriverEntry>& driverTable() {
  static const std::vector<DriverEntry> table = [] {
    std::vector<DriverEntry> entries(hostDrivers().begin(), hostDrivers().end());
    entries.push_back({"headless", makeHeadlessFromEnvironment, true});
    return entries;
  }();
  return table;
}

const DriverEntry* findDriver(std::string_view name) {
  for (const DriverEntry& entry : driverTable()) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

}  // namespace

std::vector<std::string_view> driverOrder(std::string_view requested) {
  const std::string chosen = environmentValue("QUILLFEX_SCREEN");
  if (!chosen.empty()) {
    if (const DriverEntry* entry = findDriver(chosen)) return {entry->name};
    std::fprintf(stderr, "QUILLFEX_SCREEN: this build has no screen driver \"%s\"\n", chosen.c_str());
    std::exit(2);
  }
  if (const DriverEntry* named = findDriver(requested)) return {named->name};
  std::vector<std::string_view> order;
  for (const DriverEntry& entry : driverTable()) {
    if (entry.servesProgramRequest) order.push_back(entry.name);
  }
  return order;
}

void endIfChosenDriverDidNotStart() {
  const std::string chosen = environmentValue("QUILLFEX_SCREEN");
  if (chosen.empty()) return;
  std::fprintf(stderr, "QUILLFEX_SCREEN=%s: the screen did not open\n", chosen.c_str());
  std::exit(2);
}

std::unique_ptr<ScreenDriver> makeDriver(std::string_view name) {
  const DriverEntry* entry = findDriver(name);
  return entry ? entry->make() : nullptr;
}

}  // namespace quillfex
