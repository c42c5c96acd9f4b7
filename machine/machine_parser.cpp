// Reading a machine description: every key is checked against the keys its table may hold, and every
// value against what it may be, so that a mistake is reported with its line instead of building a
// machine that was not meant.

#include <algorithm>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string_view>

#include "machine/fault_counts.h"
#include "machine/machine.h"
#include "machine/mounted_devices.h"
#include "machine/toml.h"
#include "text/text.h"
#include "text/windows_path.h"

namespace winsim {

namespace {

constexpr std::uint64_t sectorBytes = 512;
constexpr std::uint64_t defaultPartitionSize = 20ull << 30;

struct DescriptionError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string lineOf(const toml::source_region& where) { return std::to_string(where.begin.line); }

// One table of the description, with the name it is known by in messages ("[[disk.partition]]").
class TableReader {
 public:
  TableReader(const toml::table& table, std::string name, std::initializer_list<const char*> allowed)
      : table_(table), name_(std::move(name)) {
    for (const auto& member : table) {
      const toml::key& key = member.first;
      if (std::none_of(allowed.begin(), allowed.end(), [&](const char* k) { return key.str() == k; })) {
        throw DescriptionError("line " + lineOf(key.source()) + ": unknown key '" + std::string(key.str()) + "' in " +
                               name_);
      }
    }
  }

  template <typename T>
  T get(const char* key, T fallback) const {
    const toml::node* node = table_.get(key);
    if (node == nullptr) return fallback;
    if (auto value = valueAs<T>(*node)) return *value;
    throw bad(key, "has a value of the wrong type");
  }

  std::string text(const char* key, std::string fallback) const { return get<std::string>(key, std::move(fallback)); }

  // A value that may be written as text or as a whole number, taken as text.
  std::string textOrNumber(const char* key) const {
    const toml::node* node = table_.get(key);
    if (node != nullptr && node->is_integer()) return std::to_string(node->value_or(std::int64_t{0}));
    return text(key, "");
  }

  const toml::array* tables(const char* key) const {
    const toml::node* node = table_.get(key);
    if (node == nullptr) return nullptr;
    if (!node->is_array_of_tables()) throw bad(key, "must be written as [[" + std::string(key) + "]] tables");
    return node->as_array();
  }

  std::vector<std::string> texts(const char* key) const {
    std::vector<std::string> values;
    const toml::node* node = table_.get(key);
    if (node == nullptr) return values;
    const toml::array* array = node->as_array();
    if (array == nullptr) throw bad(key, "must be a list of texts");
    for (const auto& item : *array) {
      if (!item.is_string()) throw bad(key, "must be a list of texts");
      values.push_back(item.value_or(std::string()));
    }
    return values;
  }

  // A list of lists of texts, such as [["nx", "OptIn"], ["default"]].
  std::vector<std::vector<std::string>> textLists(const char* key) const {
    std::vector<std::vector<std::string>> lists;
    const char* const shape = "must be a list of lists of texts, such as [[\"nx\", \"OptIn\"]]";
    const toml::node* node = table_.get(key);
    if (node == nullptr) return lists;
    const toml::array* array = node->as_array();
    if (array == nullptr) throw bad(key, shape);
    for (const auto& item : *array) {
      const toml::array* inner = item.as_array();
      if (inner == nullptr) throw bad(key, shape);
      lists.emplace_back();
      for (const auto& text : *inner) {
        if (!text.is_string()) throw bad(key, shape);
        lists.back().push_back(text.value_or(std::string()));
      }
    }
    return lists;
  }

  DescriptionError bad(const char* key, const std::string& what) const {
    const toml::node* node = table_.get(key);
    const std::string line = node ? "line " + lineOf(node->source()) + ": " : "";
    return DescriptionError(line + "'" + key + "' in " + name_ + " " + what);
  }

