#include "app/start_up.h"

#include "app/messages.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "helper/extract_helper.h"
#include "readers/disk_sector.h"
#include "readers/listing.h"
#include "screen/screen.h"
#include "text/text.h"

namespace quillfex {

namespace {

constexpr std::size_t currentDirectoryRoom = 260;
constexpr std::int32_t diskDidNotOpen = 6;

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

void endWith(Context& context, const std::string& message) {
  context.screen.printEmptyLine();
  context.screen.printText(message, LineEnd::yes);
  context.screen.waitKey();
}

}  // namespace

StartUp startUp(Context& context) {
  ProgramState& state = context.state;
  context.os.hideConsoleWindow();
  openTheScreen(context);
  state.selectedRow = 14;
  state.optionTwoText = messages::optionTwo;
  state.systemDrive = context.os.environmentVariable("SystemDrive");
  context.os.changeDirectory(state.systemDrive + "\\Boot");
  if (!inBootFolder(context)) {
    endWith(context, messages::cannotFindBootFiles);
    return StartUp::ended;
  }
  readSector(context, 0, 0, 0);
  if (state.lastStatus == diskDidNotOpen) {
    endWith(context, messages::needRights);
    return StartUp::ended;
  }
  context.screen.locate(8, 34, 0);
  context.screen.printText(messages::initialize, LineEnd::yes);
  extractHelper(context);
  if (findBootManagerDevice(context, state.systemDrive)) return StartUp::menu;
  context.screen.clearScreen();
  context.screen.locate(2, 3);
  context.screen.printText(messages::notBootPartition, LineEnd::yes);
  context.screen.waitKey();
  return StartUp::refused;
}

void cleanUp(Context& context) {
  context.screen.locate(0, 0, 1);
  for (int n = 0; n < 4; ++n) context.os.deleteFile(capturePath(context.os, n));
  context.os.deleteFile("lid.bcd");
  context.os.deleteFile(helperFileName);
}

}  // namespace quillfex
