#pragma once
// The program's start and its common ending.

#include "state/context.h"

namespace quillfex {

enum class StartUp {
  menu,     // every check passed: on to the menu
  refused,  // the boot manager is not on the system drive: clean up
  ended,    // not in the boot folder, or no administrator rights: nothing was written, nothing to clean up
};

// Hides the console, opens the screen, changes into the boot folder and checks it, checks the rights by
// reading disk 0, writes out the editor and checks that the boot manager lives on the system drive.
StartUp startUp(Context& context);

// Deletes every file the program made for its own use (the capture files, lid.bcd and the editor);
// never org.bcd, the backup.
void cleanUp(Context& context);

}  // namespace quillfex
