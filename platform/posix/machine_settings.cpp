#include "platform/posix/machine_settings.h"

// Compiled in, so that the winsim tools that use this seam can start without a shared toml++.
#define TOML_HEADER_ONLY 1
#include <toml++/toml.h>

namespace quillfex {

MachineSettings readMachineSettings(const std::string& sandboxRoot) {
  MachineSettings settings;
  if (sandboxRoot.empty()) return settings;
  toml::table machine;
  try {
    machine = toml::parse_file(sandboxRoot + "/machine.toml");
  } catch (const std::exception&) {
    return settings;
  }
  settings.elevated = machine["elevated"].value_or(true);
  if (const toml::array* faults = machine["fault"].as_array()) {
    for (const toml::node& fault : *faults) {
      const toml::node_view<const toml::node> view{fault};
      if (view["command"].value_or(std::string()) != "disk") continue;
      const auto arg = view["arg"];
      settings.unreadableDisks.push_back(arg.is_integer() ? std::to_string(arg.value_or(0))
                                                          : arg.value_or(std::string()));
    }
  }
  return settings;
}

}  // namespace quillfex
