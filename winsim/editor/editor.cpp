#include "winsim/editor/editor.h"

#include <algorithm>

#include "core/text.h"
#include "platform/whole_file.h"
#include "winsim/editor/listing.h"

namespace winsim {

using quillfex::readWholeFile;
using quillfex::writeWholeFile;

namespace {

const std::string done = "The operation completed successfully.\r\n";

std::string systemStorePath(quillfex::Os& os) { return os.environmentVariable("SystemDrive") + "\\Boot\\BCD"; }

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

EditorResult list(quillfex::Os& os, const Machine& machine) {
  std::string error;
  const auto store = machine.fails("listing", "") ? std::nullopt : readStore(os, systemStorePath(os), error);
  if (!store) return failure("to open the boot configuration data store", error.empty() ? "Access is denied." : error);
  return {0, formatListing(*store, machine.header), ""};
}

EditorResult exportTo(quillfex::Os& os, const Machine& machine, const std::string& file) {
  std::string error;
  const auto store = readStore(os, systemStorePath(os), error);
  if (!store) return failure("to export the boot configuration data store", error);
  if (machine.fails("export", file) || !writeWholeFile(os, file, formatStore(*store))) {
    return failure("to export the boot configuration data store to " + file, "Access is denied.");
  }
  return {0, done, ""};
}

EditorResult importFrom(quillfex::Os& os, const Machine& machine, const std::string& file) {
  std::string error;
  const auto store = machine.fails("import", file) ? std::nullopt : readStore(os, file, error);
  if (!store)
    return failure("to import the boot configuration data store from " + file,
                   error.empty() ? "Access is denied." : error);
  if (!writeWholeFile(os, systemStorePath(os), formatStore(*store))) {
    return failure("to import the boot configuration data store", "Access is denied.");
  }
  return {0, done, ""};
}

EditorResult deleteEntry(quillfex::Os& os, const Machine& machine, const std::string& id) {
  std::string error;
  auto store = readStore(os, systemStorePath(os), error);
  if (!store) return failure("to delete the entry " + id, error);
  if (machine.fails("delete", id)) return failure("to delete the entry " + id, "Access is denied.");
  if (!store->remove(id)) return failure("to delete the entry " + id, "The specified entry identifier is not valid.");
  if (!writeWholeFile(os, systemStorePath(os), formatStore(*store))) {
    return failure("to delete the entry " + id, "Access is denied.");
  }
  return {0, done, ""};
}

}  // namespace

EditorResult runEditor(const std::vector<std::string>& args, quillfex::Os& os, const Machine& machine) {
  std::vector<std::string> switches;
  for (const auto& arg : args) switches.push_back(quillfex::lowerCase(arg));
  if (args.empty()) return list(os, machine);
  if (args.size() == 2 && switches[0] == "/export") return exportTo(os, machine, args[1]);
  if (args.size() == 2 && switches[0] == "/import") return importFrom(os, machine, args[1]);
  if (args.size() == 3 && switches[0] == "/f" && switches[1] == "/delete") return deleteEntry(os, machine, args[2]);
  return {1, "", "The parameter is incorrect.\r\nRun \"bcdedit /?\" for command line assistance.\r\n"};
}

}  // namespace winsim
