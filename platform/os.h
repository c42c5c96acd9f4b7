#pragma once
// The operating-system seam: the few things the program asks of Windows. win32/ calls Windows itself;
// posix/ plays the same operations against a simulated machine (a winsim sandbox). Paths are Windows paths
// on both hosts ("C:\Boot\BCD", "\bootmgr", "org.bcd"), texts are 8-bit byte strings.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/file_handle.h"

namespace quillfex {

inline constexpr std::size_t sectorSize = 512;

class Os {
 public:
  virtual ~Os() = default;

  // The value of an environment variable, verbatim; "" when it is not set.
  virtual std::string environmentVariable(const std::string& name) = 0;

  // Makes path (absolute, rooted or relative) the current directory; false when it is no folder.
  virtual bool changeDirectory(const std::string& path) = 0;

  // The current directory as a full Windows path such as "C:\Boot"; "" when it cannot be read.
  virtual std::string currentDirectory() = 0;

  // An existing file opened for reading; null when it cannot be opened.
  virtual std::unique_ptr<FileHandle> openForReading(const std::string& path) = 0;

  // A file opened for reading and writing without emptying it, created when missing; null when neither works.
  virtual std::unique_ptr<FileHandle> openForUpdate(const std::string& path) = 0;

  // Removes a file; a missing file or any other failure is silent.
  virtual void deleteFile(const std::string& path) = 0;

  // Makes the folder (its parent must exist); true also when it is a folder already.
  virtual bool createFolder(const std::string& path) = 0;

  // The folder of the running program's executable as a full Windows path. On POSIX, where the executable
  // lies outside the simulated machine, the folder the program was started in.
  virtual std::string programFolder() = 0;

  // Gives a file a new name (both paths name the full file); false when it could not, for example because
  // the new name exists.
  virtual bool renameFile(const std::string& from, const std::string& to) = 0;

  // Gives a file the name `to`, replacing the file of that name in one step, so that at no moment is there
  // no file called `to`; false when it could not.
  virtual bool replaceFile(const std::string& from, const std::string& to) = 0;

  // Hands one line, unchanged, to the command interpreter and returns when it has ended, with the status
  // the interpreter ended with (-1 when it could not be started). Most callers judge a command only by what
  // it leaves on disk.
  virtual int runCommandLine(const std::string& line) = 0;

  // Opens the raw device (for example "\\.\PhysicalDrive0") for reading and writing, reads 512 bytes at
  // the byte offset (offsetHigh << 32 | offsetLow) into `into`, closes the device in every case, and
  // returns the platform's last-error code: 0 after a good read, 6 when the device did not open (into is
  // then untouched), another non-zero code when positioning or reading failed.
  virtual std::uint32_t readRawSector(const std::string& devicePath, std::uint32_t offsetLow, std::uint32_t offsetHigh,
                                      std::span<std::uint8_t, sectorSize> into) = 0;

  // Hides the console window the program was started from, if it has one.
  virtual void hideConsoleWindow() = 0;
};

// The operating system this program was built for (chosen by the build: win32/ or posix/).
std::unique_ptr<Os> makeHostOs();

}  // namespace quillfex