 private:
  const toml::table& table_;
  std::string name_;
};

// Whether the blank-separated list holds the word.
bool names(std::string_view list, std::string_view word) {
  for (std::size_t at = 0; at <= list.size();) {
    const std::size_t end = std::min(list.find(' ', at), list.size());
    if (list.substr(at, end - at) == word) return true;
    at = end + 1;
  }
  return false;
}

bool isHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

std::array<std::uint8_t, 4> readSignature(const TableReader& disk) {
  const std::string text = disk.text("signature", "");
  if (text.size() != 8 || !std::all_of(text.begin(), text.end(), isHexDigit)) {
    throw disk.bad("signature", "must be 8 hexadecimal digits, the bytes 440 to 443 in disk order");
  }
  std::array<std::uint8_t, 4> bytes{};
  for (std::size_t i = 0; i < 4; ++i)
    bytes[i] = static_cast<std::uint8_t>(std::stoul(text.substr(2 * i, 2), nullptr, 16));
  return bytes;
}

// A drive letter names one partition of the whole machine; each taken letter with the line that took it.
using TakenLetters = std::map<char, std::string>;

Partition readPartition(const toml::table& table, std::uint64_t nextOffset, TakenLetters& taken) {
  const TableReader reader(table, "[[disk.partition]]",
                           {"letter", "offset", "size", "windows", "bootmgr", "boot_folder", "label"});
  Partition partition;
  const std::string letter = reader.text("letter", "");
  if (letter.size() > 1 || (letter.size() == 1 && (std::toupper(letter[0]) < 'C' || std::toupper(letter[0]) > 'Z'))) {
    throw reader.bad("letter", "must be one letter from C to Z, or \"\" for none");
  }
  partition.letter = letter.empty() ? 0 : static_cast<char>(std::toupper(letter[0]));
  if (partition.letter != 0) {
    const auto [first, isNew] = taken.emplace(partition.letter, lineOf(table.get("letter")->source()));
    if (!isNew) {
      throw reader.bad("letter", "repeats " + std::string(1, partition.letter) +
                                     ":, the drive of the partition on line " + first->second);
    }
  }
  const auto offset = reader.get<std::int64_t>("offset", static_cast<std::int64_t>(nextOffset));
  const auto size = reader.get<std::int64_t>("size", static_cast<std::int64_t>(defaultPartitionSize));
  if (offset < 0) throw reader.bad("offset", "must not be negative");
  if (size <= 0) throw reader.bad("size", "must be positive");
  partition.offset = static_cast<std::uint64_t>(offset);
  partition.size = static_cast<std::uint64_t>(size);
  partition.windows = reader.text("windows", "");
  if (!names("XP Vista 7 8 10", partition.windows) && !partition.windows.empty()) {
    throw reader.bad("windows", "must be \"\", \"XP\", \"Vista\", \"7\", \"8\" or \"10\"");
  }
  partition.bootManager = reader.get<bool>("bootmgr", false);
  partition.bootFolder = reader.get<bool>("boot_folder", partition.bootManager);
  return partition;
}

Disk readDisk(const toml::table& table, TakenLetters& taken) {
  const TableReader reader(table, "[[disk]]", {"signature", "partition"});
  Disk disk;
  disk.signature = readSignature(reader);
  std::uint64_t nextOffset = 63 * sectorBytes;
  if (const toml::array* partitions = reader.tables("partition")) {
    for (const auto& node : *partitions) {
      disk.partitions.push_back(readPartition(*node.as_table(), nextOffset, taken));
      nextOffset = disk.partitions.back().offset + disk.partitions.back().size;
    }
  }
  return disk;
}

bool holdsBlankOrControl(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; });
}

// The fields an entry lists after its device, path and description. A name the program would take for an
// entry's header, or that the entry's own keys give, has no place among them.
std::vector<ListedField> readFields(const TableReader& reader, EntryKind kind) {
  std::vector<ListedField> fields;
  for (const auto& words : reader.textLists("fields")) {
    if (words.empty()) throw reader.bad("fields", "holds an empty list: a field is its name, then its values");
    ListedField field{words.front(), {words.begin() + 1, words.end()}};
    const std::string quoted = "'" + field.name + "'";
    if (field.name.empty() || holdsBlankOrControl(field.name)) {
      throw reader.bad("fields", "holds a field name that is empty or has a blank or control character in it");
    }
    if (givenOutsideTheFields(field.name)) {
      throw reader.bad("fields", "names " + quoted + ", which the entry's header or its own key gives");
    }
    const bool filledIn = filledInByTheStore(kind, field.name);
    if (filledIn && !field.values.empty()) {
      throw reader.bad("fields", "gives " + quoted + " values: the boot manager's follows the store, write it alone");
    }
    if (!filledIn && field.values.empty()) throw reader.bad("fields", "gives " + quoted + " no value");
    if (std::any_of(field.values.begin(), field.values.end(), [](const std::string& v) { return v.empty(); })) {
      throw reader.bad("fields", "gives " + quoted + " an empty value");
    }
    fields.push_back(std::move(field));
  }
  return fields;
}

