#include "app/elimination_run.h"

#include <vector>

#include "app/boot_files.h"
#include "app/messages.h"
#include "app/partition_preparation.h"
#include "core/text.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/text_file.h"
#include "platform/whole_file.h"
#include "readers/disk_sector.h"
#include "readers/listing.h"
#include "readers/mounted_devices.h"
#include "screen/screen.h"

namespace quillfex {

namespace {

constexpr int diskCount = 4;

void showOnRow15(Context& context, const std::string& message) {
  context.screen.setColour(0xD827BC, 0xFFD0FF);
  context.screen.locate(15, 3);
  context.screen.printText(message, LineEnd::yes);
  context.screen.waitKey();
}

bool isMultiboot(Context& context) {
  context.state.scratchFlag = 0;
  context.state.scratchFlag = countEntries(context);
  return context.state.scratchFlag >= 3;
}

bool systemDriveHasBootManager(Context& context) {
  ProgramState& state = context.state;
  state.scratchFlag = 0;
  runCommand(context, listRootCommand(context.os, state.systemDrive));
  TextFile root = openTextFile(context.os, capturePath(context.os, 0));
  while (!root.atEnd()) {
    state.lineBuffer = lowerCase(root.readLine());
    if (state.lineBuffer == "bootmgr") state.scratchFlag = 1;
  }
  return state.scratchFlag == 1;
}

// org.bcd is the only way back, so it must be this run's own, complete export before the live store is
// touched. An earlier org.bcd is kept beside it; when the export fails, it becomes org.bcd again.
bool saveBackup(Context& context) {
  const std::string earlier = fileExists(context.os, "org.bcd") ? moveAside(context.os, "org.bcd", ".bak") : "";
  if (fileExists(context.os, "org.bcd")) return false;  // the earlier backup could not be kept
  const int status = runCommand(context, exportStoreCommand("org.bcd"));
  const auto backup = readWholeFile(context.os, "org.bcd");
  if (status == 0 && backup && !backup->empty()) return true;
  context.os.deleteFile("org.bcd");
  if (!earlier.empty()) context.os.renameFile(earlier, "org.bcd");
  return false;
}

void readDiskSignatures(Context& context) {
  ProgramState& state = context.state;
  state.diskSignatures.fill("");
  for (int disk = 0; disk < diskCount; ++disk) {
    readSector(context, disk, 0, 0);
    if (state.lastStatus != 0) continue;
    diskSignatureText(context);
    state.diskSignatures[static_cast<std::size_t>(disk)] = state.lineBuffer;
  }
}

struct Progress {
  std::vector<std::string> prepared;  // drives made bootable, each with a copy of org.bcd
  bool storeTouched = false;          // entries have been deleted from the live store
  bool stopped = false;               // org.bcd could not be imported
};

void prepare(Context& context, Progress& progress) {
  const Preparation result = preparePartition(context);
  progress.stopped = result == Preparation::storeNotRestored;
  progress.storeTouched = progress.storeTouched || !progress.stopped;
  if (result == Preparation::prepared) progress.prepared.push_back(context.state.targetDrive);
}

// Prepares, letter by letter, every partition whose signature is one of the disks' and that holds Windows.
void prepareMatchingPartitions(Context& context, Progress& progress) {
  ProgramState& state = context.state;
  exportMountedDevices(context);
  TextFile narrowed = openTextFile(context.os, capturePath(context.os, 2));
  for (state.letterCode = 'C'; state.letterCode <= 'Z' && !progress.stopped; ++state.letterCode) {
    scanLetter(context, narrowed, [&](const std::string& signature) {
      for (int disk = 0; disk < diskCount && !progress.stopped; ++disk) {
        if (!signatureMatches(state, signature, disk)) continue;
        state.targetDrive = std::string(1, static_cast<char>(state.letterCode)) + ":";
        probeWindows(context);
        if (state.lastStatus == 0) prepare(context, progress);
      }
    });
  }
}

// After a failed import the live store may still be trimmed for the partition before: put the full store
// back from org.bcd, or from the copy of it that a prepared partition carries.
bool putFullStoreBack(Context& context, const Progress& progress) {
  if (!progress.storeTouched) return true;
  if (runCommand(context, importStoreCommand("org.bcd")) == 0) return true;
  for (const auto& drive : progress.prepared) {
    if (runCommand(context, importStoreCommand(drive + "\\Boot\\org.bcd")) == 0) return true;
  }
  return false;
}

}  // namespace

void eliminationRun(Context& context) {
  ProgramState& state = context.state;
  if (!isMultiboot(context)) return showOnRow15(context, messages::noMultiboot);
  if (!systemDriveHasBootManager(context)) return showOnRow15(context, messages::noBootManager);
  if (!saveBackup(context)) return showOnRow15(context, messages::backupNotWritten);
  readDiskSignatures(context);

  Progress progress;
  prepareMatchingPartitions(context, progress);
  if (!progress.stopped) {
    state.targetDrive = state.systemDrive;
    prepare(context, progress);
  }
  if (progress.stopped) {
    const bool asBefore = putFullStoreBack(context, progress);
    return showOnRow15(context, asBefore ? messages::stoppedStoreAsBefore : messages::stoppedStoreNotBack);
  }
  runCommand(context, importStoreCommand("lid.bcd"));
}

}  // namespace quillfex
