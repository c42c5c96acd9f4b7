// The operating-system seam on Windows: the C runtime and the Windows functions themselves.

#include <direct.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/os.h"
#include "platform/win32/crt_file.h"

namespace quillfex {

namespace {

class Win32Os final : public Os {
 public:
  std::string environmentVariable(const std::string& name) override {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
  }

  // _chdir also makes a drive named in the path the current drive.
  bool changeDirectory(const std::string& path) override { return _chdir(path.c_str()) == 0; }

  std::string currentDirectory() override {
    char* folder = _getcwd(nullptr, 0);
    if (folder == nullptr) return {};
    std::string text(folder);
    std::free(folder);
    return text;
  }

  std::unique_ptr<FileHandle> openForReading(const std::string& path) override {
    return openCrtFile(path, FileAccess::read);
  }

  std::unique_ptr<FileHandle> openForUpdate(const std::string& path) override {
    return openCrtFile(path, FileAccess::update);
  }

  void deleteFile(const std::string& path) override { std::remove(path.c_str()); }

  bool createFolder(const std::string& path) override {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  std::string programFolder() override {
    std::vector<char> file(MAX_PATH);
    DWORD length = 0;
    // A path longer than the room is cut and returns the room's size: grow and ask again.
    while ((length = GetModuleFileNameA(nullptr, file.data(), static_cast<DWORD>(file.size()))) == file.size()) {
      file.resize(file.size() * 2);
    }
    const std::string path(file.data(), length);
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? currentDirectory() : path.substr(0, separator);
  }

  bool renameFile(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }

  bool replaceFile(const std::string& from, const std::string& to) override {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  int runCommandLine(const std::string& line) override { return std::system(line.c_str()); }

  // The order of the calls matters: the status is what the close leaves, which after a failed open is
  // ERROR_INVALID_HANDLE, because the open's own error was cleared right after it.
  std::uint32_t readRawSector(const std::string& devicePath, std::uint32_t offsetLow, std::uint32_t offsetHigh,
                              std::span<std::uint8_t, sectorSize> into) override {
    LONG offsetHighHalf = static_cast<LONG>(offsetHigh);
    DWORD bytesRead = 0;

    std::vector<wchar_t> widePath(devicePath.size() + 1, L'\0');
    std::mbstowcs(widePath.data(), devicePath.c_str(), widePath.size());
    HANDLE diskHandle = CreateFileW(widePath.data(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    widePath.clear();
    SetLastError(0);
    if (diskHandle != INVALID_HANDLE_VALUE) {
      SetFilePointer(diskHandle, static_cast<LONG>(offsetLow), &offsetHighHalf, FILE_BEGIN);
      ReadFile(diskHandle, into.data(), static_cast<DWORD>(into.size()), &bytesRead, nullptr);
    }
    CloseHandle(diskHandle);
    return GetLastError();
  }

  void hideConsoleWindow() override { ShowWindow(GetConsoleWindow(), SW_HIDE); }
};

}  // namespace

std::unique_ptr<Os> makeHostOs() { return std::make_unique<Win32Os>(); }

}  // namespace quillfex
