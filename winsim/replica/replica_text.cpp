// Writing a replica's plan as a machine description that winsim reads, in the layout of the samples: a
// value a line, its reason in a comment beside it, notes as comment lines above what they are about.

#include "machine/mounted_devices.h"
#include "text/utf8.h"
#include "winsim/replica/replica_plan.h"

namespace winsim::replica {

namespace {

constexpr std::size_t commentColumn = 30;
constexpr std::size_t lineWidth = 116;

// A TOML basic string. Bytes that are no UTF-8 are read as code page 437, as winsim's reports read names.
std::string tomlString(const std::string& bytes) { return quillfex::quotedUtf8(bytes); }

std::string tomlList(const std::vector<std::string>& items) {
  std::string list = "[";
  for (std::size_t i = 0; i < items.size(); ++i) list += (i ? ", " : "") + tomlString(items[i]);
  return list + "]";
}

class DescriptionText {
 public:
  // A comment of its own, folded at blanks to stay within the line width.
  void comment(const std::string& text, const std::string& indent = "") {
    std::string rest = utf8(text);
    while (indent.size() + 2 + rest.size() > lineWidth) {
      const std::size_t room = lineWidth - indent.size() - 2;
      std::size_t blank = rest.rfind(' ', room);
      if (blank == std::string::npos || blank == 0) blank = room;
      // Never inside a UTF-8 character: back to the byte that begins it.
      while (blank > 1 && (static_cast<unsigned char>(rest[blank]) & 0xC0) == 0x80) --blank;
      text_ += indent + "# " + rest.substr(0, blank) + "\n";
      rest = rest.substr(rest[blank] == ' ' ? blank + 1 : blank);
    }
    text_ += indent + "# " + rest + "\n";
  }

  void comments(const std::vector<std::string>& notes) {
    for (const auto& note : notes) comment(note);
  }

  void line(const std::string& text, const std::string& why = "") {
    text_ += text;
    if (!why.empty())
      text_ += std::string(text.size() < commentColumn ? commentColumn - text.size() : 1, ' ') + "# " + utf8(why);
    text_ += "\n";
  }

  // A value not known is left to winsim, which takes `byDefault`.
  template <typename T, typename Show>
  void found(const std::string& key, const Found<T>& value, Show show, const std::string& byDefault) {
    if (value.value) {
      line(key + " = " + show(*value.value), value.why);
    } else {
      comment(key + ": not known; winsim takes " + byDefault);
    }
  }

  void blank() { text_ += "\n"; }
  const std::string& text() const { return text_; }

