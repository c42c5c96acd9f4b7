#include "app/partition_preparation.h"

#include <algorithm>

#include "app/boot_files.h"
#include "app/messages.h"
#include "data/data_image.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/text_file.h"
#include "platform/whole_file.h"
#include "readers/listing.h"
#include "screen/menu_screen.h"

namespace quillfex {

namespace {

constexpr Pixel messageColour = 0xD827BC;

// The target's old store stays beside the new one; with nothing to put in its place it stays where it is.
void makeCopiedStoreTheTargetsStore(Context& context, const std::string& drive) {
  const std::string store = drive + "\\Boot\\BCD";
  const std::string copied = drive + "\\Boot\\lid.bcd";
  std::string kept;
  if (fileExists(context.os, store) && fileExists(context.os, copied)) kept = moveAside(context.os, store, ".bak");
  runCommand(context, renameCopiedStoreCommand(drive));
  if (!kept.empty() && !fileExists(context.os, store)) context.os.renameFile(kept, store);
}

bool targetIsBootable(Context& context, const std::string& drive) {
  const auto targetStore = readWholeFile(context.os, drive + "\\Boot\\BCD");
  const auto trimmedStore = readWholeFile(context.os, "lid.bcd");
  return targetStore && trimmedStore && !trimmedStore->empty() && *targetStore == *trimmedStore &&
         fileExists(context.os, drive + "\\bootmgr");
}

void deleteForeignEntries(Context& context) {
  foreignEntryIds(context, context.state.targetDrive, [&](const std::string& id) {
    if (!isSafeEntryId(id)) return;
    context.state.entryId = id;
    runCommand(context, deleteEntryCommand(context.state.entryId));
  });
}

void copyBootFilesToTarget(Context& context, const std::string& drive) {
  context.screen.setColour(0xFFD0FF, 0xFFD0FF);
  runCommand(context, copyBootFolderCommand(drive));
  context.os.deleteFile(drive + "\\Boot\\" + helperFileName);
  context.screen.setColour(messageColour, 0xFFD0FF);
  makeCopiedStoreTheTargetsStore(context, drive);
  runCommand(context, copyBootManagerCommand(drive));
}

}  // namespace

bool isSafeEntryId(const std::string& id) {
  if (id.size() < 3 || id.front() != '{' || id.back() != '}') return false;
  return std::all_of(id.begin() + 1, id.end() - 1, [](unsigned char c) { return std::isalnum(c) || c == '-'; });
}

void probeWindows(Context& context) {
  ProgramState& state = context.state;
  state.lastStatus = 1;
  runCommand(context, probeWindowsCommand(context.os, state.targetDrive));
  drawMenu(context.screen, state, state.itemCursor, gradientStepsStore);
  TextFile listing = openTextFile(context.os, capturePath(context.os, 3));
  while (!listing.atEnd()) {
    state.probeLine = listing.readLine();
    if (!state.probeLine.empty()) state.lastStatus = 0;
  }
}

Preparation preparePartition(Context& context) {
  ProgramState& state = context.state;
  if (runCommand(context, importStoreCommand("org.bcd")) != 0) return Preparation::storeNotRestored;
  deleteForeignEntries(context);
  runCommand(context, exportStoreCommand("lid.bcd"));
  if (state.targetDrive == state.systemDrive) return Preparation::systemTrimmed;

  const std::string drive = state.targetDrive;
  copyBootFilesToTarget(context, drive);
  const bool bootable = targetIsBootable(context, drive);
  state.optionTwoText = bootable ? messages::partitionBootable(drive) : messages::partitionNotBootable(drive);
  context.screen.locate(15, 1);
  context.screen.setColour(messageColour, 0xFFD0FF);
  context.screen.printText(state.optionTwoText, LineEnd::no);
  context.screen.waitKey();
  return bootable ? Preparation::prepared : Preparation::notBootable;
}

}  // namespace quillfex
