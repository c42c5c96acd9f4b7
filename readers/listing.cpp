#include "readers/listing.h"

#include "core/text.h"
#include "helper/command.h"
#include "helper/command_lines.h"
#include "platform/text_file.h"

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

bool deviceIsOn(const std::string& deviceLine, const std::string& drive) { return rightPart(deviceLine, 2) == drive; }

// Runs the listing and hands every line, already in lineBuffer, to step. The end of the file is tested
// only before each line that step does not read itself.
template <typename Step>
void scanListing(Context& context, Step step) {
  runCommand(context, listingCommand(context.os));
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

void foreignEntryIds(Context& context, const std::string& drive,
                     const std::function<void(const std::string& id)>& onId) {
  ProgramState& state = context.state;
  scanListing(context, [&](TextFile& listing) {
    // Both header styles become "identifier" in place; the line keeps its length, so the id column stays.
    if (leftPart(state.lineBuffer, 10) == shortHeader) state.lineBuffer.replace(0, 10, longHeader);
    if (leftPart(state.lineBuffer, 10) != longHeader || entryIdOf(state.lineBuffer) == bootManagerId) return;
    const std::string id = entryIdOf(state.lineBuffer);
    state.lineBuffer = listing.readLine();
    if (!deviceIsOn(state.lineBuffer, drive)) onId(id);
  });
}

}  // namespace quillfex
