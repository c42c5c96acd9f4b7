// Replicas from captures: the readers of the capture's own formats, the hand-written captures of
// tests/data/capture-*, and captures whose files contradict each other, which must be said, not guessed at.

#include "winsim/replica/replica.h"

#include <gtest/gtest.h>

#include <cstring>

#include "machine/machine.h"
#include "machine/toml.h"
#include "posix/code_page_text.h"
#include "winsim/editor/listing.h"
#include "winsim/replica/listing_sections.h"
#include "winsim/replica/registry_export.h"

namespace winsim {
namespace {

const std::string dataFolder = QUILLFEX_TEST_DATA;
const std::string exportHeader =
    "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices]\r\n";

// As regedit /e writes an export: UTF-16LE after a byte-order mark.
std::string utf16Export(const std::string& text) {
  std::string wide = "\xFF\xFE";
  for (const char c : text) {
    wide += c;
    wide += '\0';
  }
  return wide;
}

// The description's text with its folded comments joined again.
std::string unfolded(std::string text) {
  for (std::size_t at = 0; (at = text.find("\n# ", at)) != std::string::npos;) text.replace(at, 3, " ");
  return text;
}

bool mentions(const std::vector<std::string>& lines, const std::string& text) {
  for (const auto& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(RegistryExport, ReadsValuesOfEveryTypeInEitherEncoding) {
  const std::string text = exportHeader +
                           "\"\\\\DosDevices\\\\C:\"=hex:12,ab,0c,ff,00,7e,00,00,00,00,00,00\r\n"
                           "\"\\\\??\\\\Volume{5157cc0e}\"=hex(7):41,00,\\\r\n  42,00,\\\r\n  00,00\r\n"
                           "\"Count\"=dword:0000001f\r\n"
                           "\"Say \\\"hi\\\"\"=\"C:\\\\Temp\"\r\n"
                           "@=hex:\r\n"
                           "; a comment\r\n\r\n";
  const struct {
    std::string name, type;
    std::vector<std::uint8_t> bytes;
  } expected[] = {
      {"\\DosDevices\\C:", "hex", {0x12, 0xab, 0x0c, 0xff, 0x00, 0x7e, 0, 0, 0, 0, 0, 0}},
      {"\\??\\Volume{5157cc0e}", "hex(7)", {0x41, 0, 0x42, 0, 0, 0}},
      {"Count", "dword", {0x1f, 0, 0, 0}},
      {"Say \"hi\"", "string", {'C', ':', '\\', 'T', 'e', 'm', 'p'}},
      {"", "hex", {}},
  };
  for (const std::string& file : {utf16Export(text), text}) {
    const RegistryExport read = readRegistryExport(file);
    EXPECT_TRUE(read.header);
    EXPECT_TRUE(read.problems.empty()) << read.problems.front().what;
    const RegistryKey* key = read.key("hkey_local_machine\\system\\mounteddevices");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
      EXPECT_EQ(key->values[i].name, expected[i].name);
      EXPECT_EQ(key->values[i].type, expected[i].type) << expected[i].name;
      EXPECT_EQ(key->values[i].bytes, expected[i].bytes) << expected[i].name;
    }
    EXPECT_EQ(key->values[1].line, 5);
  }
}

TEST(RegistryExport, SaysWhatDoesNotReadAndLeavesItOut) {
  const std::string good = "\"\\\\DosDevices\\\\C:\"=hex:12,ab\r\n";
  const struct {
    std::string text;
    int line;
    std::string said;
  } cases[] = {
      {"", 0, "empty"},
      {"[HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices]\r\n" + good + "\r\n", 1, "header"},
      {"REGEDIT4\r\n\r\n" + good + "\r\n", 3, "under no [key]"},
      {exportHeader + good + "\"D\"=hex:12,zz\r\n\r\n", 5, "does not read"},
      {exportHeader + good + "\"D\"=dword:12\r\n\r\n", 5, "8 hexadecimal digits"},
      {exportHeader + good + "\"D\"=hex:12,ab", 5, "no line end"},
      {exportHeader + good + "\"D\"=hex:12,\\\r\n  ab,\\\r\n", 5, "folded past the end"},
      {exportHeader + good + "\"D\"=hex:12,\\\r\n  ab,0", 6, "no line end"},
      {exportHeader + good + "\"D\"=-\r\n\r\n", 5, "no form"},
      {exportHeader + good + "\"D=hex:12\r\n\r\n", 5, "closing quote"},
      {exportHeader + good + "just words\r\n\r\n", 5, "neither"},
      {exportHeader + "[HKEY_LOCAL_MACHINE\\SYSTEM\r\n" + good + "\r\n", 4, "closing ]"},
      {exportHeader + good, 0, "blank line regedit writes last"},
  };
  for (const auto& [text, line, said] : cases) {
    const RegistryExport read = readRegistryExport(utf16Export(text));
    bool found = false;
    for (const auto& problem : read.problems)
      found |= problem.line == line && problem.what.find(said) != std::string::npos;
    EXPECT_TRUE(found) << ::testing::PrintToString(text) << " lacks line " << line << ": " << said;
    for (const auto& key : read.keys) {
      for (const auto& value : key.values) EXPECT_NE(value.name, "D") << ::testing::PrintToString(text);
    }
  }
}

// Both header styles as winsim's editor prints them, a device line the program would misread, a title in no
// language known.
TEST(ListingSections, ReadEntriesFieldsAndContinuedValues) {
  BootStore store;
  store.entries = {{EntryKind::bootManager, "{bootmgr}", "partition=C:", "Windows Boot Manager", ""},
                   {EntryKind::loader, "{current}", "partition=C:", "Windows 7", "\\Windows\\system32\\winload.exe"},
                   {EntryKind::legacy, "{ntldr}", "partition=D:", "Earlier Version of Windows", "\\ntldr"},
                   {EntryKind::tool, "{memdiag}", "partition=C:", "Windows Memory Diagnostic", "\\boot\\memtest.exe"}};
  store.displayOrder = {"{current}", "{ntldr}"};
  for (const HeaderStyle style : {HeaderStyle::identifier, HeaderStyle::id}) {
    const auto sections = listingSections(formatListing(store, style));
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].title, "Windows Boot Manager");
    EXPECT_EQ(sections[0].values("displayorder"), (std::vector<std::string>{"{current}", "{ntldr}"}));
    EXPECT_EQ(sections[0].values("toolsdisplayorder"), std::vector<std::string>{"{memdiag}"});
    EXPECT_EQ(sections[2].title, "Windows Legacy OS Loader");
    EXPECT_EQ(sections[2].id, "{ntldr}");
    EXPECT_EQ(sections[2].value("path"), "\\ntldr");
    for (const auto& section : sections) {
      EXPECT_EQ(section.shortHeader, style == HeaderStyle::id);
      EXPECT_TRUE(section.deviceFollows);
    }
  }
  const auto odd = listingSections(
      "\r\nWindows-Startladeprogramm\r\n-------------------------\r\nidentifier              {x}\r\n"
      "description             Zweites\r\ndevice                  partition=E:\r\n\r\nid        "
      "              {y}");
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[0].title, "Windows-Startladeprogramm");
  EXPECT_FALSE(odd[0].deviceFollows);
  EXPECT_EQ(odd[0].value("device"), "partition=E:");
  EXPECT_FALSE(odd[1].deviceFollows);  // the listing ends after the header
  EXPECT_EQ(odd[1].title, "");
}

