#include "app/main_menu.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "app/boot_files.h"
#include "app/elimination_run.h"
#include "app/messages.h"
#include "app/scans.h"
#include "data/data_image.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/whole_file.h"
#include "screen/key_codes.h"
#include "screen/menu_screen.h"

namespace quillfex {

namespace {

// A short pause between polls keeps an idle menu from taking a whole processor core.
constexpr auto pollPause = std::chrono::milliseconds(2);

std::string nextKey(Screen& screen) {
  for (std::string key = screen.pollKey();; key = screen.pollKey()) {
    if (!key.empty()) return key;
    std::this_thread::sleep_for(pollPause);
  }
}

struct MenuEntry {
  std::string text;
  void (*action)(Context& context);  // what Enter on it starts
};

std::vector<MenuEntry> menuEntries(const ProgramState& state) {
  return {{messages::optionOne, eliminationRun}, {state.optionTwoText, restoreBootManager}};
}

// The arrows move the selection round the entries.
void moveSelection(ProgramState& state, const std::string& key, int entryCount) {
  if (key.size() != 2) return;
  if (key[1] == upArrowCode) state.selectedRow = (state.selectedRow + entryCount - 1) % entryCount;
  if (key[1] == downArrowCode) state.selectedRow = (state.selectedRow + 1) % entryCount;
}

// The store is back when the listing shows the boot manager and a system on the system drive, and, where
// the run that saved org.bcd kept its listing, exactly the entries that listing holds.
bool storeIsBack(Context& context, const std::optional<std::vector<ListedEntry>>& saved) {
  const std::vector<ListedEntry> live = listStore(context).entries;
  if (saved) return !live.empty() && live == *saved;
  return listsBootManagerAndEntryOn(live, context.state.systemDrive);
}

// The user changed the store since org.bcd was saved when it lists an entry that org.bcd's listing does not:
// importing org.bcd over it would lose their change. A store this program trimmed lists only saved entries.
bool changedSinceBackup(const std::vector<ListedEntry>& saved, const std::vector<ListedEntry>& live) {
  return std::any_of(live.begin(), live.end(), [&](const ListedEntry& entry) {
    return std::find(saved.begin(), saved.end(), entry) == saved.end();
  });
}

void showRestoreOutcome(Context& context, const std::string& outcome) {
  context.screen.setColour(bandBackground, bodyBackground);
  context.screen.locate(15, 1);
  context.screen.printText(outcome, LineEnd::no);
  context.screen.waitKey();
}

}  // namespace

void drawMainMenu(Context& context) {
  std::vector<std::string> texts;
  for (const MenuEntry& entry : menuEntries(context.state)) texts.push_back(entry.text);
  drawMenu(context.screen, texts, static_cast<std::size_t>(context.state.selectedRow), gradientStepsStore);
}

void mainMenu(Context& context) {
  ProgramState& state = context.state;
  const std::vector<MenuEntry> entries = menuEntries(state);
  std::string key;
  for (;;) {
    drawMainMenu(context);
    key = nextKey(context.screen);
    moveSelection(state, key, static_cast<int>(entries.size()));
    if (key[0] == enterCharacter || key[0] == escapeCharacter) break;
  }
  if (key[0] == escapeCharacter) return;
  entries[static_cast<std::size_t>(state.selectedRow)].action(context);
}

void restoreBootManager(Context& context) {
  const auto backup = readWholeFile(context.os, backupStoreFile);
  if (!backup || backup->empty()) return showRestoreOutcome(context, messages::nothingRestored);
  const auto savedListing = readWholeFile(context.os, backupListingFile);
  const auto saved = savedListing ? std::optional(listedEntries(*savedListing)) : std::nullopt;
  const std::vector<ListedEntry> live = listStore(context).entries;
  // The start-up has just listed the store; a listing that fails now cannot tell whether the user changed it.
  if (saved && live.empty()) return showRestoreOutcome(context, messages::storeNotListed);
  if (saved && changedSinceBackup(*saved, live)) return showRestoreOutcome(context, messages::changedSinceBackup);
  if (runCommand(context, importStoreCommand(backupStoreFile)) != 0) {
    // A failed import may still have removed or half written the store; say so when it no longer lists
    // what it did.
    if (listStore(context).entries == live) return showRestoreOutcome(context, messages::nothingRestored);
    return showRestoreOutcome(context, messages::restoreDamagedStore(context.state.systemDrive));
  }
  showRestoreOutcome(context, storeIsBack(context, saved) ? messages::bootManagerBack : messages::restoreNotAsSaved);
}

}  // namespace quillfex
