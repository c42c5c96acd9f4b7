#include "text/utf8.h"
#include "winsim/front/machine_report.h"

namespace winsim {

namespace {

std::string jsonString(const std::string& bytes) { return quillfex::quotedUtf8(bytes); }

std::string jsonList(const std::vector<std::string>& items) {
  std::string json = "[";
  for (std::size_t i = 0; i < items.size(); ++i) json += (i ? "," : "") + jsonString(items[i]);
  return json + "]";
}

std::string jsonStore(const std::optional<BootStore>& store) {
  if (!store) return "null";
  std::string json = "[";
  for (std::size_t i = 0; i < store->entries.size(); ++i) {
    const BootEntry& entry = store->entries[i];
    json += std::string(i ? "," : "") + "{\"id\":" + jsonString(entry.id) + ",\"device\":" + jsonString(entry.device) +
            ",\"kind\":" + jsonString(kindName(entry.kind)) + ",\"description\":" + jsonString(entry.description) + "}";
  }
  return json + "]";
}

}  // namespace

std::string reportJson(const MachineReport& report) {
  std::string drives;
  for (const auto& drive : report.drives) {
    drives += std::string(drives.empty() ? "" : ",") + jsonString(std::string(1, drive.letter)) +
              ":{\"bootmgr\":" + (drive.bootManager ? "true" : "false") + ",\"store\":" + jsonStore(drive.store) +
              ",\"bootFiles\":" + jsonList(drive.bootFiles) + "}";
  }
  return "{\"systemDrive\":" + jsonString(report.systemDrive) +
         ",\"systemStoreOn\":" + jsonString(report.systemStoreOn) +
         ",\"systemStore\":" + jsonStore(report.systemStore) + ",\"drives\":{" + drives +
         "},\"bootFolder\":" + jsonList(report.bootFolder) + ",\"temp\":" + jsonList(report.temp) +
         ",\"transcript\":" + jsonList(report.transcript) + "}\n";
}

}  // namespace winsim
