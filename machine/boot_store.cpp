#include "machine/boot_store.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include "machine/toml.h"

namespace winsim {

namespace {

constexpr std::pair<EntryKind, const char*> kindNames[] = {
    {EntryKind::bootManager, "bootmgr"},
    {EntryKind::loader, "loader"},
    {EntryKind::legacy, "legacy"},
    {EntryKind::tool, "tool"},
};

// The boot manager's fields that follow the store, by name.
constexpr const char* storeFilledFields[] = {"default", "displayorder", "toolsdisplayorder"};

toml::table entryTable(const BootEntry& entry) {
  toml::table table{{"kind", kindName(entry.kind)},
                    {"id", entry.id},
                    {"device", entry.device},
                    {"description", entry.description},
                    {"path", entry.path}};
  if (!entry.fields) return table;
  toml::array fields;
  for (const auto& field : *entry.fields) {
    toml::array nameAndValues{field.name};
    for (const auto& value : field.values) nameAndValues.push_back(value);
    fields.push_back(std::move(nameAndValues));
  }
  table.insert("fields", std::move(fields));
  return table;
}

// Each field a list of texts, its name first; false when the node is no such list.
bool readFields(const toml::node_view<const toml::node>& node, std::optional<std::vector<ListedField>>& fields) {
  if (!node) return true;
  const toml::array* list = node.as_array();
  if (list == nullptr) return false;
  fields.emplace();
  for (const auto& item : *list) {
    const toml::array* texts = item.as_array();
    if (texts == nullptr || texts->empty()) return false;
    std::vector<std::string> words;
    for (const auto& text : *texts) {
      if (!text.is_string()) return false;
      words.push_back(text.value_or(std::string()));
    }
    fields->push_back({words.front(), {words.begin() + 1, words.end()}});
  }
  return true;
}

bool holdsControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
  });
}

// toml++ writes a value with a line break or another control character as a multi-line string, which
// loses a leading line break, or as a literal string, which TOML does not allow: such a store is written
// with escapes only.
toml::format_flags formatFlags(const BootStore& store) {
  bool escapes = std::any_of(store.displayOrder.begin(), store.displayOrder.end(), holdsControlCharacter);
  for (const auto& entry : store.entries) {
    for (const std::string* text : {&entry.id, &entry.device, &entry.description, &entry.path})
      escapes = escapes || holdsControlCharacter(*text);
    if (entry.fields) {
      for (const auto& field : *entry.fields) {
        escapes = escapes || holdsControlCharacter(field.name) ||
                  std::any_of(field.values.begin(), field.values.end(), holdsControlCharacter);
      }
    }
  }
  if (!escapes) return toml::toml_formatter::default_flags;
  return toml::toml_formatter::default_flags &
         ~(toml::format_flags::allow_multi_line_strings | toml::format_flags::allow_literal_strings);
}

}  // namespace

const BootEntry* BootStore::find(const std::string& id) const {
  const auto found = std::find_if(entries.begin(), entries.end(), [&](const BootEntry& e) { return e.id == id; });
  return found == entries.end() ? nullptr : &*found;
}

bool BootStore::remove(const std::string& id) {
  const auto before = entries.size();
  std::erase_if(entries, [&](const BootEntry& e) { return e.id == id; });
  std::erase(displayOrder, id);
  return entries.size() != before;
}

BootStore keptFor(const BootStore& store, const std::string& drive) {
  const auto isOnDrive = [&](const std::string& device) {
    return device.size() >= drive.size() && device.compare(device.size() - drive.size(), drive.size(), drive) == 0;
  };
  BootStore kept;
  for (const auto& entry : store.entries) {
    if (entry.kind == EntryKind::bootManager || isOnDrive(entry.device)) kept.entries.push_back(entry);
  }
  for (const auto& id : store.displayOrder) {
    if (kept.find(id)) kept.displayOrder.push_back(id);
  }
  return kept;
}

bool followsTheStore(const std::string& fieldName) {
  return std::any_of(std::begin(storeFilledFields), std::end(storeFilledFields),
                     [&](const char* name) { return fieldName == name; });
}

bool filledInByTheStore(EntryKind kind, const std::string& fieldName) {
  return kind == EntryKind::bootManager && followsTheStore(fieldName);
}

bool givenOutsideTheFields(const std::string& fieldName) {
  for (const char* name : {"identifier", "id", "device", "path", "description"}) {
    if (fieldName == name) return true;
  }
  return false;
}

std::string kindName(EntryKind kind) {
  for (const auto& [k, name] : kindNames) {
    if (k == kind) return name;
  }
  return "loader";
}

std::optional<EntryKind> kindFromName(const std::string& name) {
  for (const auto& [kind, text] : kindNames) {
    if (name == text) return kind;
  }
  return std::nullopt;
}

std::string formatStore(const BootStore& store) {
  toml::array order;
  for (const auto& id : store.displayOrder) order.push_back(id);
  toml::array entries;
  for (const auto& entry : store.entries) entries.push_back(entryTable(entry));
  const toml::table document{{"display_order", order}, {"entry", entries}};
  std::ostringstream text;
  text << "# winsim boot configuration store\n" << toml::toml_formatter(document, formatFlags(store)) << "\n";
  return text.str();
}

std::optional<BootStore> parseStore(const std::string& text, std::string& error) {
  toml::table document;
  try {
    document = parseToml(text);
  } catch (const toml::parse_error& failure) {
    error = "line " + std::to_string(failure.source().begin.line) + ": " + std::string(failure.description());
    return std::nullopt;
  }
  BootStore store;
  if (const auto* order = document["display_order"].as_array()) {
    for (const auto& id : *order) store.displayOrder.push_back(id.value_or(std::string()));
  }
  if (const auto* entries = document["entry"].as_array()) {
    for (const auto& node : *entries) {
      const toml::node_view<const toml::node> entry{node};
      const auto kind = kindFromName(entry["kind"].value_or(std::string()));
      if (!kind) {
        error = "an entry of unknown kind";
        return std::nullopt;
      }
      BootEntry read{*kind, entry["id"].value_or(std::string()), entry["device"].value_or(std::string()),
                     entry["description"].value_or(std::string()), entry["path"].value_or(std::string())};
      if (!readFields(entry["fields"], read.fields)) {
        error = "an entry whose fields are not lists of texts, each its name and values";
        return std::nullopt;
      }
      store.entries.push_back(std::move(read));
    }
  }
  if (!document.contains("entry") && !document.contains("display_order")) {
    error = "not a boot configuration store";
    return std::nullopt;
  }
  return store;
}

}  // namespace winsim
