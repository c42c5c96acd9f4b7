#include "app/boot_files.h"

#include "platform/whole_file.h"

namespace quillfex {

std::string moveAside(Os& os, const std::string& path, const std::string& suffix) {
  for (int n = 1; n < 1000; ++n) {
    const std::string name = path + suffix + (n == 1 ? "" : std::to_string(n));
    if (fileExists(os, name)) continue;
    return os.renameFile(path, name) ? name : "";
  }
  return "";
}

}  // namespace quillfex
