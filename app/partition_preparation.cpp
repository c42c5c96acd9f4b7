#include "app/partition_preparation.h"

#include <algorithm>

#include "app/boot_files.h"
#include "app/messages.h"
#include "data/data_image.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/whole_file.h"
#include "readers/folder_names.h"
#include "readers/listing.h"
#include "screen/menu_screen.h"

namespace quillfex {

namespace {

constexpr Pixel messageColour = bandBackground;
const std::string trimmedStore = "lid.bcd";

enum class Trim { sound, unsound, storeNotRestored };

// The full store back from org.bcd, every foreign entry that shouldDelete picks by its drive deleted, and the
// result exported to lid.bcd. Sound only when the store listed the boot manager and an entry on the target
// and the export wrote lid.bcd: only then does lid.bcd boot the target. An entry that could not be deleted
// (or whose id is no safe word for a command line) stays in it, as in the store it came from.
template <typename Pick>
Trim trimStore(Context& context, Pick shouldDelete) {
  ProgramState& state = context.state;
  if (runCommand(context, importStoreCommand("org.bcd")) != 0) return Trim::storeNotRestored;
  const KeptEntries kept = foreignEntryIds(context, state.targetDrive, [&](const std::string& id) {
    if (!isSafeEntryId(id) || !shouldDelete(deviceDrive(state.lineBuffer))) return;
    state.entryId = id;
    runCommand(context, deleteEntryCommand(state.entryId));
  });
  // A lid.bcd that an earlier run or target left must never pass for this one.
  context.os.deleteFile(trimmedStore);
  const bool exported = runCommand(context, exportStoreCommand(trimmedStore)) == 0;
  const auto exportedStore = readWholeFile(context.os, trimmedStore);
  const bool lidWritten = exported && exportedStore && !exportedStore->empty();
  return kept.bootManager && kept.onDrive > 0 && lidWritten ? Trim::sound : Trim::unsound;
}

// The target's earlier store is kept beside the new one and never leaves its place: when there is one, the
// new store replaces it in one step, so a power loss finds the old store or the new one, and only once the
// editor reads the new one as a store that boots the target.
void makeCopiedStoreTheTargetsStore(Context& context, const std::string& drive) {
  const std::string store = drive + "\\Boot\\BCD";
  const std::string copied = drive + "\\Boot\\" + trimmedStore;
  if (!fileExists(context.os, store)) {
    runCommand(context, renameCopiedStoreCommand(drive));
  } else if (listsBootManagerAndEntryOn(listStoreFile(context, copied).entries, drive) &&
             keepCopy(context.os, store, ".bak")) {
    context.os.replaceFile(copied, store);
  }
  context.os.deleteFile(copied);
}

bool targetIsBootable(Context& context, const std::string& drive) {
  return sameContent(context.os, drive + "\\Boot\\BCD", trimmedStore) && fileExists(context.os, drive + "\\bootmgr");
}

// Only this run's trimmed store, arrived whole, may become the target's store; when it did not arrive, the
// target keeps everything it had.
void copyBootFilesToTarget(Context& context, const std::string& drive) {
  const std::string copied = drive + "\\Boot\\" + trimmedStore;
  context.os.deleteFile(copied);
  context.screen.setColour(bodyBackground, bodyBackground);
  runCommand(context, copyBootFolderCommand(drive));
  context.os.deleteFile(drive + "\\Boot\\" + helperFileName);
  context.screen.setColour(messageColour, bodyBackground);
  if (!sameContent(context.os, copied, trimmedStore)) {
    context.os.deleteFile(copied);
    return;
  }
  makeCopiedStoreTheTargetsStore(context, drive);
  runCommand(context, copyBootManagerCommand(drive));
}

void showOutcome(Context& context, const std::string& drive, bool bootable) {
  ProgramState& state = context.state;
  state.optionTwoText = bootable ? messages::partitionBootable(drive) : messages::partitionNotBootable(drive);
  context.screen.locate(15, 1);
  context.screen.setColour(messageColour, bodyBackground);
  context.screen.printText(state.optionTwoText, LineEnd::no);
  context.screen.waitKey();
}

Preparation systemOutcome(Trim trim) {
  if (trim == Trim::storeNotRestored) return Preparation::storeNotRestored;
  return trim == Trim::sound ? Preparation::systemTrimmed : Preparation::systemNotTrimmed;
}

}  // namespace

bool isSafeEntryId(const std::string& id) {
  if (id.size() < 3 || id.front() != '{' || id.back() != '}') return false;
  return std::all_of(id.begin() + 1, id.end() - 1, [](unsigned char c) { return std::isalnum(c) || c == '-'; });
}

void probeWindows(Context& context) {
  ProgramState& state = context.state;
  state.lastStatus = 1;
  runIntoCapture(context, probeWindowsCommand(context.os, state.targetDrive), 3);
  drawMenu(context.screen, state.selectedRow, state.optionTwoText, state.itemCursor, gradientStepsStore);
  const LinesReading<bool> probe = windowsProbeIn(readCapture(context.os, 3));
  if (probe.lastLine) state.probeLine = *probe.lastLine;
  if (probe.answer) state.lastStatus = 0;
}

Preparation preparePartition(Context& context) {
  ProgramState& state = context.state;
  const Trim trim = trimStore(context, [](const std::string&) { return true; });
  if (trim == Trim::storeNotRestored || state.targetDrive == state.systemDrive) return systemOutcome(trim);

  const std::string drive = state.targetDrive;
  if (trim == Trim::sound) copyBootFilesToTarget(context, drive);
  const bool bootable = trim == Trim::sound && targetIsBootable(context, drive);
  showOutcome(context, drive, bootable);
  return bootable ? Preparation::prepared : Preparation::notBootable;
}

Preparation trimSystemStore(Context& context, const std::vector<std::string>& preparedDrives) {
  context.state.targetDrive = context.state.systemDrive;
  return systemOutcome(trimStore(context, [&](const std::string& drive) {
    return std::find(preparedDrives.begin(), preparedDrives.end(), drive) != preparedDrives.end();
  }));
}

}  // namespace quillfex
