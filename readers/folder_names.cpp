#include "readers/folder_names.h"

#include "readers/captured_lines.h"
#include "text/text.h"

namespace quillfex {

namespace {

template <typename Pick>
bool anyLine(std::string_view listing, Pick pick) {
  CapturedLines lines(listing);
  while (!lines.atEnd()) {
    if (pick(lines.readLine())) return true;
  }
  return false;
}

}  // namespace

bool namesAFile(std::string_view line) { return !line.empty(); }

bool namesBootManager(std::string_view line) { return lowerCase(line) == "bootmgr"; }

bool windowsProbeIn(std::string_view listing) { return anyLine(listing, namesAFile); }

bool bootManagerFileIn(std::string_view listing) { return anyLine(listing, namesBootManager); }

}  // namespace quillfex
