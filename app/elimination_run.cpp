#include "app/elimination_run.h"

#include <algorithm>
#include <vector>

#include "app/boot_files.h"
#include "app/messages.h"
#include "app/partition_preparation.h"
#include "app/scans.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/raw_sector.h"
#include "platform/whole_file.h"
#include "readers/disk_sector.h"
#include "readers/folder_names.h"
#include "readers/listing.h"
#include "readers/mounted_devices.h"
#include "screen/menu_screen.h"
#include "screen/screen.h"
#include "text/text.h"

namespace quillfex {

namespace {

void showOnRow15(Context& context, const std::string& message) {
  context.screen.setColour(bandBackground, bodyBackground);
  context.screen.locate(15, 3);
  context.screen.printText(message, LineEnd::yes);
  context.screen.waitKey();
}

// The store that org.bcd saved, less some of its entries and with nothing new: what a trimming by this
// program leaves, finished or cut off. Saving it as the backup would lose the systems it no longer lists.
bool isAnEarlierRunsWork(Context& context, const std::vector<ListedEntry>& live) {
  const auto savedListing = readWholeFile(context.os, backupListingFile);
  if (!savedListing || !fileExists(context.os, backupStoreFile)) return false;
  const std::vector<ListedEntry> saved = listedEntries(*savedListing);
  const auto isSaved = [&](const ListedEntry& entry) {
    return std::find(saved.begin(), saved.end(), entry) != saved.end();
  };
  return live.size() < saved.size() && std::all_of(live.begin(), live.end(), isSaved);
}

// Why the live store is no full store to start from, or "" when it is one: a run can improve only a store
// that lists systems on the system drive and elsewhere, and that no earlier run has trimmed.
std::string reasonNotToStart(Context& context, const StoreListing& live) {
  const std::string& systemDrive = context.state.systemDrive;
  int own = 0, elsewhere = 0;
  for (const ListedEntry& entry : live.entries) {
    if (entry.isBootManager()) continue;
    ++(deviceDrive(entry.device) == systemDrive ? own : elsewhere);
  }
  if (own == 0) return messages::noSystemOnSystemDrive(systemDrive);
  if (elsewhere == 0) return messages::alreadyEliminated(systemDrive);
  if (isAnEarlierRunsWork(context, live.entries)) return messages::earlierRunsStore;
  return "";
}

bool systemDriveHasBootManager(Context& context) {
  runIntoCapture(context, listRootCommand(context.os, context.state.systemDrive), CaptureSlot::listing);
  return bootManagerFileIn(readCapture(context.os, CaptureSlot::listing));
}

// org.bcd is the only way back, so it must be this run's own, complete export before the live store is
// touched, with the listing of what it holds beside it. An earlier org.bcd is kept beside it; when the
// export fails, it becomes org.bcd again.
bool saveBackup(Context& context, const StoreListing& start) {
  Os& os = context.os;
  const auto earlierListing = readWholeFile(os, backupListingFile);
  const std::string earlier = fileExists(os, backupStoreFile) ? moveAside(os, backupStoreFile, keptFileSuffix) : "";
  if (fileExists(os, backupStoreFile)) return false;  // the earlier backup could not be kept
  // The listing goes first: a run cut off right after the export leaves a backup that says what it holds.
  const bool listed = writeWholeFile(os, backupListingFile, start.text);
  const int status = listed ? runCommand(context, exportStoreCommand(backupStoreFile)) : 1;
  const auto backup = readWholeFile(os, backupStoreFile);
  if (status == 0 && backup && !backup->empty()) return true;
  os.deleteFile(backupStoreFile);
  os.deleteFile(backupListingFile);
  if (!earlier.empty() && os.renameFile(earlier, backupStoreFile) && earlierListing) {
    writeWholeFile(os, backupListingFile, *earlierListing);
  }
  return false;
}

void readDiskSignatures(Context& context) {
  ProgramState& state = context.state;
  state.diskSignatures.fill("");
  for (int disk = 0; disk < scannedDiskCount; ++disk) {
    const SectorRead sector = readSector(context.os, disk, 0, 0);
    if (sector.status == 0) state.diskSignatures[static_cast<std::size_t>(disk)] = diskSignatureText(sector.bytes);
  }
}

struct Progress {
  std::vector<std::string> prepared;        // drives made bootable, each with a copy of org.bcd
  std::vector<std::string> said;            // drives whose outcome has been shown
  std::vector<std::string> withoutWindows;  // drives probed where no Windows was found
  bool stopped = false;                     // org.bcd could not be imported
};

bool holds(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

void prepare(Context& context, Progress& progress) {
  const Preparation result = preparePartition(context);
  progress.stopped = result == Preparation::storeNotRestored;
  if (result == Preparation::prepared) progress.prepared.push_back(context.state.targetDrive);
  if (!progress.stopped) progress.said.push_back(context.state.targetDrive);
}

// Prepares, letter by letter, every partition whose signature is one of the disks' and that holds Windows.
void prepareMatchingPartitions(Context& context, Progress& progress) {
  ProgramState& state = context.state;
  exportMountedDevices(context);
  const std::string narrowed = readCapture(context.os, CaptureSlot::narrowedExport);
  for (char letter = 'C'; letter <= 'Z' && !progress.stopped; ++letter) {
    for (const std::string& signature : signaturesOf(narrowed, letter)) {
      for (int disk = 0; disk < scannedDiskCount && !progress.stopped; ++disk) {
        if (!signatureMatches(signature, state.diskSignatures, disk, letter, state.systemDrive)) continue;
        state.targetDrive = std::string(1, letter) + ":";
        if (probeWindows(context)) {
          prepare(context, progress);
        } else if (!holds(progress.withoutWindows, state.targetDrive)) {
          progress.withoutWindows.push_back(state.targetDrive);
        }
      }
    }
  }
}

bool isDriveDesignator(const std::string& text) {
  return text.size() == 2 && text[0] >= 'A' && text[0] <= 'Z' && text[1] == ':';
}

// Why the scan never made the partition of a listed system bootable.
const std::string& whyNotReached(const Context& context, const Progress& progress, const std::string& drive) {
  if (!isDriveDesignator(drive)) return messages::hasNoLetter;
  if (holds(progress.withoutWindows, drive)) return messages::noWindowsFound;
  const auto& signatures = context.state.diskSignatures;
  const bool aDiskDidNotRead = std::find(signatures.begin(), signatures.end(), "") != signatures.end();
  return aDiskDidNotRead ? messages::diskNotRead : messages::onNoDisk;
}

// Every partition the store starts a system from, other than the system drive, that the scan gave no
// message is said too, with why, so that the user knows which systems still start only through the system
// store. A partition without a letter is named by its device as listed.
void sayWhatWasNotReached(Context& context, Progress& progress, const StoreListing& start) {
  for (const ListedEntry& entry : start.entries) {
    const std::string drive = deviceDrive(entry.device);
    const std::string listed = middlePart(entry.device, 25);
    const std::string name = isDriveDesignator(drive) ? drive : listed.substr(listed.find('=') + 1);
    if (entry.isBootManager() || drive == context.state.systemDrive || holds(progress.said, name)) continue;
    progress.said.push_back(name);
    context.state.optionTwoText = messages::partitionNotBootable(name);
    context.screen.setColour(bandBackground, bodyBackground);
    context.screen.locate(15, 1);
    context.screen.printText(context.state.optionTwoText, LineEnd::no);
    context.screen.locate(16, 1);
    context.screen.printText(whyNotReached(context, progress, drive), LineEnd::no);
    context.screen.waitKey();
  }
}

// After a failure the live store may be trimmed for the partition before, half written or gone: put the
// full store back from org.bcd, or from the copy of it that a prepared partition carries. It is back only
// when the listing shows again the entries the run started with.
bool putFullStoreBack(Context& context, const Progress& progress, const std::vector<ListedEntry>& original) {
  std::vector<std::string> backups = {backupStoreFile};
  for (const auto& drive : progress.prepared) backups.push_back(drive + "\\Boot\\" + backupStoreFile);
  for (const auto& backup : backups) {
    if (runCommand(context, importStoreCommand(backup)) == 0 && listStore(context).entries == original) return true;
  }
  return listStore(context).entries == original;
}

void stopWith(Context& context, const Progress& progress, const StoreListing& start, const std::string& asBefore,
              const std::string& notBack) {
  showOnRow15(context, putFullStoreBack(context, progress, start.entries) ? asBefore : notBack);
}

}  // namespace

void eliminationRun(Context& context) {
  ProgramState& state = context.state;
  const StoreListing start = listStore(context);
  // The boot manager and two systems at the least.
  if (start.entries.size() < 3) return showOnRow15(context, messages::noMultiboot);
  if (const std::string reason = reasonNotToStart(context, start); !reason.empty()) {
    return showOnRow15(context, reason);
  }
  if (!systemDriveHasBootManager(context)) return showOnRow15(context, messages::noBootManager);
  if (!saveBackup(context, start)) return showOnRow15(context, messages::backupNotWritten);
  readDiskSignatures(context);

  Progress progress;
  prepareMatchingPartitions(context, progress);
  if (!progress.stopped) sayWhatWasNotReached(context, progress, start);
  const std::string& drive = state.systemDrive;
  const Preparation system =
      progress.stopped ? Preparation::storeNotRestored : trimSystemStore(context, progress.prepared);
  if (system == Preparation::storeNotRestored) {
    return stopWith(context, progress, start, messages::stoppedStoreAsBefore, messages::stoppedStoreNotBack);
  }
  if (system == Preparation::systemNotTrimmed) {
    return stopWith(context, progress, start, messages::systemNotTrimmedAsBefore(drive),
                    messages::systemNotTrimmedNotBack(drive));
  }
  if (runCommand(context, importStoreCommand(trimmedStoreFile)) != 0) {
    stopWith(context, progress, start, messages::finalImportFailedAsBefore, messages::finalImportFailedNotBack);
  }
}

}  // namespace quillfex
