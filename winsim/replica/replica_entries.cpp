// The store's entries from the editor's default listing: each shown entry with its kind, device, description,
// path and other fields, the boot manager's display order, the tools it names but the listing does not show,
// and the words its display language gives the headers' key and the titles.

#include <algorithm>

#include "posix/code_page_text.h"
#include "readers/captured_lines.h"
#include "readers/folder_names.h"
#include "text/text.h"
#include "winsim/replica/listing_sections.h"
#include "winsim/replica/replica_plan.h"

namespace winsim::replica {

namespace {

// A listing's line, shown in a comment: printable, and not so long that it hides the rest.
std::string shownLine(const std::string& line) {
  std::string shown;
  for (const char c : line.substr(0, 60)) shown += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
  return shown;
}

std::string firstLine(const std::string& text) {
  quillfex::CapturedLines lines(text);
  while (!lines.atEnd()) {
    if (std::string line = lines.readLine(); quillfex::namesAFile(line)) return line;
  }
  return "";
}

class EntriesReader {
 public:
  EntriesReader(MachinePlan& plan, const Findings& findings) : plan_(plan), findings_(findings) {}

  void read(const std::optional<std::string>& listing, bool notElevated) {
    if (!listing) {
      if (notElevated) {
        return note(plan_.notes,
                    "listing.txt: the capture ran without administrator rights, so the store was not "
                    "listed: no [[entry]].");
      }
      return problem(plan_.notes, "listing.txt is missing: the store is unknown, no [[entry]]");
    }
    const auto sections = listingSections(*listing);
    if (sections.empty()) {
      return problem(plan_.notes,
                     "listing.txt has no entry header (\"identifier\", or \"id\" and 8 blanks, in columns 1 to 10, or "
                     "a line right after a title's line of dashes): no entry at all; it begins \"" +
                         shownLine(firstLine(*listing)) + "\". No [[entry]]");
    }
    readHeaderStyle(sections);
    readKey(sections);
    std::vector<std::string> ids;
    const ListingSection* bootManager = nullptr;
    std::size_t bootManagerPlan = 0;
    for (const auto& section : sections) {
      if (std::find(ids.begin(), ids.end(), section.id) != ids.end()) {
        problem(plan_.notes,
                "listing.txt line " + std::to_string(section.line) + " lists " + section.id + " again: left out");
        continue;
      }
      ids.push_back(section.id);
      plan_.entries.push_back(entryOf(section));
      readTitle(section, plan_.entries.back());
      if (plan_.entries.back().entry.kind == EntryKind::bootManager && !bootManager) {
        bootManager = &section;
        bootManagerPlan = plan_.entries.size() - 1;
      }
    }
    plan_.listing.language = languageOfWords();
    if (!bootManager) return problem(plan_.notes, "listing.txt shows no boot manager entry");
    readDisplayOrder(*bootManager, ids);
    checkDefault(*bootManager, plan_.entries[bootManagerPlan]);
    for (const auto& id : bootManager->values("toolsdisplayorder")) {
      if (std::find(ids.begin(), ids.end(), id) == ids.end()) plan_.toolsNotListed.push_back(id);
    }
  }

  void readHeaderStyle(const std::vector<ListingSection>& sections) {
    const bool firstShort = sections.front().shortHeader;
    plan_.header = {firstShort ? HeaderStyle::id : HeaderStyle::identifier, "as listing.txt heads its entries"};
    for (const auto& section : sections) {
      if (section.shortHeader == firstShort) continue;
      problem(plan_.notes, "listing.txt heads entries in both styles (line " + std::to_string(section.line) +
                               "): the first entry's is taken");
      return;
    }
  }

