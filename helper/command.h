#pragma once
// Running external commands and naming the capture files that receive their output.

#include <string>

#include "state/context.h"

namespace quillfex {

// The capture files: "\Quillfex.000" to "\Quillfex.003" in the temporary folder, one for each kind of output.
enum class CaptureSlot {
  listing,         // 0: the editor's listings, and the listings of a drive's root or boot folder
  registryExport,  // 1: the MountedDevices export as the registry editor writes it
  narrowedExport,  // 2: that export narrowed to 8-bit characters
  windowsProbe,    // 3: the names in a target's \Windows\System32 beginning with b
};
inline constexpr CaptureSlot captureSlots[] = {CaptureSlot::listing, CaptureSlot::registryExport,
                                               CaptureSlot::narrowedExport, CaptureSlot::windowsProbe};

// Hands one command line, unchanged, to the command interpreter and returns when it has ended, with the
// interpreter's status (-1 when it could not start). Outcomes are judged by what the command leaves on disk,
// and by the status only where a failure would otherwise cost the user's boot configuration.
int runCommand(Context& context, const std::string& line);

// Runs a command line that writes the capture file, removing the file first, so that what it holds after is
// this command's output and never an earlier run's.
int runIntoCapture(Context& context, const std::string& line, CaptureSlot slot);

// The full path of a capture file: the value of temp, read now, followed by "\Quillfex.00n".
std::string capturePath(Os& os, CaptureSlot slot);

// A capture file as the command wrote it; "" when it wrote none.
std::string readCapture(Os& os, CaptureSlot slot);

// A capture file as a command line names it: "%temp%\Quillfex.00n", which the interpreter expands. When the
// value of temp holds a blank or another character that the interpreter splits at or acts on
// ("C:\Users\John Smith\AppData\Local\Temp"), the name is put in double quotes, else the expanded path
// would fall apart into several words.
std::string captureArgument(Os& os, CaptureSlot slot);

}  // namespace quillfex
