#pragma once
// The capture: what the program reads of a machine, recorded as files in one folder, so that winsim can make
// a replica of the machine to rehearse on. It reads through the same seam and runs the same command lines
// as the program, and changes nothing on the machine: the editor it writes out into the temporary folder and
// the capture files there are removed again.
//
// In the folder: capture.toml (system_drive, temp, elevated, code_page and windows_version as chcp and ver
// print them, version), listing.txt (the editor's default listing), MountedDevices.reg (the registry
// editor's export), disk0.bin to disk3.bin (sector 0 of each disk that reads), and for every drive letter the
// export names root-X.txt, boot-X.txt and system32-X.txt (bare listings of X:\, X:\Boot and
// X:\Windows\System32\b*), each byte for byte as the command wrote it.

#include <functional>
#include <string>

#include "state/context.h"

namespace quillfex {

// The name of the default capture folder, made beside the executable.
inline constexpr const char* captureFolderName = "Quillfex-capture";

// Receives a line for the person who runs the capture: a file written, or something that could not be read.
using CaptureLine = std::function<void(const std::string& line)>;

// Records the machine into folder (a Windows path, relative to the current directory or full; made when
// missing, and cleared of an earlier capture's files). version goes into capture.toml. Returns 0 when the
// capture was written, 1 when the folder could not be made or written to.
int captureMachine(Context& context, const std::string& folder, const std::string& version, const CaptureLine& say);

}  // namespace quillfex