  void readDisplayOrder(const ListingSection& bootManager, const std::vector<std::string>& ids) {
    const auto order = bootManager.values("displayorder");
    if (order.empty()) {
      note(plan_.notes, "The boot manager lists no displayorder: winsim's menu holds the loaders in store order.");
      return;
    }
    plan_.displayOrder.emplace();
    for (const auto& id : order) {
      if (std::find(ids.begin(), ids.end(), id) != ids.end()) {
        plan_.displayOrder->push_back(id);
      } else {
        problem(plan_.notes, "the boot manager's displayorder names " + id +
                                 ", which listing.txt does not show: left out of display_order");
      }
    }
    for (const auto& entry : plan_.entries) {
      const auto& id = entry.entry.id;
      if (entry.entry.kind != EntryKind::bootManager && std::find(order.begin(), order.end(), id) == order.end()) {
        problem(plan_.notes, id + " is listed but is not in the boot manager's displayorder");
      }
    }
  }

  // winsim's editor lists the first of the menu as the default, whatever the store's default was.
  void checkDefault(const ListingSection& bootManager, EntryPlan& plan) {
    const auto listed = bootManager.values("default");
    if (listed.empty()) return;
    std::vector<std::string> menu;
    if (plan_.displayOrder) {
      menu = *plan_.displayOrder;
    } else {
      for (const auto& entry : plan_.entries) {
        if (entry.entry.kind == EntryKind::loader || entry.entry.kind == EntryKind::legacy)
          menu.push_back(entry.entry.id);
      }
    }
    if (menu.empty() || listed != std::vector{menu.front()}) {
      note(plan.notes, "Also listed, not described: default " + shownLine(listed.front()) +
                           " (winsim's editor lists the first of display_order as the default).");
    }
  }

  EntryPlan entryOf(const ListingSection& section) {
    EntryPlan plan;
    BootEntry& entry = plan.entry;
    entry.id = section.id;
    entry.device = section.value("device");
    entry.description = section.value("description");
    entry.path = section.value("path");
    readKind(section, plan);
    if (!section.deviceFollows) {
      problem(plan.notes, "listing.txt line " + std::to_string(section.line + 1) +
                              ", which the program reads as this entry's device, is no device line");
    }
    if (entry.device.empty()) problem(plan.notes, "listing.txt shows no device for " + entry.id);
    readFields(section, plan);
    return plan;
  }

