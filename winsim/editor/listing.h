#pragma once
// The editor's default listing as Windows 7 prints it: the boot manager, then the entries of its display
// order, each a section title, a rule of dashes as long as the title, the header line with the id in byte
// column 25, the device line right after it, then the path and the description and the other fields: those
// the entry carries, in its order, or else those winsim lists by itself for its kind. Lines end in CR LF. A
// display language words the titles and the header's key, in its code page; the rest stays English.

#include <string>

#include "machine/machine.h"

namespace winsim {

std::string formatListing(const BootStore& store, const ListingText& words);
// In English.
std::string formatListing(const BootStore& store, HeaderStyle header);

}  // namespace winsim
