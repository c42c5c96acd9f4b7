#include "app/main_menu.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/boot_files.h"
#include "app/elimination_run.h"
#include "app/messages.h"
#include "data/data_image.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/whole_file.h"
#include "readers/listing.h"
#include "screen/menu_screen.h"

namespace quillfex {

namespace {

constexpr char enter = 13;
constexpr char escape = 27;
// A short pause between polls keeps an idle menu from taking a whole processor core.
constexpr auto pollPause = std::chrono::milliseconds(2);

std::string nextKey(Screen& screen) {
  for (std::string key = screen.pollKey();; key = screen.pollKey()) {
    if (!key.empty()) return key;
    std::this_thread::sleep_for(pollPause);
  }
}

void moveSelection(ProgramState& state) {
  const std::string& key = state.lineBuffer;
  if (key.size() != 2) return;
  if (key[1] == 'H') {
    state.selectedRow -= 2;
    if (state.selectedRow < 14) state.selectedRow = 16;
  }
  if (key[1] == 'P') {
    state.selectedRow += 2;
    if (state.selectedRow > 16) state.selectedRow = 14;
  }
}

// The store is back when the listing shows the boot manager and a system on the system drive, and, where
// the run that saved org.bcd kept its listing, exactly the entries that listing holds.
bool storeIsBack(Context& context) {
  const std::vector<ListedEntry> live = listStore(context).entries;
  const auto saved = readWholeFile(context.os, backupListingFile);
  if (saved) return !live.empty() && live == listedEntries(*saved);
  const auto onSystemDrive = [&](const ListedEntry& entry) {
    return !entry.isBootManager() && deviceDrive(entry.device) == context.state.systemDrive;
  };
  const bool bootManager =
      std::any_of(live.begin(), live.end(), [](const auto& entry) { return entry.isBootManager(); });
  return bootManager && std::any_of(live.begin(), live.end(), onSystemDrive);
}

}  // namespace

void mainMenu(Context& context) {
  ProgramState& state = context.state;
  for (;;) {
    drawMenu(context.screen, state, state.itemCursor, gradientStepsStore);
    state.lineBuffer = nextKey(context.screen);
    moveSelection(state);
    if (state.lineBuffer[0] == enter || state.lineBuffer[0] == escape) break;
  }
  if (state.lineBuffer[0] == escape) return;
  if (state.selectedRow == 16) return restoreBootManager(context);
  eliminationRun(context);
}

void restoreBootManager(Context& context) {
  const auto backup = readWholeFile(context.os, "org.bcd");
  const int status = runCommand(context, importStoreCommand("org.bcd"));
  const bool imported = backup && !backup->empty() && status == 0;
  const std::string& outcome = !imported              ? messages::nothingRestored
                               : storeIsBack(context) ? messages::bootManagerBack
                                                      : messages::restoreNotAsSaved;
  context.screen.setColour(bandBackground, bodyBackground);
  context.screen.locate(15, 1);
  context.screen.printText(outcome, LineEnd::no);
  context.screen.waitKey();
}

}  // namespace quillfex