  // Every field after the device, path and description, in the listing's order: the boot manager's that
  // follow the store by name alone, the others with their values. What has no place is said.
  void readFields(const ListingSection& section, EntryPlan& plan) {
    BootEntry& entry = plan.entry;
    entry.fields.emplace();
    std::string notDescribed;
    const auto leaveOut = [&](const ListingField& field, const std::string& why) {
      notDescribed += (notDescribed.empty() ? "" : "; ") + shownLine(field.name) + " (" + why + ")";
    };
    for (const auto& field : section.fields) {
      if (field.name == "device" || field.name == "path" || field.name == "description") continue;
      const bool filledIn = filledInByTheStore(entry.kind, field.name);
      if (std::any_of(field.name.begin(), field.name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        leaveOut(field, "a control character in its name");
      } else if (givenOutsideTheFields(field.name)) {  // identifier or id: the others are read above
        leaveOut(field, "the program would take it for an entry's header");
      } else if (field.values.empty() && !filledIn) {
        leaveOut(field, "no value");
      } else if (filledIn) {
        entry.fields->push_back({field.name, {}});
      } else {
        entry.fields->push_back({field.name, field.values});
      }
    }
    if (!notDescribed.empty()) note(plan.notes, "Also listed, not described: " + notDescribed + ".");
  }

  void readKind(const ListingSection& section, EntryPlan& plan) {
    BootEntry& entry = plan.entry;
    if (entry.id == "{bootmgr}") {
      entry.kind = EntryKind::bootManager;
      plan.kindWhy = "its id";
      return;
    }
    const auto title = decoded(section.title);
    for (const ListingWords& language : knownLanguages()) {
      for (const EntryKind kind : allKinds) {
        if (title && *title == language.title(kind)) {
          entry.kind = kind;
          plan.kindWhy = language.language == "en-US" ? "its title" : "its title, in " + language.language;
          return;
        }
      }
    }
    const std::string path = quillfex::lowerCase(entry.path);
    if (path.ends_with("\\ntldr")) {
      entry.kind = EntryKind::legacy;
      plan.kindWhy = "its path";
    } else if (path.ends_with("\\winload.exe")) {
      entry.kind = EntryKind::loader;
      plan.kindWhy = "its path";
    } else {
      entry.kind = EntryKind::loader;
      problem(plan.notes, "neither the title \"" + shownLine(section.title) + "\" nor the path of " + entry.id +
                              " tells its kind: taken as a loader");
    }
  }

  // -- the display language's words

  // A word of the listing in UTF-8, read from the captured code page; nullopt when its bytes are no text there.
  std::optional<std::string> decoded(const std::string& bytes) const {
    return quillfex::posix::codePageToUtf8(bytes, plan_.listing.codePage);
  }

  std::string where(int line) const { return "listing.txt line " + std::to_string(line); }

  // Every entry's header has the same key; a short one is the header style, not a word.
  void readKey(const std::vector<ListingSection>& sections) {
    ListingPlan& words = plan_.listing;
    int keyLine = 0;
    for (const auto& section : sections) {
      if (section.shortHeader) continue;
      const auto key = decoded(section.key);
      if (!key || key->empty()) {
        const std::string what = key ? "blank" : "no text in code page " + std::to_string(words.codePage);
        return problem(words.notes, where(section.line) + "'s key is " + what + ": the replica's is \"identifier\"");
      }
      if (!words.key) {
        words.key = *key;
        words.keyWhy = "as " + where(section.line) + " heads its entry";
        keyLine = section.line;
      } else if (*key != *words.key) {
        return problem(words.notes, where(section.line) + " heads its entry with another key than line " +
                                        std::to_string(keyLine) + ": the first is taken");
      }
    }
    if (words.key == "identifier") words.key.reset();
  }

  // The title of each kind the listing shows; an entry whose kind is a guess tells none.
  void readTitle(const ListingSection& section, const EntryPlan& entry) {
    if (section.title.empty() || entry.kindWhy.empty()) return;
    ListingPlan& words = plan_.listing;
    const auto index = static_cast<std::size_t>(entry.entry.kind);
    const auto title = decoded(section.title);
    if (!title) {
      return problem(words.notes, where(section.line - 2) + "'s title is no text in code page " +
                                      std::to_string(words.codePage) + ": left out");
    }
    if (!words.titles[index]) {
      words.titles[index] = *title;
      words.titleWhys[index] = where(section.line - 2);
    } else if (*title != *words.titles[index]) {
      problem(words.notes, where(section.line - 2) + " titles a " + kindName(entry.entry.kind) + " otherwise than " +
                               words.titleWhys[index] + ": the first is taken");
    }
  }

  // The first known language whose words are all those the listing shows.
  const ListingWords* languageOfWords() const {
    const ListingPlan& words = plan_.listing;
    for (const ListingWords& language : knownLanguages()) {
      bool same = language.identifier ==
                  words.key.value_or(plan_.header.value == HeaderStyle::id ? language.identifier : "identifier");
      for (const EntryKind kind : allKinds) {
        const auto& title = words.titles[static_cast<std::size_t>(kind)];
        same = same && (!title || *title == language.title(kind));
      }
      if (same) return &language;
    }
    return nullptr;
  }

 private:
  void note(std::vector<std::string>& where, const std::string& text) { findings_.note(where, text); }
  void problem(std::vector<std::string>& where, const std::string& text) { findings_.problem(where, text); }

  MachinePlan& plan_;
  const Findings& findings_;
};

}  // namespace

void readEntries(const std::optional<std::string>& listing, bool notElevated, MachinePlan& plan,
                 const Findings& findings) {
  EntriesReader(plan, findings).read(listing, notElevated);
}

}  // namespace winsim::replica
