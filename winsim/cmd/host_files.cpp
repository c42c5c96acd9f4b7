#include "winsim/cmd/host_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "posix/descriptor.h"

namespace winsim {

namespace {

bool statIs(const std::string& path, mode_t type) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

}  // namespace

std::vector<FolderEntry> readFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  const auto closeFolder = [](DIR* open) { ::closedir(open); };
  std::unique_ptr<DIR, decltype(closeFolder)> dir(::opendir(folder.c_str()), closeFolder);
  if (!dir) return entries;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const bool folderEntry = entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK ? isFolder(folder + '/' + name)
                                                                                    : entry->d_type == DT_DIR;
    entries.push_back({name, folderEntry});
  }
  return entries;
}

bool ntfsOrder(std::string_view a, std::string_view b) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return upper(x) < upper(y); });
}

bool isFolder(const std::string& path) { return statIs(path, S_IFDIR); }

bool isFile(const std::string& path) { return statIs(path, S_IFREG); }

std::optional<FileIdentity> identityOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino};
}

int copyFile(const std::string& from, const std::string& to) {
  namespace posix = quillfex::posix;
  const auto source = posix::openFile(from, O_RDONLY);
  if (!source) return source.failure().error;
  auto target = posix::openFile(to, O_WRONLY | O_CREAT | O_TRUNC);
  if (!target) return target.failure().error;
  char buffer[1 << 16];
  while (true) {
    const auto got = posix::readSome(source->get(), buffer, sizeof buffer);
    if (!got) return got.failure().error;
    if (*got == 0) break;
    if (const auto failure = posix::writeAll(target->get(), std::string_view(buffer, *got))) return failure->error;
  }
  const auto closing = target->close();
  return closing ? closing->error : 0;
}

std::string parentOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace winsim
