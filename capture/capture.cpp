#include "capture/capture.h"

#include <cstdio>
#include <optional>

#include "helper/command.h"
#include "helper/command_lines.h"
#include "helper/extract_helper.h"
#include "platform/raw_sector.h"
#include "platform/whole_file.h"
#include "readers/captured_lines.h"
#include "readers/mounted_devices.h"
#include "text/windows_path.h"

namespace quillfex {

namespace {

// chcp and ver write into the capture file that a capture run has no export to narrow into
constexpr CaptureSlot consoleCapture = CaptureSlot::narrowedExport;
constexpr const char* listingsOfDrive[] = {"root", "boot", "system32"};

// A TOML basic string. A byte above 127 is written as \u00XX, so that the file stays valid TOML whatever code
// page the value came in; winsim reads it back as that byte's Latin-1 character.
std::string tomlString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (code < 0x20 || code >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", code);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

// Appended rather than joined with +: GCC 12 for 32-bit Windows warns of an overlap in the inlined copy that
// "text" + std::to_string(n) makes, which is not there.
std::string diskFileName(int disk) {
  std::string name = "disk";
  name += std::to_string(disk);
  name += ".bin";
  return name;
}

std::string diskName(int disk) {
  std::string name = "physical disk ";
  name += std::to_string(disk);
  return name;
}

std::string driveListingName(const char* listing, char letter) { return std::string(listing) + "-" + letter + ".txt"; }

// The code page in chcp's line, whatever its language: "Active code page: 850", "Aktive Codepage: 850.".
std::optional<int> lastNumberIn(const std::string& text) {
  const std::size_t last = text.find_last_of("0123456789");
  if (last == std::string::npos) return std::nullopt;
  const std::size_t first = text.find_last_not_of("0123456789", last) + 1;  // npos + 1 is 0
  if (last - first >= 5) return std::nullopt;
  return std::stoi(text.substr(first, last - first + 1));
}

// ver's line: it prints a blank line before it.
std::string firstLineOf(const std::string& text) {
  CapturedLines lines(text);
  while (!lines.atEnd()) {
    std::string line = lines.readLine();
    line.erase(line.find_last_not_of(" \r") + 1);
    if (!line.empty()) return line;
  }
  return "";
}

class Capture {
 public:
  Capture(Context& context, std::string folder, const CaptureLine& say)
      : context_(context), os_(context.os), folder_(std::move(folder)), say_(say) {}

  bool makeFolder() {
    if (!os_.createFolder(folder_)) {
      say_("The folder " + folder_ + " could not be made: nothing was captured.");
      return false;
    }
    removeEarlierCapture();
    return true;
  }

  // Sector 0 of disk 0 opens only with administrator rights, as for the program.
  bool elevated() { return readSector(os_, 0, 0, 0).status != diskDidNotOpen; }

  void listStore() {
    const std::string started = os_.currentDirectory();
    const std::string temp = os_.environmentVariable("temp");
    if (!os_.changeDirectory(temp)) {
      cannot("the store: the temporary folder " + temp + " cannot be entered to write the editor out");
      return;
    }
    extractHelper(os_);
    const int status = runIntoCapture(context_, listingCommand(os_), CaptureSlot::listing);
    os_.deleteFile(helperFileName);
    os_.changeDirectory(started);
    recordCapture(CaptureSlot::listing, "listing.txt", status, Empty::failed, "the editor's listing");
  }

  // The console's code page, which the editor's listing is written in, and the running Windows' version line.
  void readConsole() {
    if (const auto output = commandOutput("chcp", "the console's code page (chcp)")) {
      codePage_ = lastNumberIn(*output);
      if (!codePage_) cannot("the console's code page: chcp printed no number");
    }
    if (const auto output = commandOutput("ver", "the version of Windows (ver)")) {
      windowsVersion_ = firstLineOf(*output);
      if (windowsVersion_->empty()) cannot("the version of Windows: ver printed only blank lines");
    }
  }

  void exportMountedDevices() {
    const int status = runIntoCapture(context_, exportMountedDevicesCommand(os_), CaptureSlot::registryExport);
    exported_ = recordCapture(CaptureSlot::registryExport, "MountedDevices.reg", status, Empty::failed,
                              "the MountedDevices export");
  }

  void readDisks() {
    for (int disk = 0; disk < scannedDiskCount; ++disk) {
      const SectorRead sector = readSector(os_, disk, 0, 0);
      const std::string name = diskFileName(disk);
      if (sector.status == 0) {
        record(name, std::string(sector.bytes.begin(), sector.bytes.end()));
      } else {
        cannot(diskName(disk) + " (status " + std::to_string(sector.status) + ")");
      }
    }
  }

  // The drives are those the export names, as the program scans it.
  void listDrives() {
    const std::string narrowed = narrowedExport(exported_);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      if (!signaturesOf(narrowed, letter).empty()) listDrive(letter);
    }
  }

  void writeSettings(bool elevated, const std::string& version) {
    std::string console;
    if (codePage_) console += "code_page = " + std::to_string(*codePage_) + "\n";
    if (windowsVersion_ && !windowsVersion_->empty())
      console += "windows_version = " + tomlString(*windowsVersion_) + "\n";
    record("capture.toml", "# Written by quillfex-capture " + version +
                               ".\nsystem_drive = " + tomlString(os_.environmentVariable("SystemDrive")) +
                               "\ntemp = " + tomlString(os_.environmentVariable("temp")) +
                               "\nelevated = " + (elevated ? "true" : "false") + "\n" + console +
                               "version = " + tomlString(version) + "\n");
  }

  int filesWritten() const { return filesWritten_; }
  bool writeFailed() const { return writeFailed_; }

 private:
  void listDrive(char letter) {
    const std::string drive = std::string(1, letter) + ":";
    const std::string root =
        capture(listRootCommand(os_, drive), CaptureSlot::listing, driveListingName("root", letter), drive + "\\");
    if (root.empty())
      say_("  " + drive + "\\ lists nothing: an empty drive, one without a medium, or one that does not read");
    capture(listBootFolderCommand(os_, drive), CaptureSlot::listing, driveListingName("boot", letter),
            drive + "\\Boot");
    capture(probeWindowsCommand(os_, drive), CaptureSlot::windowsProbe, driveListingName("system32", letter),
            drive + "\\Windows\\System32");
  }

  // What a console command printed, its capture file removed again; nullopt when it printed nothing.
  std::optional<std::string> commandOutput(const std::string& command, const std::string& what) {
    const int status = runIntoCapture(context_, command + ">" + captureArgument(os_, consoleCapture), consoleCapture);
    const auto bytes = readWholeFile(os_, capturePath(os_, consoleCapture));
    os_.deleteFile(capturePath(os_, consoleCapture));
    if (bytes && !bytes->empty()) return bytes;
    cannot(what + " (the command ended with status " + std::to_string(status) + " and wrote nothing)");
    return std::nullopt;
  }

  std::string capture(const std::string& line, CaptureSlot slot, const std::string& name, const std::string& what) {
    const int status = runIntoCapture(context_, line, slot);
    return recordCapture(slot, name, status, Empty::aListing, "the listing of " + what);
  }

  // An empty listing is a listing too (dir writes no name for a folder without such names); an editor or an
  // export that wrote nothing failed.
  enum class Empty { aListing, failed };

  // Records the capture file as name and removes it; returns what it held.
  std::string recordCapture(CaptureSlot slot, const std::string& name, int status, Empty empty,
                            const std::string& what) {
    const auto bytes = readWholeFile(os_, capturePath(os_, slot));
    os_.deleteFile(capturePath(os_, slot));
    if (bytes && !(bytes->empty() && empty == Empty::failed)) {
      record(name, *bytes);
      return *bytes;
    }
    cannot(what + " (the command ended with status " + std::to_string(status) + " and wrote nothing)");
    return "";
  }

  void record(const std::string& name, const std::string& bytes) {
    if (!writeWholeFile(os_, path(name), bytes)) {
      say_("  could not write " + path(name));
      writeFailed_ = true;
      return;
    }
    ++filesWritten_;
    say_("  " + name + " (" + std::to_string(bytes.size()) + " bytes)");
  }

  void cannot(const std::string& what) { say_("  could not read " + what); }

  void removeEarlierCapture() {
    for (const char* name : {"capture.toml", "listing.txt", "MountedDevices.reg"}) os_.deleteFile(path(name));
    for (int disk = 0; disk < scannedDiskCount; ++disk) os_.deleteFile(path(diskFileName(disk)));
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      for (const char* listing : listingsOfDrive) os_.deleteFile(path(driveListingName(listing, letter)));
    }
  }

