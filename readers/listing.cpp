#include "readers/listing.h"

#include <algorithm>

#include "helper/command.h"
#include "helper/command_lines.h"
#include "text/text.h"

namespace quillfex {

namespace {

const std::string longHeader = "identifier";
const std::string shortHeader = "id        ";
const std::string bootManagerId = "{bootmgr}";
constexpr long idColumn = 25;

// Runs the listing and returns capture file 0; "" when the editor wrote none.
std::string runListing(Context& context) {
  runIntoCapture(context, listingCommand(context.os), CaptureSlot::listing);
  return readCapture(context.os, CaptureSlot::listing);
}

// A title's underline: the editor writes a line of dashes below each section's title.
bool isDashes(std::string_view line) { return !line.empty() && line.find_first_not_of('-') == std::string_view::npos; }

void keepLastLine(ProgramState& state, const std::optional<std::string>& line) {
  if (line) state.lineBuffer = *line;
}

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

LinesReading<bool> bootManagerDeviceIn(std::string_view listing, const std::string& drive) {
  LinesReading<bool> reading;
  ListingLines lines(listing);
  while (!lines.atEnd()) {
    reading.lastLine = lines.readLine();
    if (!lines.headsEntry() || entryIdOf(*reading.lastLine) != bootManagerId) continue;
    reading.lastLine = lines.readLine();
    if (deviceIsOn(*reading.lastLine, drive)) reading.answer = true;
  }
  return reading;
}

LinesReading<int> entryCountIn(std::string_view listing) {
  LinesReading<int> reading;
  ListingLines lines(listing);
  while (!lines.atEnd()) {
    reading.lastLine = lines.readLine();
    if (lines.headsEntry()) ++reading.answer;
  }
  return reading;
}

ForeignEntries foreignEntriesIn(std::string_view listing, const std::string& drive) {
  ForeignEntries entries;
  std::optional<std::string>& lastLine = entries.lineAfterLastForeign;
  ListingLines lines(listing);
  while (!lines.atEnd()) {
    lastLine = lines.readLine();
    // Both English header styles become "identifier" in place; the line keeps its length, so the id column
    // stays.
    if (leftPart(*lastLine, 10) == shortHeader) lastLine->replace(0, 10, longHeader);
    if (!lines.headsEntry()) continue;
    if (entryIdOf(*lastLine) == bootManagerId) {
      entries.kept.bootManager = true;
      continue;
    }
    const std::string id = entryIdOf(*lastLine);
    const std::string device = lines.readLine();
    if (deviceIsOn(device, drive)) {
      ++entries.kept.onDrive;
      lastLine = device;
    } else {
      entries.foreign.push_back({id, device});
      lastLine.reset();
    }
  }
  return entries;
}

bool findBootManagerDevice(Context& context, const std::string& drive) {
  ProgramState& state = context.state;
  state.scratchFlag = 0;
  const LinesReading<bool> reading = bootManagerDeviceIn(runListing(context), drive);
  keepLastLine(state, reading.lastLine);
  if (reading.answer) state.scratchFlag = 1;
  return state.scratchFlag == 1;
}

int countEntries(Context& context) {
  ProgramState& state = context.state;
  state.scratchFlag = 0;
  const LinesReading<int> reading = entryCountIn(runListing(context));
  keepLastLine(state, reading.lastLine);
  state.scratchFlag = reading.answer;
  return state.scratchFlag;
}

KeptEntries foreignEntryIds(Context& context, const std::string& drive,
                            const std::function<void(const std::string& id)>& onId) {
  ProgramState& state = context.state;
  const ForeignEntries entries = foreignEntriesIn(runListing(context), drive);
  for (const ListedEntry& entry : entries.foreign) {
    state.lineBuffer = entry.device;
    onId(entry.id);
  }
  keepLastLine(state, entries.lineAfterLastForeign);
  return entries.kept;
}

namespace {

StoreListing readCapturedListing(Context& context) {
  StoreListing listing;
  listing.text = readCapture(context.os, CaptureSlot::listing);
  listing.entries = listedEntries(listing.text);
  return listing;
}

}  // namespace

StoreListing listStore(Context& context) {
  countEntries(context);
  return readCapturedListing(context);
}

StoreListing listStoreFile(Context& context, const std::string& file) {
  if (runIntoCapture(context, listStoreFileCommand(context.os, file), CaptureSlot::listing) != 0) return {};
  return readCapturedListing(context);
}

bool listsBootManagerAndEntryOn(const std::vector<ListedEntry>& entries, const std::string& drive) {
  const auto has = [&](auto predicate) { return std::any_of(entries.begin(), entries.end(), predicate); };
  return has([](const ListedEntry& entry) { return entry.isBootManager(); }) &&
         has([&](const ListedEntry& entry) { return !entry.isBootManager() && deviceDrive(entry.device) == drive; });
}

std::vector<ListedEntry> listedEntries(const std::string& listing) {
  std::vector<ListedEntry> entries;
  ListingLines lines(listing);
  while (!lines.atEnd()) {
    const std::string line = lines.readLine();
    if (lines.headsEntry()) entries.push_back({entryIdOf(line), lines.readLine()});
  }
  return entries;
}

}  // namespace quillfex
