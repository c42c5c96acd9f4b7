#include "app/partition_preparation.h"

#include <algorithm>

#include "app/boot_files.h"
#include "app/main_menu.h"
#include "app/messages.h"
#include "app/scans.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/whole_file.h"
#include "readers/folder_names.h"
#include "screen/menu_screen.h"

namespace quillfex {

namespace {

constexpr Pixel messageColour = bandBackground;

enum class Trim { sound, unsound, storeNotRestored };

// The full store back from org.bcd, every foreign entry that shouldDelete picks by its drive deleted, and the
// result exported to lid.bcd. Sound only when the store listed the boot manager and an entry on the target
// and the export wrote lid.bcd: only then does lid.bcd boot the target. An entry that could not be deleted
// (or whose id is no safe word for a command line) stays in it, as in the store it came from.
template <typename Pick>
Trim trimStore(Context& context, Pick shouldDelete) {
  ProgramState& state = context.state;
  if (runCommand(context, importStoreCommand(backupStoreFile)) != 0) return Trim::storeNotRestored;
  const ForeignEntries entries = foreignEntriesIn(runListing(context), state.targetDrive);
  for (const ListedEntry& entry : entries.foreign) {
    if (isSafeEntryId(entry.id) && shouldDelete(deviceDrive(entry.device))) {
      runCommand(context, deleteEntryCommand(entry.id));
    }
  }
  // A lid.bcd that an earlier run or target left must never pass for this one.
  context.os.deleteFile(trimmedStoreFile);
  const bool exported = runCommand(context, exportStoreCommand(trimmedStoreFile)) == 0;
  const auto exportedStore = readWholeFile(context.os, trimmedStoreFile);
  const bool lidWritten = exported && exportedStore && !exportedStore->empty();
  return entries.kept.bootManager && entries.kept.onDrive > 0 && lidWritten ? Trim::sound : Trim::unsound;
}

// Why a target could not be made bootable, as the row below its message says.
enum class Shortfall { none, trimming, bootFolderCopy, copiedStoreUnlisted, bootManagerCopy, oldBootManager, store };

const std::string& reasonFor(Shortfall shortfall) {
  switch (shortfall) {
    case Shortfall::trimming:
      return messages::trimmingFailed;
    case Shortfall::bootFolderCopy:
      return messages::bootFolderCopyFailed;
    case Shortfall::copiedStoreUnlisted:
      return messages::copiedStoreUnlisted;
    case Shortfall::bootManagerCopy:
      return messages::bootManagerCopyFailed;
    case Shortfall::oldBootManager:
      return messages::oldBootManagerKept;
    case Shortfall::none:
    case Shortfall::store:
      break;
  }
  return messages::storeNotPutInPlace;
}

// Windows keeps a hive's logs beside it and plays them into the hive they lie beside: a store keeps its own
// logs, and a new store is never given an old one's.
const char* const hiveLogSuffixes[] = {".LOG", ".LOG1", ".LOG2"};

bool hasHiveLogs(Os& os, const std::string& hive) {
  return std::any_of(std::begin(hiveLogSuffixes), std::end(hiveLogSuffixes),
                     [&](const char* suffix) { return fileExists(os, hive + suffix); });
}

// The target's old store is kept beside the new one, with its logs, and never leaves its place: the new store
// replaces it in one step, so a power loss finds the old store or the new one. Logs that belong to no store
// (an earlier store's that is gone) are removed. True when the target's store is now the trimmed one alone.
bool putStoreInPlace(Context& context, const std::string& drive) {
  Os& os = context.os;
  const std::string store = drive + "\\Boot\\BCD";
  if (fileExists(os, store)) {
    const std::string backup = keepCopy(os, store, keptFileSuffix);
    if (backup.empty()) return false;
    for (const char* suffix : hiveLogSuffixes) {
      if (fileExists(os, store + suffix) && !os.renameFile(store + suffix, backup + suffix)) return false;
    }
    if (!os.replaceFile(drive + "\\Boot\\" + trimmedStoreFile, store)) return false;
  } else {
    for (const char* suffix : hiveLogSuffixes) os.deleteFile(store + suffix);
    runCommand(context, renameCopiedStoreCommand(drive));
  }
  return sameContent(os, store, trimmedStoreFile) && !hasHiveLogs(os, store);
}

// The target gets the system drive's \bootmgr before its store changes, so that a target whose old
// \bootmgr stays (read-only, or a copy refused) keeps the store that boots with it.
Shortfall placeBootFiles(Context& context, const std::string& drive) {
  Os& os = context.os;
  const std::string copied = drive + "\\Boot\\" + trimmedStoreFile;
  if (!sameContent(os, copied, trimmedStoreFile)) return Shortfall::bootFolderCopy;
  // A working store is replaced only by one that the editor reads as a store that boots the target.
  if (fileExists(os, drive + "\\Boot\\BCD") &&
      !listsBootManagerAndEntryOn(listStoreFile(context, copied).entries, drive)) {
    return Shortfall::copiedStoreUnlisted;
  }
  const bool hadBootManager = fileExists(os, drive + "\\bootmgr");
  runCommand(context, copyBootManagerCommand(drive));
  if (!sameContent(os, "\\bootmgr", drive + "\\bootmgr")) {
    return hadBootManager ? Shortfall::oldBootManager : Shortfall::bootManagerCopy;
  }
  return putStoreInPlace(context, drive) ? Shortfall::none : Shortfall::store;
}

// Only this run's trimmed store, arrived whole, may become the target's store; when it did not arrive, the
// target keeps everything it had.
Shortfall copyBootFilesToTarget(Context& context, const std::string& drive) {
  const std::string copied = drive + "\\Boot\\" + trimmedStoreFile;
  context.os.deleteFile(copied);
  context.screen.setColour(bodyBackground, bodyBackground);
  runCommand(context, copyBootFolderCommand(drive));
  context.os.deleteFile(drive + "\\Boot\\" + helperFileName);
  context.screen.setColour(messageColour, bodyBackground);
  const Shortfall shortfall = placeBootFiles(context, drive);
  context.os.deleteFile(copied);  // a copy that did not become the target's store
  return shortfall;
}

void showOutcome(Context& context, const std::string& drive, Shortfall shortfall) {
  ProgramState& state = context.state;
  const bool bootable = shortfall == Shortfall::none;
  state.optionTwoText = bootable ? messages::partitionBootable(drive) : messages::partitionNotBootable(drive);
  context.screen.locate(15, 1);
  context.screen.setColour(messageColour, bodyBackground);
  context.screen.printText(state.optionTwoText, LineEnd::no);
  if (!bootable) {
    context.screen.locate(16, 1);
    context.screen.printText(reasonFor(shortfall), LineEnd::no);
  }
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

bool probeWindows(Context& context) {
  ProgramState& state = context.state;
  runIntoCapture(context, probeWindowsCommand(context.os, state.targetDrive), CaptureSlot::windowsProbe);
  drawMainMenu(context);
  return windowsProbeIn(readCapture(context.os, CaptureSlot::windowsProbe));
}

Preparation preparePartition(Context& context) {
  ProgramState& state = context.state;
  const Trim trim = trimStore(context, [](const std::string&) { return true; });
  if (trim == Trim::storeNotRestored || state.targetDrive == state.systemDrive) return systemOutcome(trim);

  const std::string drive = state.targetDrive;
  const Shortfall shortfall = trim == Trim::sound ? copyBootFilesToTarget(context, drive) : Shortfall::trimming;
  showOutcome(context, drive, shortfall);
  return shortfall == Shortfall::none ? Preparation::prepared : Preparation::notBootable;
}

Preparation trimSystemStore(Context& context, const std::vector<std::string>& preparedDrives) {
  context.state.targetDrive = context.state.systemDrive;
  return systemOutcome(trimStore(context, [&](const std::string& drive) {
    return std::find(preparedDrives.begin(), preparedDrives.end(), drive) != preparedDrives.end();
  }));
}

}  // namespace quillfex
