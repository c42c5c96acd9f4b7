#include "app/scans.h"

#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/binary_file.h"
#include "readers/mounted_devices.h"

namespace quillfex {

namespace {

StoreListing listingOf(std::string text) {
  StoreListing listing;
  listing.text = std::move(text);
  listing.entries = listedEntries(listing.text);
  return listing;
}

}  // namespace

std::string runListing(Context& context) {
  runIntoCapture(context, listingCommand(context.os), CaptureSlot::listing);
  return readCapture(context.os, CaptureSlot::listing);
}

StoreListing listStore(Context& context) { return listingOf(runListing(context)); }

StoreListing listStoreFile(Context& context, const std::string& file) {
  if (runIntoCapture(context, listStoreFileCommand(context.os, file), CaptureSlot::listing) != 0) return {};
  return listingOf(readCapture(context.os, CaptureSlot::listing));
}

bool findBootManagerDevice(Context& context, const std::string& drive) {
  return bootManagerDeviceIn(runListing(context), drive);
}

void exportMountedDevices(Context& context) {
  Os& os = context.os;
  runIntoCapture(context, exportMountedDevicesCommand(os), CaptureSlot::registryExport);
  os.deleteFile(capturePath(os, CaptureSlot::narrowedExport));
  BinaryFile exportFile = openBinaryFile(os, capturePath(os, CaptureSlot::registryExport));
  BinaryFile narrowedFile = openBinaryFile(os, capturePath(os, CaptureSlot::narrowedExport));
  narrowedFile.write(1, narrowedExport(exportFile.read(exportFile.size())));
}

}  // namespace quillfex
