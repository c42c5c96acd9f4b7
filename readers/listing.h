#pragma once
// Questions answered from the boot-configuration editor's default listing. Each scan runs the listing
// command itself, reads capture file 0 once from top to bottom into lineBuffer, and closes it. An entry
// begins with its header line ("identifier", or "id" and 8 blanks, in columns 1 to 10; the id from column
// 25), and the line right after a header is its device line, whose last two characters are its drive.

#include <functional>
#include <string>

#include "core/context.h"

namespace quillfex {

// Whether the boot manager's entry ("{bootmgr}") lies on drive. scratchFlag is 0 before the listing runs
// and 1 once a boot manager entry on drive has been seen.
bool findBootManagerDevice(Context& context, const std::string& drive);

// How many entry header lines the listing has, the boot manager's included; counted in scratchFlag.
int countEntries(Context& context);

// Calls onId with the id of every entry other than the boot manager whose device does not lie on drive,
// in listing order, before reading on, so that the caller may act on each entry as it is found.
void foreignEntryIds(Context& context, const std::string& drive,
                     const std::function<void(const std::string& id)>& onId);

}  // namespace quillfex
