#include "readers/listing.h"

#include <algorithm>

#include "text/text.h"

namespace quillfex {

namespace {

const std::string longHeader = "identifier";
const std::string shortHeader = "id        ";
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

std::vector<ListedEntry> listedEntries(std::string_view listing) {
  std::vector<ListedEntry> entries;
  ListingLines lines(listing);
  std::string line;
  bool heads = false;
  while (heads || !lines.atEnd()) {
    if (!heads) {
      line = lines.readLine();
      heads = lines.headsEntry();
      continue;
    }
    ListedEntry entry{entryIdOf(line), ""};
    heads = false;
    if (!lines.atEnd()) {
      line = lines.readLine();
      heads = lines.headsEntry();
      // A header right after a header begins an entry of its own: the one before was cut off.
      if (!heads) entry.device = line;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

bool bootManagerDeviceIn(std::string_view listing, const std::string& drive) {
  const std::vector<ListedEntry> entries = listedEntries(listing);
  return std::any_of(entries.begin(), entries.end(), [&](const ListedEntry& entry) {
    return entry.isBootManager() && deviceIsOn(entry.device, drive);
  });
}

int entryCountIn(std::string_view listing) { return static_cast<int>(listedEntries(listing).size()); }

ForeignEntries foreignEntriesIn(std::string_view listing, const std::string& drive) {
  ForeignEntries entries;
  for (ListedEntry& entry : listedEntries(listing)) {
    if (entry.isBootManager()) {
      entries.kept.bootManager = true;
    } else if (deviceIsOn(entry.device, drive)) {
      ++entries.kept.onDrive;
    } else {
      entries.foreign.push_back(std::move(entry));
    }
  }
  return entries;
}

bool listsBootManagerAndEntryOn(const std::vector<ListedEntry>& entries, const std::string& drive) {
  const auto has = [&](auto predicate) { return std::any_of(entries.begin(), entries.end(), predicate); };
  return has([](const ListedEntry& entry) { return entry.isBootManager(); }) &&
         has([&](const ListedEntry& entry) { return !entry.isBootManager() && deviceDrive(entry.device) == drive; });
}

}  // namespace quillfex
