#pragma once
// The simulated boot configuration store: its entries in store order and the boot manager's display
// order. The live store is \Boot\BCD on the system store's partition (the system drive's, or the one the
// firmware starts); exports (org.bcd, lid.bcd) have the same form, a small TOML text, so that a person can
// read what a run did.

#include <optional>
#include <string>
#include <vector>

namespace winsim {

enum class EntryKind { bootManager, loader, legacy, tool };

// A field the listing shows after an entry's device, path and description: "nx" and "OptIn", or
// "displayorder" and several ids, each further one on a line of its own.
struct ListedField {
  std::string name;
  std::vector<std::string> values;  // none: the store fills it in (the boot manager's default, displayorder
                                    // and toolsdisplayorder, which follow the display order and the tools)
  bool operator==(const ListedField&) const = default;
};

struct BootEntry {
  EntryKind kind = EntryKind::loader;
  std::string id;           // "{bootmgr}", "{current}", "{ntldr}", a GUID in braces, ...
  std::string device;       // "partition=C:", "partition=\Device\HarddiskVolume3"
  std::string description;  // "Windows 7"
  std::string path;         // "\Windows\system32\winload.exe"
  // The other fields it lists, in order; nullopt: those winsim's editor lists by itself for its kind.
  std::optional<std::vector<ListedField>> fields = std::nullopt;
};

struct BootStore {
  std::vector<BootEntry> entries;
  std::vector<std::string> displayOrder;  // ids of loaders and legacy entries, in menu order

  const BootEntry* find(const std::string& id) const;
  // Removes the entry and every mention of it in the display order; false when there is no such entry.
  bool remove(const std::string& id);
};

// The boot manager and the entries whose device ends in drive ("D:"), in store and display order: what
// deleting every other entry leaves.
BootStore keptFor(const BootStore& store, const std::string& drive);

// Whether the store fills in a field of this name that the boot manager lists without a value.
bool followsTheStore(const std::string& fieldName);
// Whether an entry of this kind lists the field without a value, the store filling it in.
bool filledInByTheStore(EntryKind kind, const std::string& fieldName);
// Whether a field of this name is no listed field: the entry's header or its own keys give it.
bool givenOutsideTheFields(const std::string& fieldName);

// "bootmgr", "loader", "legacy", "tool".
std::string kindName(EntryKind kind);
std::optional<EntryKind> kindFromName(const std::string& name);

std::string formatStore(const BootStore& store);

// nullopt (with a reason in error) when the text is no store.
std::optional<BootStore> parseStore(const std::string& text, std::string& error);

}  // namespace winsim