struct Replica {
  ReplicaDescription description;
  std::optional<Machine> machine;
  std::string error;
};

Replica replicaOf(const CaptureFolder& capture) {
  Replica replica{describeCapture(capture), std::nullopt, ""};
  replica.machine = parseMachine(replica.description.text, "replica", replica.error, quillfex::posix::utf8ToCodePage);
  return replica;
}

Replica replicaOfFixture(const std::string& name) {
  std::string error;
  const auto capture = CaptureFolder::read(dataFolder + "/" + name, error);
  EXPECT_TRUE(capture) << error;
  return capture ? replicaOf(*capture) : Replica{};
}

const Partition* partitionWithLetter(const Machine& machine, char letter) {
  for (const auto& disk : machine.disks) {
    for (const auto& partition : disk.partitions) {
      if (partition.letter == letter) return &partition;
    }
  }
  return nullptr;
}

TEST(CaptureReplica, SevenVistaALogicalDriveAndAUsbStick) {
  const Replica replica = replicaOfFixture("capture-seven-vista-usb");
  ASSERT_TRUE(replica.machine) << replica.error << "\n" << replica.description.text;
  EXPECT_EQ(replica.description.problems, std::vector<std::string>{});
  const Machine& machine = *replica.machine;
  EXPECT_EQ(machine.temp, "C:\\Users\\John Smith\\AppData\\Local\\Temp");
  EXPECT_EQ(machine.header, HeaderStyle::identifier);
  ASSERT_EQ(machine.disks.size(), 2u);
  const auto& disk0 = machine.disks[0].partitions;
  ASSERT_EQ(disk0.size(), 4u);  // C:, D:, the unlettered one, then G: from the extended partition
  const struct {
    char letter;
    std::uint64_t offset, size;
    std::string windows;
    bool bootManager, bootFolder;
  } expected[] = {
      {'C', 32256, 21474836480, "7", true, true},
      {'D', 21474868736, 21474836480, "Vista", false, false},
      {0, 53687123456, 1073741824, "", false, false},
      {'G', 42949737472, 20ull << 30, "", false, false},  // a logical drive: its size is winsim's
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(disk0[i].letter, expected[i].letter) << i;
    EXPECT_EQ(disk0[i].offset, expected[i].offset) << i;
    EXPECT_EQ(disk0[i].size, expected[i].size) << i;
    EXPECT_EQ(disk0[i].windows, expected[i].windows) << i;
    EXPECT_EQ(disk0[i].bootManager, expected[i].bootManager) << i;
    EXPECT_EQ(disk0[i].bootFolder, expected[i].bootFolder) << i;
  }
  ASSERT_EQ(machine.disks[1].partitions.size(), 1u);
  EXPECT_EQ(machine.disks[1].partitions[0].letter, 'E');
  EXPECT_EQ(machine.disks[1].partitions[0].windows, "7");

  ASSERT_EQ(machine.store.entries.size(), 4u);
  EXPECT_EQ(machine.store.entries[2].device, "partition=D:");
  EXPECT_EQ(machine.store.entries[2].description, "Windows Vista");
  EXPECT_EQ(machine.store.displayOrder.size(), 3u);
  // The USB stick's value is no volume of a disk: kept as the export holds it, on no partition.
  for (const char* name : {"\\DosDevices\\F:", "\\??\\Volume{8c3f2a10-5d1e-11e0-b7c2-001e4c7a9f31}"}) {
    const auto stick = std::find_if(machine.mounted.begin(), machine.mounted.end(),
                                    [&](const MountedValue& value) { return value.name == name; });
    ASSERT_NE(stick, machine.mounted.end()) << name;
    EXPECT_EQ(stick->bytes.size(), 234u) << name;
  }
  EXPECT_EQ(partitionWithLetter(machine, 'F'), nullptr);
  for (const char* said : {"{memdiag} is in the boot manager's tools menu", "Its size is not captured",
                           "No drive letter", "Volume values that are no MBR volume", "kept on no partition: 1."}) {
    EXPECT_NE(unfolded(replica.description.text).find(said), std::string::npos) << said;
  }
  // Every field keeps its place: the replica lists what was captured, but for the tools menu's entries.
  std::string error;
  std::string listed = *CaptureFolder::read(dataFolder + "/capture-seven-vista-usb", error)->file("listing.txt");
  const std::string tools = "toolsdisplayorder       {memdiag}\r\n";
  listed.erase(listed.find(tools), tools.size());
  EXPECT_EQ(formatListing(machine.store, machine.header), listed);
}

