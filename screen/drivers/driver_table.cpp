// The display drivers of this build by name; which of them serve the program's request is the host's choice.

#include "screen/driver.h"

namespace quillfex {

const DriverEntry* findDriver(std::string_view name) {
  for (const DriverEntry& entry : hostDrivers()) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

std::vector<std::string_view> driversServing(std::string_view requested) {
  if (const DriverEntry* named = findDriver(requested)) return {named->name};
  std::vector<std::string_view> order;
  for (const DriverEntry& entry : hostDrivers()) {
    if (entry.servesProgramRequest) order.push_back(entry.name);
  }
  return order;
}

std::unique_ptr<ScreenDriver> makeDriver(std::string_view name) {
  const DriverEntry* entry = findDriver(name);
  return entry ? entry->make() : nullptr;
}

}  // namespace quillfex
