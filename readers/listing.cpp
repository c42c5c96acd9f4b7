#include "readers/listing.h"

#include <algorithm>

#include "text/text.h"

namespace quillfex {

namespace {

const std::string longHeader = "identifier";
const std::string shortHeader = "id        ";
const std::string bootManagerId = "{bootmgr}";
constexpr long idColumn = 25;

// A title's underline: the editor writes a line of dashes below each section's title.
bool isDashes(std::string_view line) { return !line.empty() && line.find_first_not_of('-') == std::string_view::npos; }

}  // namespace

bool isHeader(std::string_view line) {
  const std::string start = leftPart(line, 10);
  return start == longHeader || start == shortHeader;
}

std::string ListingLines::readLine() {
  std::string line = lines_.readLine();
  const bool dashes = isDashes(line);
  headsEntry_ = isHeader(line) || (beforeIsDashes_ && twoBeforeIsTitle_);
  twoBeforeIsTitle_ = beforeIsTitle_;
  beforeIsTitle_ = !line.empty() && !dashes;
  beforeIsDashes_ = dashes;
  return line;
}

std::string entryIdOf(std::string_view header) { return middlePart(header, idColumn); }

bool deviceIsOn(std::string_view deviceLine, std::string_view drive) { return deviceDrive(deviceLine) == drive; }

std::string deviceDrive(std::string_view deviceLine) { return rightPart(deviceLine, 2); }

bool bootManagerDeviceIn(std::string_view listing, const std::string& drive) {
  bool onDrive = false;
  ListingLines lines(listing);
  while (!lines.atEnd()) {
    const std::string line = lines.readLine();
    if (!lines.headsEntry() || entryIdOf(line) != bootManagerId) continue;
    if (deviceIsOn(lines.readLine(), drive)) onDrive = true;
  }
  return onDrive;
}

int entryCountIn(std::string_view listing) {
  int count = 0;
  ListingLines lines(listing);
  while (!lines.atEnd()) {
    lines.readLine();
    if (lines.headsEntry()) ++count;
  }
  return count;
}

ForeignEntries foreignEntriesIn(std::string_view listing, const std::string& drive) {
  ForeignEntries entries;
  ListingLines lines(listing);
  while (!lines.atEnd()) {
    const std::string line = lines.readLine();
    if (!lines.headsEntry()) continue;
    if (entryIdOf(line) == bootManagerId) {
      entries.kept.bootManager = true;
      continue;
    }
    const std::string id = entryIdOf(line);
    const std::string device = lines.readLine();
    if (deviceIsOn(device, drive)) {
      ++entries.kept.onDrive;
    } else {
      entries.foreign.push_back({id, device});
    }
  }
  return entries;
}

bool listsBootManagerAndEntryOn(const std::vector<ListedEntry>& entries, const std::string& drive) {
  const auto has = [&](auto predicate) { return std::any_of(entries.begin(), entries.end(), predicate); };
  return has([](const ListedEntry& entry) { return entry.isBootManager(); }) &&
         has([&](const ListedEntry& entry) { return !entry.isBootManager() && deviceDrive(entry.device) == drive; });
}

std::vector<ListedEntry> listedEntries(std::string_view listing) {
  std::vector<ListedEntry> entries;
  ListingLines lines(listing);
  while (!lines.atEnd()) {
    const std::string line = lines.readLine();
    if (lines.headsEntry()) entries.push_back({entryIdOf(line), lines.readLine()});
  }
  return entries;
}

}  // namespace quillfex