TEST(CaptureReplica, IdHeadersADiskNotReadAndAMissingListing) {
  const Replica replica = replicaOfFixture("capture-vista-id");
  ASSERT_TRUE(replica.machine) << replica.error << "\n" << replica.description.text;
  const Machine& machine = *replica.machine;
  EXPECT_EQ(machine.header, HeaderStyle::id);
  ASSERT_EQ(machine.disks.size(), 4u);
  // Disk 1 did not read, so D: keeps disk number 2; H: is on a disk the capture could not read.
  EXPECT_TRUE(machine.disks[1].partitions.empty());
  EXPECT_TRUE(machine.fails("disk", "1"));
  EXPECT_EQ(machine.disks[2].partitions.at(0).letter, 'D');
  EXPECT_FALSE(machine.fails("disk", "2"));
  EXPECT_EQ(machine.disks[3].partitions.at(0).letter, 'H');
  EXPECT_TRUE(machine.fails("disk", "3"));
  EXPECT_EQ(partitionWithLetter(machine, 'C')->windows, "Vista");
  EXPECT_EQ(partitionWithLetter(machine, 'D')->windows, "");  // not known: system32-D.txt is missing
  EXPECT_EQ(partitionWithLetter(machine, 'H')->windows, "7");
  EXPECT_EQ(machine.store.find("{ntldr}")->kind, EntryKind::legacy);
  EXPECT_EQ(machine.store.displayOrder,
            (std::vector<std::string>{"{current}", "{ntldr}", "{2f3e4d5c-9a8b-11e0-bc7d-806e6f6e6963}",
                                      "{2f3e4d5d-9a8b-11e0-bc7d-806e6f6e6963}"}));
  EXPECT_EQ(replica.description.problems,
            std::vector<std::string>{"system32-D.txt is missing: whether Windows is on D: is unknown"});
  EXPECT_NE(replica.description.text.find("# C:\\Boot holds org.bcd, org.lst"), std::string::npos);
}

