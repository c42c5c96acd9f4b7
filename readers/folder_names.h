#pragma once
// The names in a bare folder listing ("dir /b /a"), one a line: the probe of \Windows\System32 for names
// beginning with b, and the listing of a drive's root. The interpreter writes no line for a pattern that
// matches nothing; its "File not found." goes to standard error, not into the capture.

#include <string_view>

namespace quillfex {

// Whether a line of a bare listing names a file: any line that is not empty.
bool namesAFile(std::string_view line);

// Whether a line of a root's bare listing names the boot manager's file: "bootmgr" in any letter case.
bool namesBootManager(std::string_view line);

// Whether the probe's listing names any file.
bool windowsProbeIn(std::string_view listing);

// Whether a root's listing names \bootmgr.
bool bootManagerFileIn(std::string_view listing);

}  // namespace quillfex
