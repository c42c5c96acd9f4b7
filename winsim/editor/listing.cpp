#include "winsim/editor/listing.h"

namespace winsim {

namespace {

constexpr std::size_t valueColumn = 24;  // values start in column 25

// A name as long as the column or longer keeps one blank before its value.
std::string field(const std::string& name, const std::string& value) {
  return name + std::string(name.size() < valueColumn ? valueColumn - name.size() : 1, ' ') + value + "\r\n";
}

// A field with several values: the first beside the name, each further one on a line of its own.
std::string listField(const std::string& name, const std::vector<std::string>& values) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) text += field(i == 0 ? name : "", values[i]);
  return text;
}

std::vector<std::string> toolIds(const BootStore& store) {
  std::vector<std::string> tools;
  for (const auto& entry : store.entries) {
    if (entry.kind == EntryKind::tool) tools.push_back(entry.id);
  }
  return tools;
}

// The fields an entry carries, in its order; a boot manager's field without a value as the store has it now.
std::string carriedFields(const BootStore& store, const BootEntry& entry) {
  std::string text;
  for (const auto& [name, values] : *entry.fields) {
    if (!values.empty() || !filledInByTheStore(entry.kind, name)) {
      text += listField(name, values);
    } else if (name == "default") {
      if (!store.displayOrder.empty()) text += field(name, store.displayOrder.front());
    } else {
      text += listField(name, name == "displayorder" ? store.displayOrder : toolIds(store));
    }
  }
  return text;
}

std::string section(const BootStore& store, const BootEntry& entry, const ListingText& words) {
  const ListingText::Title& title = words.title(entry.kind);
  std::string text = "\r\n" + title.bytes + "\r\n" + std::string(title.characters, '-') + "\r\n";
  text += field(words.key, entry.id);
  text += field("device", entry.device);
  if (!entry.path.empty()) text += field("path", entry.path);
  text += field("description", entry.description);
  if (entry.fields) return text + carriedFields(store, entry);
  text += field("locale", "en-US");
  if (entry.kind == EntryKind::bootManager) {
    text += field("inherit", "{globalsettings}");
    if (!store.displayOrder.empty()) text += field("default", store.displayOrder.front());
    text += listField("displayorder", store.displayOrder);
    text += listField("toolsdisplayorder", toolIds(store));
    text += field("timeout", "30");
  } else if (entry.kind == EntryKind::loader) {
    text += field("osdevice", entry.device);
    text += field("systemroot", "\\Windows");
  }
  return text;
}

}  // namespace

std::string formatListing(const BootStore& store, const ListingText& words) {
  std::string text;
  for (const auto& entry : store.entries) {
    if (entry.kind == EntryKind::bootManager) text += section(store, entry, words);
  }
  for (const auto& id : store.displayOrder) {
    if (const BootEntry* entry = store.find(id)) text += section(store, *entry, words);
  }
  return text;
}

std::string formatListing(const BootStore& store, HeaderStyle header) {
  return formatListing(store, englishListingText(header));
}

}  // namespace winsim