// The listing is German, and without capture.toml its code page is taken as 437.
TEST(CaptureReplica, ACutOffExportAListingInGermanAndNoSettings) {
  const Replica replica = replicaOfFixture("capture-cut-off");
  ASSERT_TRUE(replica.machine) << replica.error << "\n" << replica.description.text;
  const Machine& machine = *replica.machine;
  ASSERT_EQ(machine.disks.size(), 1u);
  ASSERT_EQ(machine.disks[0].partitions.size(), 2u);
  EXPECT_EQ(machine.disks[0].partitions[0].letter, 'C');
  EXPECT_EQ(machine.disks[0].partitions[1].letter, 0);  // D:'s value was cut off
  ASSERT_EQ(machine.store.entries.size(), 2u);
  EXPECT_EQ(machine.store.entries[1].kind, EntryKind::loader);
  ListingWords german = *knownLanguage("de-DE");
  german.codePage = 437;
  EXPECT_EQ(machine.listing, german);
  const auto& problems = replica.description.problems;
  for (const char* said : {"capture.toml is missing", "line 17: the last line has no line end",
                           "\"\\DosDevices\\D:\" is left out", "it may be cut off"}) {
    EXPECT_TRUE(mentions(problems, said)) << said;
    EXPECT_NE(unfolded(replica.description.text).find(said), std::string::npos) << said;
  }
  EXPECT_EQ(problems.size(), 3u) << ::testing::PrintToString(problems);
  EXPECT_NE(replica.description.text.find("# system_drive: not known; winsim takes \"C:\""), std::string::npos);
  EXPECT_NE(unfolded(replica.description.text).find("listing.txt is read as code page 437"), std::string::npos);
}

// Real Russian Windows 7 output in code page 866 and capture.toml in the format of 1.04.
TEST(CaptureReplica, ARussianListingInItsCodePage) {
  const Replica replica = replicaOfFixture("capture-russian");
  ASSERT_TRUE(replica.machine) << replica.error << "\n" << replica.description.text;
  EXPECT_EQ(replica.description.problems, std::vector<std::string>{});
  EXPECT_EQ(replica.machine->listing, *knownLanguage("ru-RU"));
  EXPECT_EQ(replica.machine->store.find("{ntldr}")->kind, EntryKind::legacy);
  EXPECT_EQ(partitionWithLetter(*replica.machine, 'D')->windows, "XP");
  EXPECT_EQ(replica.machine->store.displayOrder, (std::vector<std::string>{"{current}", "{ntldr}"}));
  EXPECT_NE(replica.description.text.find("# ver printed \"Microsoft Windows [Version 6.1.7601]\""), std::string::npos);
}

// A capture put together in memory: a disk with two partitions, C: and D:, Windows 7 on both.
struct SmallCapture {
  std::map<std::string, std::string> files;