  std::string path(const std::string& name) const {
    return folder_ + (folder_.ends_with('\\') || folder_.ends_with('/') ? "" : "\\") + name;
  }

  Context& context_;
  Os& os_;
  std::string folder_;
  const CaptureLine& say_;
  std::string exported_;
  std::optional<int> codePage_;
  std::optional<std::string> windowsVersion_;
  int filesWritten_ = 0;
  bool writeFailed_ = false;
};

// The folder as a full path, so that entering the temporary folder does not move it; a path that is no
// drive path (a network share) stays as written.
std::string fullFolder(Os& os, const std::string& folder) {
  const auto current = parseFullPath(os.currentDirectory());
  const auto full = current ? fullWindowsPath(folder, *current) : std::nullopt;
  return full ? full->text() : folder;
}

}  // namespace

int captureMachine(Context& context, const std::string& folder, const std::string& version, const CaptureLine& say) {
  Capture capture(context, fullFolder(context.os, folder), say);
  say("Capturing this machine into " + fullFolder(context.os, folder) + ":");
  if (!capture.makeFolder()) return 1;
  const bool elevated = capture.elevated();
  capture.readConsole();
  if (elevated) {
    capture.listStore();
  } else {
    say("  could not read the store or the disks: no administrator rights (physical disk 0 did not open)");
  }
  capture.exportMountedDevices();
  if (elevated) capture.readDisks();
  capture.listDrives();
  capture.writeSettings(elevated, version);
  say(std::to_string(capture.filesWritten()) + " files written into " + fullFolder(context.os, folder) +
      ". Nothing on the machine was changed.");
  return capture.writeFailed() ? 1 : 0;
}

}  // namespace quillfex
