#include "app/start_up.h"

#include "app/messages.h"
#include "app/scans.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "helper/extract_helper.h"
#include "platform/raw_sector.h"
#include "screen/screen.h"
#include "text/text.h"

namespace quillfex {

namespace {

constexpr std::size_t currentDirectoryRoom = 260;

void openTheScreen(Context& context) {
  Screen& screen = context.screen;
  screen.selectDriver("GDI");
  screen.openScreen(640, 288, 32);
  screen.setTextGrid(80, 18);
  screen.clearScreen();
}

// Any drive's \Boot passes, in any letter case; a path too long for the room it is read into does not.
bool inBootFolder(Context& context) {
  const std::string folder = context.os.currentDirectory();
  if (folder.size() >= currentDirectoryRoom) return false;
  return lowerCase(middlePart(folder, 2)) == ":\\boot";
}

void endWith(Context& context, const std::string& message, const std::string& found = "") {
  context.screen.printEmptyLine();
  context.screen.printText(message, LineEnd::yes);
  if (!found.empty()) context.screen.printText(found, LineEnd::yes);
  context.screen.waitKey();
}

struct Refusal {
  std::string message;
  std::string found;  // what the listing showed instead
};

// Why the listing does not put the boot manager on drive: it shows no entry at all, no boot manager, or
// one on another device, named as listed ("partition=E:", "partition=\Device\HarddiskVolume1", "unknown").
Refusal refusalFor(const std::string& listing, const std::string& drive) {
  const std::vector<ListedEntry> entries = listedEntries(listing);
  if (entries.empty()) {
    return {messages::listingUnreadable, listing.empty() ? messages::editorPrintedNothing : messages::noEntryInListing};
  }
  for (const ListedEntry& entry : entries) {
    if (entry.isBootManager()) {
      return {messages::notBootPartition, messages::bootManagerElsewhere(middlePart(entry.device, 25), drive)};
    }
  }
  return {messages::notBootPartition, messages::noBootManagerEntry};
}

}  // namespace

StartUp startUp(Context& context) {
  ProgramState& state = context.state;
  context.os.hideConsoleWindow();
  openTheScreen(context);
  state.selectedRow = 0;
  state.optionTwoText = messages::optionTwo;
  state.systemDrive = context.os.environmentVariable("SystemDrive");
  const bool bootFolderThere = context.os.changeDirectory(state.systemDrive + "\\Boot");
  if (!inBootFolder(context)) {
    endWith(context, messages::cannotFindBootFiles, bootFolderThere ? "" : messages::noBootFolder(state.systemDrive));
    return StartUp::ended;
  }
  if (readSector(context.os, 0, 0, 0).status == diskDidNotOpen) {
    endWith(context, messages::needRights);
    return StartUp::ended;
  }
  context.screen.locate(8, 34, 0);
  context.screen.printText(messages::initialize, LineEnd::yes);
  extractHelper(context.os);
  if (findBootManagerDevice(context, state.systemDrive)) return StartUp::menu;
  const Refusal refusal = refusalFor(readCapture(context.os, CaptureSlot::listing), state.systemDrive);
  context.screen.clearScreen();
  context.screen.locate(2, 3);
  context.screen.printText(refusal.message, LineEnd::yes);
  context.screen.locate(3, 3);
  context.screen.printText(refusal.found, LineEnd::yes);
  context.screen.waitKey();
  return StartUp::refused;
}

void cleanUp(Context& context) {
  context.screen.locate(0, 0, 1);
  for (const CaptureSlot slot : captureSlots) context.os.deleteFile(capturePath(context.os, slot));
  context.os.deleteFile(trimmedStoreFile);
  context.os.deleteFile(helperFileName);
}

}  // namespace quillfex