  SmallCapture() {
    settings("version = \"1.03\"\n");
    files["disk0.bin"] = sector("12ab0cff", {{0x07, 63, 1000}, {0x07, 1063, 1000}});
    setLetters({{"C", "12,ab,0c,ff,00,7e,00,00,00,00,00,00"}, {"D", "12,ab,0c,ff,00,4e,08,00,00,00,00,00"}});
    BootStore store;
    store.entries = {{EntryKind::bootManager, "{bootmgr}", "partition=C:", "Windows Boot Manager", ""},
                     {EntryKind::loader, "{current}", "partition=C:", "Windows 7", "\\Windows\\system32\\winload.exe"},
                     {EntryKind::loader, "{d}", "partition=D:", "Windows 7 (D:)", "\\Windows\\system32\\winload.exe"}};
    store.displayOrder = {"{current}", "{d}"};
    files["listing.txt"] = formatListing(store, HeaderStyle::identifier);
    listing = store;
    for (const char* x : {"C", "D"}) {
      files[std::string("root-") + x + ".txt"] =
          std::string(x) == "C" ? "Boot\r\nbootmgr\r\nWindows\r\n" : "Windows\r\n";
      files[std::string("boot-") + x + ".txt"] = std::string(x) == "C" ? "BCD\r\n" : "";
      files[std::string("system32-") + x + ".txt"] = "bcdboot.exe\r\nbcdedit.exe\r\n";
    }
  }

  void settings(const std::string& more) {
    files["capture.toml"] = "system_drive = \"C:\"\ntemp = \"C:\\\\Temp\"\nelevated = true\n" + more;
  }

  // The listing as the editor writes it in those words and code page.
  void listIn(const ListingWords& words) {
    std::string failedKey;
    const auto text = encodeListingWords(words, quillfex::posix::utf8ToCodePage, failedKey);
    ASSERT_TRUE(text) << failedKey;
    files["listing.txt"] = formatListing(listing, *text);
  }

  BootStore listing;

  struct Slot {
    std::uint8_t type;
    std::uint32_t first, count;
  };

  static std::string sector(const std::string& signature, const std::vector<Slot>& slots) {
    std::string bytes(512, '\0');
    for (std::size_t i = 0; i < 4; ++i)
      bytes[440 + i] = static_cast<char>(std::stoi(signature.substr(2 * i, 2), nullptr, 16));
    for (std::size_t i = 0; i < slots.size(); ++i) {
      char* entry = bytes.data() + 446 + 16 * i;
      entry[4] = static_cast<char>(slots[i].type);
      std::memcpy(entry + 8, &slots[i].first, 4);
      std::memcpy(entry + 12, &slots[i].count, 4);
    }
    bytes[510] = '\x55';
    bytes[511] = '\xAA';
    return bytes;
  }

  void setLetters(const std::vector<std::pair<std::string, std::string>>& letters) {
    std::string text = exportHeader;
    for (const auto& [letter, hex] : letters) text += "\"\\\\DosDevices\\\\" + letter + ":\"=hex:" + hex + "\r\n";
    files["MountedDevices.reg"] = utf16Export(text + "\r\n");
  }
};

