#pragma once
// Questions answered from the boot-configuration editor's default listing, each a pure reading of the
// listing's text, and all of them of the entries as listedEntries reads them. An entry begins with its
// header line, and the line right after a header is its device line, whose last two characters are its
// drive, unless that line is a header too: the entry before it was cut off and has no device line, and
// every header, {bootmgr}'s included, begins an entry of its own. A header is "identifier", or "id" and 8
// blanks, in columns 1 to 10, or any line right after a title's line of dashes: an editor in another
// display language translates the key (and writes it in the console's code page) but not the layout, so
// the id stays in column 25.

#include <string>
#include <string_view>
#include <vector>

#include "readers/captured_lines.h"

namespace quillfex {

// Whether line heads an entry by its English key: "identifier", or "id" and 8 blanks, in columns 1 to 10,
// letter case exact.
bool isHeader(std::string_view line);

// A listing read line by line as CapturedLines reads it, telling which lines head an entry: those with an
// English key, and the line right after a title's line of dashes, whatever its key says.
class ListingLines {
 public:
  // The text must outlive the reading.
  explicit ListingLines(std::string_view listing) : lines_(listing) {}

  bool atEnd() const { return lines_.atEnd(); }
  // The next line ("" once the end has been reached).
  std::string readLine();
  // Whether the line read last heads an entry.
  bool headsEntry() const { return headsEntry_; }

 private:
  CapturedLines lines_;
  bool headsEntry_ = false;
  bool beforeIsDashes_ = false;    // the line before the last one read is a line of dashes
  bool beforeIsTitle_ = false;     // ... is a line that may stand above a line of dashes
  bool twoBeforeIsTitle_ = false;  // the line before that one may
};

// The id of a header line: everything from column 25, blanks included; "" for a shorter line.
std::string entryIdOf(std::string_view header);

// Whether a device line lies on drive: its last two characters are drive, letter case exact.
bool deviceIsOn(std::string_view deviceLine, std::string_view drive);

// The drive an entry's device line ends in ("C:"), as deviceIsOn compares it.
std::string deviceDrive(std::string_view deviceLine);

// One entry of a listing: its id and its device line ("" when the listing ends after the header, or the
// next header follows it).
struct ListedEntry {
  std::string id;
  std::string device;
  bool isBootManager() const { return id == "{bootmgr}"; }
  bool operator==(const ListedEntry&) const = default;
};

// The entries of a listing's text, in listing order: one for each header, in any language.
std::vector<ListedEntry> listedEntries(std::string_view listing);

// Whether an entry "{bootmgr}" has its device line on drive.
bool bootManagerDeviceIn(std::string_view listing, const std::string& drive);

// How many entries the listing has, the boot manager's included: one for each header line.
int entryCountIn(std::string_view listing);

// What a scan for foreign entries saw of the entries it keeps.
struct KeptEntries {
  bool bootManager = false;  // the boot manager's entry was listed
  int onDrive = 0;           // entries besides the boot manager whose device lies on the drive
  bool operator==(const KeptEntries&) const = default;
};

struct ForeignEntries {
  KeptEntries kept;
  std::vector<ListedEntry> foreign;  // entries besides the boot manager not on the drive, in listing order
};

// The entries a trimming for drive keeps and those it deletes.
ForeignEntries foreignEntriesIn(std::string_view listing, const std::string& drive);

// Whether the entries are those of a store that boots drive: the boot manager and an entry on drive.
bool listsBootManagerAndEntryOn(const std::vector<ListedEntry>& entries, const std::string& drive);

}  // namespace quillfex
