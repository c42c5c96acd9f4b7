#include "readers/listing.h"

#include <algorithm>

#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/text_file.h"
#include "platform/whole_file.h"
#include "text/text.h"

namespace quillfex {

namespace {

const std::string longHeader = "identifier";
const std::string shortHeader = "id        ";
const std::string bootManagerId = "{bootmgr}";
constexpr long idColumn = 25;

bool isHeader(const std::string& line) {
  const std::string start = leftPart(line, 10);
  return start == longHeader || start == shortHeader;
}

std::string entryIdOf(const std::string& header) { return middlePart(header, idColumn); }

bool deviceIsOn(const std::string& deviceLine, const std::string& drive) { return deviceDrive(deviceLine) == drive; }

// Runs the listing and hands every line, already in lineBuffer, to step. The end of the file is tested
// only before each line that step does not read itself.
template <typename Step>
void scanListing(Context& context, Step step) {
  runIntoCapture(context, listingCommand(context.os), 0);
  TextFile listing = openTextFile(context.os, capturePath(context.os, 0));
  while (!listing.atEnd()) {
    context.state.lineBuffer = listing.readLine();
    step(listing);
  }
}

}  // namespace

bool findBootManagerDevice(Context& context, const std::string& drive) {
  ProgramState& state = context.state;
  state.scratchFlag = 0;
  scanListing(context, [&](TextFile& listing) {
    if (!isHeader(state.lineBuffer) || entryIdOf(state.lineBuffer) != bootManagerId) return;
    state.lineBuffer = listing.readLine();
    if (deviceIsOn(state.lineBuffer, drive)) state.scratchFlag = 1;
  });
  return state.scratchFlag == 1;
}

int countEntries(Context& context) {
  ProgramState& state = context.state;
  state.scratchFlag = 0;
  scanListing(context, [&](TextFile&) {
    if (isHeader(state.lineBuffer)) ++state.scratchFlag;
  });
  return state.scratchFlag;
}

KeptEntries foreignEntryIds(Context& context, const std::string& drive,
                            const std::function<void(const std::string& id)>& onId) {
  ProgramState& state = context.state;
  KeptEntries kept;
  scanListing(context, [&](TextFile& listing) {
    // Both header styles become "identifier" in place; the line keeps its length, so the id column stays.
    if (leftPart(state.lineBuffer, 10) == shortHeader) state.lineBuffer.replace(0, 10, longHeader);
    if (leftPart(state.lineBuffer, 10) != longHeader) return;
    if (entryIdOf(state.lineBuffer) == bootManagerId) {
      kept.bootManager = true;
      return;
    }
    const std::string id = entryIdOf(state.lineBuffer);
    state.lineBuffer = listing.readLine();
    if (deviceIsOn(state.lineBuffer, drive)) {
      ++kept.onDrive;
    } else {
      onId(id);
    }
  });
  return kept;
}

namespace {

StoreListing readCapturedListing(Context& context) {
  StoreListing listing;
  listing.text = readWholeFile(context.os, capturePath(context.os, 0)).value_or("");
  listing.entries = listedEntries(listing.text);
  return listing;
}

}  // namespace

StoreListing listStore(Context& context) {
  countEntries(context);
  return readCapturedListing(context);
}

StoreListing listStoreFile(Context& context, const std::string& file) {
  if (runIntoCapture(context, listStoreFileCommand(context.os, file), 0) != 0) return {};
  return readCapturedListing(context);
}

bool listsBootManagerAndEntryOn(const std::vector<ListedEntry>& entries, const std::string& drive) {
  const auto has = [&](auto predicate) { return std::any_of(entries.begin(), entries.end(), predicate); };
  return has([](const ListedEntry& entry) { return entry.isBootManager(); }) &&
         has([&](const ListedEntry& entry) { return !entry.isBootManager() && deviceDrive(entry.device) == drive; });
}

std::vector<ListedEntry> listedEntries(const std::string& listing) {
  std::vector<ListedEntry> entries;
  std::size_t at = 0;
  const auto nextLine = [&] {
    const std::size_t end = std::min(listing.find('\n', at), listing.size());
    std::string line = listing.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  };
  while (at < listing.size()) {
    const std::string line = nextLine();
    if (!isHeader(line)) continue;
    entries.push_back({entryIdOf(line), at < listing.size() ? nextLine() : ""});
  }
  return entries;
}

std::string deviceDrive(const std::string& deviceLine) { return rightPart(deviceLine, 2); }

}  // namespace quillfex