BootEntry readEntry(const toml::table& table) {
  const TableReader reader(table, "[[entry]]", {"kind", "id", "device", "description", "path", "fields"});
  const auto kind = kindFromName(reader.text("kind", "loader"));
  if (!kind) throw reader.bad("kind", "must be \"bootmgr\", \"loader\", \"legacy\" or \"tool\"");
  BootEntry entry{*kind, reader.text("id", ""), reader.text("device", ""), reader.text("description", ""),
                  reader.text("path", "")};
  if (entry.id.empty()) throw reader.bad("id", "is missing");
  if (table.contains("fields")) entry.fields = readFields(reader, *kind);
  return entry;
}

MountedValue readMounted(const toml::table& table) {
  const TableReader reader(table, "[[mounted]]", {"name", "hex"});
  MountedValue value{reader.text("name", ""), {}};
  if (value.name.empty()) throw reader.bad("name", "is missing");
  const auto bytes = parseHexBytes(reader.text("hex", ""));
  if (!bytes) throw reader.bad("hex", "must be two-digit hexadecimal bytes joined by commas");
  value.bytes = *bytes;
  return value;
}

struct EffectName {
  const char* name;
  FaultEffect effect;
  const char* commands;  // the commands it can hit, blank-separated
};

constexpr EffectName effectNames[] = {
    {"fails", FaultEffect::fails, "export import delete listing regedit copy rename disk"},
    {"partial", FaultEffect::partial, "export import delete"},
    {"no-op", FaultEffect::noOp, "export import delete copy rename"},
    {"garbage", FaultEffect::garbage, "export import delete listing"},
};

Fault readFault(const toml::table& table) {
  const TableReader reader(table, "[[fault]]", {"command", "arg", "after", "times", "effect"});
  Fault fault{reader.text("command", ""), reader.textOrNumber("arg"), 0};
  const auto after = reader.get<std::int64_t>("after", 0);
  if (after < 0 || after > 1000000) throw reader.bad("after", "must be a count from 0");
  fault.after = static_cast<int>(after);
  const auto times = reader.get<std::int64_t>("times", 0);
  if (times < 0 || times > 1000000) throw reader.bad("times", "must be a count from 0");
  fault.times = static_cast<int>(times);
  if (!names(effectNames[0].commands, fault.command)) {
    throw reader.bad("command", "must be one of export, import, delete, listing, regedit, copy, rename, disk");
  }
  const std::string effect = reader.text("effect", "fails");
  const auto named = std::find_if(std::begin(effectNames), std::end(effectNames),
                                  [&](const EffectName& known) { return effect == known.name; });
  if (named == std::end(effectNames)) throw reader.bad("effect", "must be fails, partial, no-op or garbage");
  if (!names(named->commands, fault.command)) {
    throw reader.bad("effect", "\"" + effect + "\" hits only " + named->commands);
  }
  fault.effect = named->effect;
  return fault;
}

// attrib's letters for read-only, hidden and system, in any order and case, as R, H and S in that order.
std::string readAttributes(const TableReader& reader) {
  const std::string written = quillfex::lowerCase(reader.text("attrib", ""));
  if (written.find_first_not_of("rhs") != std::string::npos) {
    throw reader.bad("attrib", "must be letters of R, H and S (read-only, hidden, system)");
  }
  std::string letters;
  for (const char letter : {'R', 'H', 'S'}) {
    if (written.find(static_cast<char>(letter | 0x20)) != std::string::npos) letters += letter;
  }
  return letters;
}

