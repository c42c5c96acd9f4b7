#include "app/boot_files.h"

#include "platform/whole_file.h"

namespace quillfex {

namespace {

std::string freeName(Os& os, const std::string& path, const std::string& suffix) {
  for (int n = 1; n < 1000; ++n) {
    const std::string name = path + suffix + (n == 1 ? "" : std::to_string(n));
    if (!fileExists(os, name)) return name;
  }
  return "";
}

}  // namespace

std::string moveAside(Os& os, const std::string& path, const std::string& suffix) {
  const std::string name = freeName(os, path, suffix);
  return !name.empty() && os.renameFile(path, name) ? name : "";
}

std::string keepCopy(Os& os, const std::string& path, const std::string& suffix) {
  const auto content = readWholeFile(os, path);
  const std::string name = freeName(os, path, suffix);
  const bool kept = content && !name.empty() && writeWholeFile(os, name, *content) && sameContent(os, path, name);
  return kept ? name : "";
}

bool sameContent(Os& os, const std::string& path, const std::string& otherPath) {
  const auto content = readWholeFile(os, path);
  const auto other = readWholeFile(os, otherPath);
  return content && other && !content->empty() && *content == *other;
}

}  // namespace quillfex