 private:
  // A comment ends at its line end, so a control character read from a file is shown as "?".
  static std::string utf8(const std::string& text) {
    std::string shown = quillfex::utf8OrCp437(text);
    for (char& c : shown) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return shown;
  }
  std::string text_;
};

std::string yesNo(bool value) { return value ? "true" : "false"; }

void writeTop(DescriptionText& out, const MachinePlan& plan) {
  out.comment("A replica of the machine captured in " + plan.source + ", derived by winsim from the files of " +
              (plan.version.empty() ? "quillfex-capture" : "quillfex-capture " + plan.version) +
              ". A comment says what the capture could not know or what its files did not tell; nothing is guessed.");
  out.comment(
      "Never in a capture: what files hold (the replica's Windows, boot and backup files are winsim's own), "
      "every store but the system store, entries the default listing does not show, and faults. "
      "The partition tables' types are winsim's own, and so are their active flags: winsim marks each partition with "
      "bootmgr.");
  out.line("name = " + tomlString("replica of the machine captured in " + plan.source));
  out.found("system_drive", plan.systemDrive, tomlString, "\"C:\"");
  out.found("elevated", plan.elevated, yesNo, "true");
  const auto headerName = [](HeaderStyle style) { return tomlString(style == HeaderStyle::id ? "id" : "identifier"); };
  out.found("header", plan.header, headerName, "\"identifier\"");
  out.found("temp", plan.temp, tomlString, "\"C:\\\\Temp\"");
  if (plan.displayOrder) out.line("display_order = " + tomlList(*plan.displayOrder), "the boot manager's displayorder");
  if (!plan.windowsVersion.empty()) {
    out.comment("ver printed \"" + plan.windowsVersion + "\" when captured, of the Windows on the system drive.");
  }
  out.comments(plan.notes);
}

// Nothing when listing.txt is in English and code page 437, as winsim's editor lists by itself.
void writeListing(DescriptionText& out, const MachinePlan& plan) {
  const ListingPlan& words = plan.listing;
  const ListingWords english;
  bool ownWords = words.key.has_value();
  for (const EntryKind kind : allKinds) {
    const auto& title = words.titles[static_cast<std::size_t>(kind)];
    ownWords = ownWords || (title && *title != english.title(kind));
  }
  const bool englishWords = words.language ? words.language->language == "en-US" : !ownWords;
  if (!words.notes.empty()) out.blank();
  out.comments(words.notes);
  if (englishWords && words.codePage == english.codePage) return;
  out.blank();
  out.line("[listing]", "how listing.txt words its headers and titles");
  out.line("code_page = " + std::to_string(words.codePage), words.codePageWhy);
  if (words.language) {
    out.line("language = " + tomlString(words.language->language),
             "listing.txt's key and titles are " + words.language->language + "'s");
    return;
  }
  if (words.key) out.line("identifier = " + tomlString(*words.key), words.keyWhy);
  for (const EntryKind kind : allKinds) {
    const std::size_t index = static_cast<std::size_t>(kind);
    const std::string key = titleKey(kind);
    if (!words.titles[index]) {
      out.comment(key + ": listing.txt shows no such entry; winsim takes " + tomlString(english.title(kind)));
    } else if (*words.titles[index] != english.title(kind)) {
      out.line(key + " = " + tomlString(*words.titles[index]), words.titleWhys[index]);
    }
  }
}

void writePartition(DescriptionText& out, const PartitionPlan& partition) {
  out.blank();
  out.line("[[disk.partition]]", partition.origin);
  out.comments(partition.notes);
  out.line("letter = " + tomlString(partition.letter ? std::string(1, partition.letter) : ""));
  out.line("offset = " + std::to_string(partition.offset));
  if (partition.size) out.line("size = " + std::to_string(*partition.size));
  if (partition.letter == 0) {
    if (partition.bootManager.value)
      out.line("bootmgr = " + yesNo(*partition.bootManager.value), partition.bootManager.why);
    return;
  }
  out.found("windows", partition.windows, tomlString, "\"\" (no Windows)");
  out.found("bootmgr", partition.bootManager, yesNo, "false");
  out.found("boot_folder", partition.bootFolder, yesNo, "what bootmgr is");
}

void writeDisks(DescriptionText& out, const MachinePlan& plan) {
  for (std::size_t d = 0; d < plan.disks.size(); ++d) {
    const DiskPlan& disk = plan.disks[d];
    out.blank();
    out.line("[[disk]]", "disk " + std::to_string(d) + ": " + disk.origin);
    out.comments(disk.notes);
    out.line("signature = " + tomlString(disk.signature));
    for (const auto& partition : disk.partitions) writePartition(out, partition);
  }
}

// A field a line, as the listing shows them; a boot manager's field that follows the store by its name alone.
void writeFields(DescriptionText& out, const std::vector<ListedField>& fields) {
  if (fields.empty()) return out.line("fields = []", "none but the device, path and description");
  out.line("fields = [");
  for (const auto& field : fields) {
    std::vector<std::string> words{field.name};
    words.insert(words.end(), field.values.begin(), field.values.end());
    out.line("  " + tomlList(words) + ",");
  }
  out.line("]");
}

void writeEntries(DescriptionText& out, const MachinePlan& plan) {
  for (const auto& entry : plan.entries) {
    out.blank();
    out.line("[[entry]]");
    out.comments(entry.notes);
    out.line("kind = " + tomlString(kindName(entry.entry.kind)), entry.kindWhy.empty() ? "" : "by " + entry.kindWhy);
    out.line("id = " + tomlString(entry.entry.id));
    out.line("device = " + tomlString(entry.entry.device));
    out.line("description = " + tomlString(entry.entry.description));
    if (!entry.entry.path.empty()) out.line("path = " + tomlString(entry.entry.path));
    if (entry.entry.fields) writeFields(out, *entry.entry.fields);
  }
  for (const auto& id : plan.toolsNotListed) {
    out.blank();
    out.comment(id +
                " is in the boot manager's tools menu, which the default listing does not show: its kind, "
                "device and description are not captured.");
    out.comment("[[entry]]");
    out.comment("kind = \"tool\"");
    out.comment("id = " + tomlString(id));
  }
}

void writeMounted(DescriptionText& out, const MachinePlan& plan) {
  if (!plan.mountedNotes.empty() || !plan.mounted.empty()) out.blank();
  out.comments(plan.mountedNotes);
  for (const auto& value : plan.mounted) {
    out.line("[[mounted]]", "as MountedDevices.reg holds it");
    out.line("name = " + tomlString(value.name));
    out.line("hex = " + tomlString(hexBytes(value.bytes)));
  }
}

void writeFaults(DescriptionText& out, const MachinePlan& plan) {
  for (std::size_t d = 0; d < plan.disks.size(); ++d) {
    if (plan.disks[d].readable) continue;
    out.blank();
    out.line("[[fault]]", "disk " + std::to_string(d) + " did not read in the capture");
    out.line("command = \"disk\"");
    out.line("arg = \"" + std::to_string(d) + "\"");
  }
}

}  // namespace

std::string describePlan(const MachinePlan& plan) {
  DescriptionText out;
  writeTop(out, plan);
  writeListing(out, plan);
  writeDisks(out, plan);
  writeEntries(out, plan);
  writeMounted(out, plan);
  writeFaults(out, plan);
  return out.text();
}

}  // namespace winsim::replica
