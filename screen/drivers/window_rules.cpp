#include "screen/drivers/window_rules.h"

namespace quillfex {

std::string programTitle(std::string_view programPath, std::string_view separators) {
  std::string_view name = programPath.substr(programPath.find_last_of(separators) + 1);
  if (const auto lastFullStop = name.rfind('.'); lastFullStop != std::string_view::npos) {
    name = name.substr(0, lastFullStop);
  }
  return std::string(name);
}

WindowOrigin centredWindowOrigin(const ScreenRect& monitor, int outerWidth, int outerHeight) {
  const int monitorWidth = monitor.right - monitor.left;
  const int monitorHeight = monitor.bottom - monitor.top;
  return {monitor.left + ((monitorWidth - outerWidth) >> 1), monitor.top + ((monitorHeight - outerHeight) >> 1)};
}

}  // namespace quillfex