// The file's content: literal text, or a store as the program's trimming for a drive leaves it.
LeftoverFile readLeftover(const toml::table& table, const BootStore& store) {
  const TableReader reader(table, "[[file]]", {"path", "text", "trimmed_for", "attrib"});
  LeftoverFile file{reader.text("path", ""), reader.text("text", ""), readAttributes(reader)};
  const auto full = quillfex::parseFullPath(file.path);
  if (!full || full->components.empty())
    throw reader.bad("path", "must be a full path of a file, \"C:\\\\Boot\\\\lid.bcd\"");
  const std::string drive = reader.text("trimmed_for", "");
  if (drive.empty()) return file;
  if (table.contains("text")) throw reader.bad("trimmed_for", "cannot stand beside 'text'");
  if (drive.size() != 2 || drive[1] != ':') throw reader.bad("trimmed_for", "must be a drive, \"D:\"");
  file.content = formatStore(keptFor(store, drive));
  return file;
}

template <typename Item, typename Read>
std::vector<Item> readAll(const TableReader& reader, const char* key, Read read) {
  std::vector<Item> items;
  if (const toml::array* tables = reader.tables(key)) {
    for (const auto& node : *tables) items.push_back(read(*node.as_table()));
  }
  return items;
}

// A word given in [listing] in place of its language's (or the English one).
void readWord(const TableReader& reader, const toml::table& table, const char* key, std::string& word) {
  if (!table.contains(key)) return;
  word = reader.text(key, "");
  if (word.empty()) throw reader.bad(key, "must not be empty");
  if (word.find_first_of("\r\n") != std::string::npos) throw reader.bad(key, "must not hold a line end");
}

std::string languageNames() {
  std::string names;
  for (const ListingWords& language : knownLanguages()) names += (names.empty() ? "" : ", ") + language.language;
  return names;
}

// The listing's paths and names are English, so the code page must write ASCII as ASCII.
void checkCodePage(const TableReader& reader, const toml::table& table, const ListingWords& words,
                   const CodePageEncoder& encode) {
  std::string ascii;
  for (char c = ' '; c <= '~'; ++c) ascii += c;
  const auto probe = encode(ascii, words.codePage);
  if (!probe) throw reader.bad("code_page", "is no code page that iconv knows");
  if (*probe != ascii) throw reader.bad("code_page", "does not write ASCII as ASCII, as the listing needs");
  std::string failedKey;
  if (encodeListingWords(words, encode, failedKey)) return;
  const std::string codePage = std::to_string(words.codePage);
  if (table.contains(failedKey)) throw reader.bad(failedKey.c_str(), "has no place in code page " + codePage);
  throw reader.bad("code_page", "has no place for the " + failedKey + " of " + words.language);
}

ListingWords readListing(const toml::table& table, HeaderStyle header, const CodePageEncoder& encode) {
  const TableReader reader(
      table, "[listing]",
      {"language", "code_page", "identifier", "boot_manager", "boot_loader", "legacy_loader", "memory_tester"});
  ListingWords words;
  if (table.contains("language")) {
    const ListingWords* known = knownLanguage(reader.text("language", ""));
    if (!known) throw reader.bad("language", "must be one of " + languageNames());
    words = *known;
  }
  const auto codePage = reader.get<std::int64_t>("code_page", words.codePage);
  if (codePage < 1 || codePage > 65535) throw reader.bad("code_page", "must be a code page's number, such as 850");
  words.codePage = static_cast<int>(codePage);
  readWord(reader, table, "identifier", words.identifier);
  for (const EntryKind kind : allKinds) readWord(reader, table, titleKey(kind), words.title(kind));
  if (header == HeaderStyle::id) {
    if (table.contains("identifier")) {
      throw reader.bad("identifier", "cannot stand beside header = \"id\", which makes the key \"id\"");
    }
    words.identifier = "id";
  }
  if (encode) checkCodePage(reader, table, words, encode);
  return words;
}

bool isDriveDesignator(const std::string& text) {
  return text.size() == 2 && text[0] >= 'A' && text[0] <= 'Z' && text[1] == ':';
}

