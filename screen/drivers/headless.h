#pragma once
// The driver without a display, for scripted runs and tests.

#include <memory>
#include <string>
#include <vector>

#include "screen/driver.h"
#include "screen/key_script.h"

namespace quillfex {

struct HeadlessSettings {
  std::vector<ScriptedKey> script;  // pressed one at a time, whenever the program wants a key and none waits
  std::string snapshotsFolder;      // "": none; else wait-001.png, wait-002.png, ... at each wait, exit.png
  std::string exitSnapshotPath;     // "": none; else the surface as the screen closes
};

// When the program waits for a key after the script is used up, the driver saves the exit snapshots and
// ends the process with status 3 and "key script exhausted" on standard error.
std::unique_ptr<ScreenDriver> makeHeadlessDriver(HeadlessSettings settings);

}  // namespace quillfex
