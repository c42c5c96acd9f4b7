#include "app/main_menu.h"

#include <chrono>
#include <thread>

#include "app/elimination_run.h"
#include "app/messages.h"
#include "data/data_image.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/whole_file.h"
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
  const bool restored = backup && !backup->empty() && status == 0;
  context.screen.setColour(0xD827BC, 0xFFD0FF);
  context.screen.locate(15, 1);
  context.screen.printText(restored ? messages::bootManagerBack : messages::nothingRestored, LineEnd::no);
  context.screen.waitKey();
}

}  // namespace quillfex