void readTopLevel(const TableReader& reader, Machine& machine) {
  machine.systemDrive = reader.text("system_drive", "C:");
  if (!isDriveDesignator(machine.systemDrive)) throw reader.bad("system_drive", "must be a letter and a colon, \"C:\"");
  machine.elevated = reader.get<bool>("elevated", true);
  const std::string header = reader.text("header", "identifier");
  if (header != "identifier" && header != "id") throw reader.bad("header", "must be \"identifier\" or \"id\"");
  machine.header = header == "id" ? HeaderStyle::id : HeaderStyle::identifier;
  machine.temp = reader.text("temp", "C:\\Temp");
  if (machine.temp.size() < 3 || !isDriveDesignator(machine.temp.substr(0, 2)) || machine.temp[2] != '\\') {
    throw reader.bad("temp", "must be a full path such as \"C:\\\\Temp\"");
  }
}

void checkDrivesExist(const Machine& machine) {
  const auto hasDrive = [&](char letter) {
    return std::any_of(machine.disks.begin(), machine.disks.end(), [&](const Disk& disk) {
      return std::any_of(disk.partitions.begin(), disk.partitions.end(),
                         [&](const Partition& p) { return p.letter == letter; });
    });
  };
  if (!hasDrive(machine.systemDrive[0])) {
    throw DescriptionError("system_drive " + machine.systemDrive + " is on no [[disk.partition]]");
  }
  if (!hasDrive(machine.temp[0])) throw DescriptionError("temp " + machine.temp + " is on no [[disk.partition]]");
}

Machine readMachine(const toml::table& document, const CodePageEncoder& encode) {
  const TableReader reader(document, "the machine",
                           {"name", "note", "system_drive", "elevated", "header", "temp", "listing", "display_order",
                            "disk", "entry", "mounted", "fault", "file"});
  Machine machine;
  readTopLevel(reader, machine);
  if (const toml::node* listing = document.get("listing")) {
    if (!listing->is_table()) throw reader.bad("listing", "must be written as a [listing] table");
    machine.listing = readListing(*listing->as_table(), machine.header, encode);
  }
  TakenLetters taken;
  machine.disks = readAll<Disk>(reader, "disk", [&](const toml::table& table) { return readDisk(table, taken); });
  machine.store.entries = readAll<BootEntry>(reader, "entry", readEntry);
  machine.store.displayOrder = reader.texts("display_order");
  if (!document.contains("display_order")) {
    for (const auto& entry : machine.store.entries) {
      if (entry.kind == EntryKind::loader || entry.kind == EntryKind::legacy)
        machine.store.displayOrder.push_back(entry.id);
    }
  }
  machine.mounted =
      mergeMounted(deriveMountedValues(machine.disks), readAll<MountedValue>(reader, "mounted", readMounted));
  machine.faults = readAll<Fault>(reader, "fault", readFault);
  machine.leftovers = readAll<LeftoverFile>(
      reader, "file", [&](const toml::table& table) { return readLeftover(table, machine.store); });
  checkDrivesExist(machine);
  return machine;
}

}  // namespace

FaultEffect Machine::faultFor(const std::string& command, const std::string& arg) const {
  FaultEffect effect = FaultEffect::none;
  for (std::size_t i = 0; i < faults.size(); ++i) {
    const Fault& fault = faults[i];
    if (fault.command != command || (!fault.arg.empty() && !quillfex::equalIgnoringCase(fault.arg, arg))) continue;
    if (effect != FaultEffect::none) continue;
    const bool counted = fault.after > 0 || fault.times > 0;
    const int match = counted ? countFaultMatch(faultCountsFile, i) : 1;
    if (match > fault.after && (fault.times == 0 || match <= fault.after + fault.times)) effect = fault.effect;
  }
  return effect;
}

std::optional<Machine> parseMachine(const std::string& text, const std::string& sourceName, std::string& error,
                                    const CodePageEncoder& encode) {
  try {
    return readMachine(parseToml(text, sourceName), encode);
  } catch (const toml::parse_error& failure) {
    error = sourceName + ":" + lineOf(failure.source()) + ": " + std::string(failure.description());
  } catch (const DescriptionError& failure) {
    error = sourceName + ": " + failure.what();
  }
  return std::nullopt;
}

}  // namespace winsim
