#include "winsim/editor/editor.h"

#include <algorithm>
#include <optional>

#include "machine/sandbox_layout.h"
#include "platform/whole_file.h"
#include "text/text.h"
#include "text/windows_path.h"
#include "winsim/editor/listing.h"

namespace winsim {

using quillfex::readWholeFile;
using quillfex::writeWholeFile;

namespace {

const std::string done = "The operation completed successfully.\r\n";

// A partition without a drive letter has no path of its own: Windows names it through its device,
// \\?\GLOBALROOT\Device\HarddiskVolumeN, which the POSIX seam finds in the sandbox's volumes folder. Under
// Wine the sandbox is a Windows folder (QUILLFEX_SIM_ROOT "Z:\..."), so the volume's folder is named in it.
std::string volumeRoot(quillfex::Os& os, int volume) {
  const std::string sandbox = os.environmentVariable(sandboxVariable);
  if (quillfex::parseFullPath(sandbox))
    return sandbox + "\\" + layout::volumesFolder + "\\" + layout::volumeName(volume);
  return "\\\\?\\GLOBALROOT\\Device\\" + layout::volumeName(volume);
}

// The store on the partition the machine's boot manager starts from; on a machine without partitions, as
// on a real Windows, the system drive's.
std::string systemStorePath(quillfex::Os& os, const Machine& machine) {
  const auto place = machine.systemStorePlace();
  if (!place) return os.environmentVariable("SystemDrive") + "\\Boot\\BCD";
  const char letter = machine.partitionAt(*place).letter;
  return (letter != 0 ? std::string(1, letter) + ":" : volumeRoot(os, place->volume)) + "\\Boot\\BCD";
}

EditorResult failure(const std::string& what, const std::string& why) {
  return {1, "", "An error occurred while attempting " + what + ".\r\n" + why + "\r\n"};
}

std::optional<BootStore> readStore(quillfex::Os& os, const std::string& path, std::string& error) {
  const auto text = readWholeFile(os, path);
  if (!text) {
    error = "The system cannot find the file specified.";
    return std::nullopt;
  }
  std::string reason;
  auto store = parseStore(*text, reason);
  if (!store) error = "The file is not a valid boot configuration data store (" + reason + ").";
  return store;
}

// What a fault with the effect "garbage" leaves where a store or a listing should be.
const std::string garbage = std::string("\xCC\x92\x00\x01 not a store\r\n", 17);

std::string firstHalf(const std::string& text) { return text.substr(0, text.size() / 2); }

EditorResult list(quillfex::Os& os, const Machine& machine, const std::string& storePath) {
  std::string error;
  const FaultEffect fault = machine.faultFor("listing", "");
  if (fault == FaultEffect::garbage) return {0, garbage, ""};
  const auto store = fault == FaultEffect::fails ? std::nullopt : readStore(os, storePath, error);
  if (!store) return failure("to open the boot configuration data store", error.empty() ? "Access is denied." : error);
  return {0, formatListing(*store, machine.listingText ? *machine.listingText : englishListingText(machine.header)),
          ""};
}

// What a fault does to a command that writes `target`: the result it ends with, or nullopt when the command
// goes on. A partial write leaves halfWritten there, or removes the file when that is empty.
std::optional<EditorResult> carryOutFault(quillfex::Os& os, FaultEffect fault, const std::string& target,
                                          const std::string& halfWritten, const std::string& refused) {
  switch (fault) {
    case FaultEffect::fails:
      return failure(refused, "Access is denied.");
    case FaultEffect::partial:
      if (halfWritten.empty()) {
        os.deleteFile(target);
      } else {
        writeWholeFile(os, target, halfWritten);
      }
      return failure(refused, "The device is not ready.");
    case FaultEffect::noOp:
      return EditorResult{0, done, ""};
    case FaultEffect::garbage:
      return writeWholeFile(os, target, garbage) ? EditorResult{0, done, ""} : failure(refused, "Access is denied.");
    case FaultEffect::none:
      break;
  }
  return std::nullopt;
}

EditorResult exportTo(quillfex::Os& os, const Machine& machine, const std::string& store, const std::string& file) {
  std::string error;
  const auto read = readStore(os, store, error);
  if (!read) return failure("to export the boot configuration data store", error);
  const std::string refused = "to export the boot configuration data store to " + file;
  const std::string formatted = formatStore(*read);
  if (auto faulted = carryOutFault(os, machine.faultFor("export", file), file, firstHalf(formatted), refused)) {
    return *faulted;
  }
  if (!writeWholeFile(os, file, formatted)) return failure(refused, "Access is denied.");
  return {0, done, ""};
}

// A partial import removes the system store, as an editor that dies after emptying it would.
EditorResult importFrom(quillfex::Os& os, const Machine& machine, const std::string& store, const std::string& file) {
  const std::string refused = "to import the boot configuration data store from " + file;
  if (auto faulted = carryOutFault(os, machine.faultFor("import", file), store, "", refused)) {
    return *faulted;
  }
  std::string error;
  const auto read = readStore(os, file, error);
  if (!read) return failure(refused, error);
  if (!writeWholeFile(os, store, formatStore(*read))) {
    return failure("to import the boot configuration data store", "Access is denied.");
  }
  return {0, done, ""};
}

EditorResult deleteEntry(quillfex::Os& os, const Machine& machine, const std::string& store, const std::string& id) {
  std::string error;
  auto read = readStore(os, store, error);
  const std::string refused = "to delete the entry " + id;
  if (!read) return failure(refused, error);
  const std::string half = firstHalf(formatStore(*read));
  if (auto faulted = carryOutFault(os, machine.faultFor("delete", id), store, half, refused)) {
    return *faulted;
  }
  if (!read->remove(id)) return failure(refused, "The specified entry identifier is not valid.");
  if (!writeWholeFile(os, store, formatStore(*read))) return failure(refused, "Access is denied.");
  return {0, done, ""};
}

}  // namespace

EditorResult runEditor(const std::vector<std::string>& args, quillfex::Os& os, const Machine& machine) {
  std::vector<std::string> switches;
  for (const auto& arg : args) switches.push_back(quillfex::lowerCase(arg));
  const std::string store = systemStorePath(os, machine);
  if (args.empty()) return list(os, machine, store);
  if (args.size() == 2 && switches[0] == "/store") return list(os, machine, args[1]);
  if (args.size() == 2 && switches[0] == "/export") return exportTo(os, machine, store, args[1]);
  if (args.size() == 2 && switches[0] == "/import") return importFrom(os, machine, store, args[1]);
  if (args.size() == 3 && switches[0] == "/f" && switches[1] == "/delete")
    return deleteEntry(os, machine, store, args[2]);
  return {1, "", "The parameter is incorrect.\r\nRun \"bcdedit /?\" for command line assistance.\r\n"};
}

}  // namespace winsim
