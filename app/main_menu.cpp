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

// The user changed the store since org.bcd was saved when it lists an entry that org.bcd's listing does not:
// importing org.bcd over it would lose their change. A store this program trimmed lists only saved entries.
bool changedSinceBackup(Context& context, const std::vector<ListedEntry>& live) {
  const auto saved = readWholeFile(context.os, backupListingFile);
  if (!saved) return false;
  const std::vector<ListedEntry> savedEntries = listedEntries(*saved);
  return std::any_of(live.begin(), live.end(), [&](const ListedEntry& entry) {
    return std::find(savedEntries.begin(), savedEntries.end(), entry) == savedEntries.end();
  });
}

void showRestoreOutcome(Context& context, const std::string& outcome) {
  context.screen.setColour(bandBackground, bodyBackground);
  context.screen.locate(15, 1);
  context.screen.printText(outcome, LineEnd::no);
  context.screen.waitKey();
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
  if (!backup || backup->empty()) return showRestoreOutcome(context, messages::nothingRestored);
  const std::vector<ListedEntry> live = listStore(context).entries;
  // The start-up has just listed the store; a listing that fails now cannot tell whether the user changed it.
  const bool compares = !fileExists(context.os, backupListingFile) || !live.empty();
  if (!compares) return showRestoreOutcome(context, messages::storeNotListed);
  if (changedSinceBackup(context, live)) return showRestoreOutcome(context, messages::changedSinceBackup);
  if (runCommand(context, importStoreCommand("org.bcd")) != 0) {
    // A failed import may still have removed or half written the store; say so when it no longer lists
    // what it did.
    if (listStore(context).entries == live) return showRestoreOutcome(context, messages::nothingRestored);
    return showRestoreOutcome(context, messages::restoreDamagedStore(context.state.systemDrive));
  }
  showRestoreOutcome(context, storeIsBack(context) ? messages::bootManagerBack : messages::restoreNotAsSaved);
}

}  // namespace quillfex