// D: lies at byte 1063 * 512 = 0x84e00 of the disk.
TEST(CaptureReplica, ContradictionsAreSaidAndNotGuessed) {
  const struct {
    std::string name;
    std::function<void(SmallCapture&)> change;
    std::string said;
    char missingLetter;  // a letter the replica must not place; 0 for none
  } cases[] = {
      {"two letters on one partition",
       [](SmallCapture& c) {
         c.setLetters({{"C", "12,ab,0c,ff,00,7e,00,00,00,00,00,00"}, {"D", "12,ab,0c,ff,00,7e,00,00,00,00,00,00"}});
       },
       "D: and C: name the same partition", 'D'},
      {"a letter where the table has no partition",
       [](SmallCapture& c) {
         c.setLetters({{"C", "12,ab,0c,ff,00,7e,00,00,00,00,00,00"}, {"D", "12,ab,0c,ff,00,00,40,00,00,00,00,00"}});
       },
       "D: lies at byte 4194304 of disk 0 (signature 12ab0cff), where its partition table has no partition", 'D'},
      {"a letter where no MBR partition can start, on a disk not read",
       [](SmallCapture& c) {
         c.setLetters({{"C", "12,ab,0c,ff,00,7e,00,00,00,00,00,00"}, {"D", "00,00,ee,ee,00,00,00,00,a4,c1,b2,d3"}});
       },
       "D: lies at byte 15254467797976088576, where no partition of an MBR disk can start", 'D'},
      {"a letter off a sector boundary",
       [](SmallCapture& c) {
         c.setLetters({{"C", "12,ab,0c,ff,00,7e,00,00,00,00,00,00"}, {"D", "12,ab,0c,ff,01,7e,00,00,00,00,00,00"}});
       },
       "D: lies at byte 32257, where no partition", 'D'},
      {"overlapping table entries",
       [](SmallCapture& c) {
         c.files["disk0.bin"] = SmallCapture::sector("12ab0cff", {{0x07, 63, 2000}, {0x07, 1063, 1000}});
       },
       "overlaps its table entry 1", 0},
      {"a disk file that is no sector", [](SmallCapture& c) { c.files["disk0.bin"] = "short"; },
       "disk0.bin holds 5 bytes, not the 512 of a sector", 0},
      {"a sector without its end mark",
       [](SmallCapture& c) { c.files["disk0.bin"] = c.files["disk0.bin"].substr(0, 510) + "xx"; },
       "does not end in 55 AA", 0},
      {"two disks with one signature", [](SmallCapture& c) { c.files["disk1.bin"] = c.files["disk0.bin"]; },
       "disks 0 and 1 have the same signature 12ab0cff: C: is placed on the first", 0},
      {"an entry listed twice",
       [](SmallCapture& c) {
         c.files["listing.txt"] +=
             "\r\nWindows Boot Loader\r\n-------------------\r\nidentifier              {d}\r\n"
             "device                  partition=D:\r\n";
       },
       "lists {d} again", 0},
      {"a display order naming what is not listed",
       [](SmallCapture& c) {
         auto& listing = c.files["listing.txt"];
         listing.insert(listing.find("timeout"), "                        {gone}\r\n");
       },
       "displayorder names {gone}", 0},
      {"headers in both styles",
       [](SmallCapture& c) {
         auto& listing = c.files["listing.txt"];
         listing.replace(listing.rfind("identifier"), 10, "id        ");
       },
       "heads entries in both styles", 0},
      {"a letter's value of another type",
       [](SmallCapture& c) {
         c.files["MountedDevices.reg"] =
             utf16Export(exportHeader +
                         "\"\\\\DosDevices\\\\C:\"=hex:12,ab,0c,ff,00,7e,00,00,00,00,00,00\r\n"
                         "\"\\\\DosDevices\\\\D:\"=\"D:\"\r\n\r\n");
       },
       "\\DosDevices\\D: is a string value, not a binary one", 'D'},
      {"a boot manager on no drive, and no active partition without a letter",
       [](SmallCapture& c) {
         auto& listing = c.files["listing.txt"];
         listing.replace(listing.find("partition=C:"), 12, "partition=\\Device\\HarddiskVolume1");
         c.files["boot-C.txt"] = "";
       },
       "the listed store's boot manager is on partition=\\Device\\HarddiskVolume1, but the replica's system store is "
       "on C:",
       0},
      {"a system drive on no partition",
       [](SmallCapture& c) {
         c.setLetters({{"D", "12,ab,0c,ff,00,4e,08,00,00,00,00,00"}});
       },
       "the system drive C: is on no partition described", 'C'},
  };
  for (const auto& [name, change, said, missingLetter] : cases) {
    SmallCapture capture;
    change(capture);
    const Replica replica = replicaOf(CaptureFolder(capture.files));
    EXPECT_TRUE(mentions(replica.description.problems, said)) << name << ": lacks " << said << " in\n"
                                                              << replica.description.text;
    EXPECT_NE(replica.description.text.find("# Problem: "), std::string::npos) << name;
    EXPECT_NO_THROW(parseToml(replica.description.text)) << name;
    if (replica.machine && missingLetter) {
      EXPECT_EQ(partitionWithLetter(*replica.machine, missingLetter), nullptr) << name;
    }
  }
  const Replica good = replicaOf(CaptureFolder(SmallCapture().files));
  EXPECT_TRUE(good.machine) << good.error;
  EXPECT_EQ(good.description.problems, std::vector<std::string>{});
}

