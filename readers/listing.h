#pragma once
// Questions answered from the boot-configuration editor's default listing. Each scan runs the listing
// command itself, reads capture file 0 once from top to bottom into lineBuffer, and closes it. An entry
// begins with its header line ("identifier", or "id" and 8 blanks, in columns 1 to 10; the id from column
// 25), and the line right after a header is its device line, whose last two characters are its drive.

#include <functional>
#include <string>
#include <vector>

#include "state/context.h"

namespace quillfex {

// Whether the boot manager's entry ("{bootmgr}") lies on drive. scratchFlag is 0 before the listing runs
// and 1 once a boot manager entry on drive has been seen.
bool findBootManagerDevice(Context& context, const std::string& drive);

// How many entry header lines the listing has, the boot manager's included; counted in scratchFlag.
int countEntries(Context& context);

// What a scan for foreign entries saw of the entries it keeps.
struct KeptEntries {
  bool bootManager = false;  // the boot manager's entry was listed
  int onDrive = 0;           // entries besides the boot manager whose device lies on the drive
};

// Calls onId with the id of every entry other than the boot manager whose device does not lie on drive,
// in listing order, before reading on, so that the caller may act on each entry as it is found; lineBuffer
// then holds the entry's device line.
KeptEntries foreignEntryIds(Context& context, const std::string& drive,
                            const std::function<void(const std::string& id)>& onId);

// One entry of a listing: its id and its device line ("" when the listing ends after the header).
struct ListedEntry {
  std::string id;
  std::string device;
  bool isBootManager() const { return id == "{bootmgr}"; }
  bool operator==(const ListedEntry&) const = default;
};

// The entries of a listing's text, in listing order, read as foreignEntryIds reads them: a header in either
// style, and the line right after it as its device line.
std::vector<ListedEntry> listedEntries(const std::string& listing);

struct StoreListing {
  std::string text;  // the capture file as the editor wrote it; "" when there is none
  std::vector<ListedEntry> entries;
};

// Runs the listing and returns it; scratchFlag counts its header lines, as countEntries does.
StoreListing listStore(Context& context);

// Runs the listing of the store in file, not the live one, and returns it.
StoreListing listStoreFile(Context& context, const std::string& file);

// Whether the entries are those of a store that boots drive: the boot manager and an entry on drive.
bool listsBootManagerAndEntryOn(const std::vector<ListedEntry>& entries, const std::string& drive);

// The drive an entry's device line ends in ("C:"), as deviceIsOn compares it.
std::string deviceDrive(const std::string& deviceLine);

}  // namespace quillfex
