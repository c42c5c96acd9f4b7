#include "helper/command_lines.h"

#include "helper/command.h"

namespace quillfex {

namespace {
const std::string editor = helperFileName;
}

std::string listingCommand(Os& os) { return editor + ">" + captureArgument(os, CaptureSlot::listing); }

std::string listStoreFileCommand(Os& os, const std::string& file) {
  return editor + " /store " + file + ">" + captureArgument(os, CaptureSlot::listing);
}

std::string exportStoreCommand(const std::string& file) { return editor + " /export " + file + ">nul"; }

std::string importStoreCommand(const std::string& file) { return editor + " /import " + file + ">nul"; }

std::string deleteEntryCommand(const std::string& id) { return editor + " /f /delete " + id + ">nul"; }

std::string copyBootFolderCommand(const std::string& drive) {
  return "xcopy /s /c /h /y \\Boot " + drive + "\\Boot\\>nul";
}

std::string renameCopiedStoreCommand(const std::string& drive) {
  return "ren " + drive + "\\Boot\\" + trimmedStoreFile + " BCD>nul";
}

// Windows keeps \bootmgr read-only, and xcopy overwrites a read-only file only with /r.
std::string copyBootManagerCommand(const std::string& drive) { return "xcopy /h /r /y \\bootmgr " + drive + "\\>nul"; }

std::string probeWindowsCommand(Os& os, const std::string& drive) {
  return "dir /b /a " + drive + "\\Windows\\System32\\b*>" + captureArgument(os, CaptureSlot::windowsProbe);
}

std::string listRootCommand(Os& os, const std::string& drive) {
  return "dir /b /a " + drive + "\\>" + captureArgument(os, CaptureSlot::listing);
}

std::string listBootFolderCommand(Os& os, const std::string& drive) {
  return "dir /b /a " + drive + "\\Boot>" + captureArgument(os, CaptureSlot::listing);
}

std::string exportMountedDevicesCommand(Os& os) {
  return "regedit /e " + captureArgument(os, CaptureSlot::registryExport) +
         " HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices";
}

}  // namespace quillfex