// The words of a listing in another language, read from the code page chcp named: a known language's are that
// language, others are described one by one.
TEST(CaptureReplica, AListingsLanguageAndWords) {
  ListingWords ownWords;
  ownWords.codePage = 850;
  ownWords.identifier = "Kennung";
  ownWords.title(EntryKind::loader) = "Startprogramm für Windows";
  ListingWords germanShort = *knownLanguage("de-DE");
  germanShort.identifier = "id";
  const ListingWords english;
  const struct {
    const char* name;
    std::string settings;
    ListingWords listedIn;
    std::optional<ListingWords> replicaWords;
    std::string problem;  // "": none
  } cases[] = {
      {"German", "code_page = 850\nversion = \"1.04\"\n", *knownLanguage("de-DE"), *knownLanguage("de-DE"), ""},
      {"Russian", "code_page = 866\nversion = \"1.04\"\n", *knownLanguage("ru-RU"), *knownLanguage("ru-RU"), ""},
      {"Chinese", "code_page = 936\nversion = \"1.04\"\n", *knownLanguage("zh-CN"), *knownLanguage("zh-CN"), ""},
      {"words of its own", "code_page = 850\nversion = \"1.04\"\n", ownWords, ownWords, ""},
      {"German with id headers", "code_page = 850\nversion = \"1.04\"\n", germanShort, germanShort, ""},
      {"no code page from 1.04", "version = \"1.04\"\n", english, std::nullopt, "capture.toml has no code_page"},
      {"a code page iconv does not know", "code_page = 4242\nversion = \"1.04\"\n", english, std::nullopt,
       "code_page 4242 is none that iconv knows"},
  };
  for (const auto& [name, settings, listedIn, replicaWords, problem] : cases) {
    SmallCapture capture;
    capture.settings(settings);
    capture.listIn(listedIn);
    const Replica replica = replicaOf(CaptureFolder(capture.files));
    ASSERT_TRUE(replica.machine) << name << ": " << replica.error << "\n" << replica.description.text;
    EXPECT_EQ(replica.machine->listing, replicaWords) << name << "\n" << replica.description.text;
    EXPECT_EQ(replica.machine->header, listedIn.identifier == "id" ? HeaderStyle::id : HeaderStyle::identifier) << name;
    EXPECT_EQ(replica.machine->store.entries.size(), 3u) << name;
    EXPECT_EQ(replica.description.problems.size(), problem.empty() ? 0u : 1u) << name;
    EXPECT_TRUE(problem.empty() || mentions(replica.description.problems, problem)) << name;
  }
}

// Whatever the files hold, the description reads as TOML and names what did not read.
TEST(CaptureReplica, GarbageGivesADescriptionAndItsProblems) {
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 7919 + 13) % 256);
  std::map<std::string, std::string> files;
  for (const char* name : {"capture.toml", "listing.txt", "MountedDevices.reg", "disk0.bin", "root-C.txt"}) {
    files[name] = noise;
  }
  files["disk1.bin"] = noise.substr(0, 512);
  const ReplicaDescription description = describeCapture(CaptureFolder(files));
  EXPECT_NO_THROW(parseToml(description.text));
  for (const char* said : {"capture.toml does not read", "MountedDevices.reg", "disk0.bin holds 4096 bytes",
                           "listing.txt has no entry header"}) {
    EXPECT_TRUE(mentions(description.problems, said)) << said;
  }
  EXPECT_TRUE(describeCapture(CaptureFolder({})).problems.size() >= 3);

  // Comments are folded and shown from such bytes, and must stay comments of valid UTF-8.
  const std::string id = "{a\rb" + std::string(300, '\xA0') + "}";
  const ReplicaDescription odd = describeCapture(
      CaptureFolder({{"listing.txt", "identifier              {bootmgr}\r\ndisplayorder            " + id + "\r\n"}}));
  EXPECT_NO_THROW(parseToml(odd.text));
  EXPECT_TRUE(mentions(odd.problems, "names {a?b")) << odd.text;
}

}  // namespace
}  // namespace winsim
