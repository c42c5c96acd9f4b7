#include "machine/machine.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "machine/mounted_devices.h"
#include "posix/code_page_text.h"

namespace winsim {
namespace {

const std::string minimalDisk = R"(
[[disk]]
signature = "12ab0cff"
[[disk.partition]]
letter = "C"
windows = "7"
bootmgr = true
)";

std::optional<Machine> parse(const std::string& text, std::string& error) {
  return parseMachine(text, "m.toml", error, quillfex::posix::utf8ToCodePage);
}

TEST(MachineDescription, DefaultsFillWhatIsNotSaid) {
  std::string error;
  const auto machine = parse(minimalDisk + R"(
[[disk.partition]]
letter = "d"
[[disk.partition]]
letter = "E"
offset = 1048576
[[entry]]
kind = "bootmgr"
id = "{bootmgr}"
[[entry]]
id = "{a}"
[[entry]]
kind = "tool"
id = "{memdiag}"
[[entry]]
kind = "legacy"
id = "{ntldr}"
)",
                             error);
  ASSERT_TRUE(machine) << error;
  EXPECT_EQ(machine->systemDrive, "C:");
  EXPECT_TRUE(machine->elevated);
  EXPECT_EQ(machine->header, HeaderStyle::identifier);
  EXPECT_EQ(machine->temp, "C:\\Temp");
  const auto& partitions = machine->disks[0].partitions;
  EXPECT_EQ(partitions[0].offset, 32256u);  // 63 sectors
  EXPECT_EQ(partitions[1].offset, partitions[0].offset + partitions[0].size);
  EXPECT_EQ(partitions[1].letter, 'D');
  EXPECT_EQ(partitions[2].offset, 1048576u);
  EXPECT_TRUE(partitions[0].bootFolder);
  EXPECT_EQ(machine->store.displayOrder, (std::vector<std::string>{"{a}", "{ntldr}"}));
}

TEST(MachineDescription, MistakesAreNamedWithTheirLine) {
  struct Case {
    std::string text, message;
  } cases[] = {
      {"colour = 1\n" + minimalDisk, "m.toml: line 1: unknown key 'colour' in the machine"},
      {"header = \"ident\"\n" + minimalDisk,
       "m.toml: line 1: 'header' in the machine must be \"identifier\" or \"id\""},
      {"elevated = \"yes\"\n" + minimalDisk, "m.toml: line 1: 'elevated' in the machine has a value of the wrong type"},
      {minimalDisk + "size = 1e31\n", "m.toml: line 8: 'size' in [[disk.partition]] has a value of the wrong type"},
      {"system_drive = \"C\"\n" + minimalDisk,
       "m.toml: line 1: 'system_drive' in the machine must be a letter and a colon, \"C:\""},
      {"temp = \"Temp\"\n" + minimalDisk,
       "m.toml: line 1: 'temp' in the machine must be a full path such as \"C:\\\\Temp\""},
      {"[[disk]]\nsignature = \"12ab0c\"\n",
       "m.toml: line 2: 'signature' in [[disk]] must be 8 hexadecimal digits, the bytes 440 to 443 in disk order"},
      {minimalDisk + "size = -5\n", "m.toml: line 8: 'size' in [[disk.partition]] must be positive"},
      {minimalDisk + "[[disk.partition]]\nletter = \"D\"\nwindows = \"2000\"\n",
       "m.toml: line 10: 'windows' in [[disk.partition]] must be \"\", \"XP\", \"Vista\", \"7\", \"8\" or \"10\""},
      {minimalDisk + "[[entry]]\nkind = \"os\"\nid = \"{x}\"\n",
       "m.toml: line 9: 'kind' in [[entry]] must be \"bootmgr\", \"loader\", \"legacy\" or \"tool\""},
      {minimalDisk + "[[entry]]\ndevice = \"partition=C:\"\n", "m.toml: 'id' in [[entry]] is missing"},
      {minimalDisk + "[[entry]]\nid = \"{a}\"\nfields = \"nx\"\n",
       "m.toml: line 10: 'fields' in [[entry]] must be a list of lists of texts, such as [[\"nx\", \"OptIn\"]]"},
      {minimalDisk + "[[entry]]\nid = \"{a}\"\nfields = [[\"nx\", 1]]\n",
       "m.toml: line 10: 'fields' in [[entry]] must be"},
      {minimalDisk + "[[entry]]\nid = \"{a}\"\nfields = [[]]\n",
       "m.toml: line 10: 'fields' in [[entry]] holds an empty"},
      {minimalDisk + "[[entry]]\nid = \"{a}\"\nfields = [[\"nx\"]]\n",
       "m.toml: line 10: 'fields' in [[entry]] gives 'nx' no value"},
      {minimalDisk + "[[entry]]\nid = \"{a}\"\nfields = [[\"nx\", \"\"]]\n",
       "m.toml: line 10: 'fields' in [[entry]] gives 'nx' an empty value"},
      {minimalDisk + "[[entry]]\nid = \"{a}\"\nfields = [[\"no x\", \"1\"]]\n",
       "m.toml: line 10: 'fields' in [[entry]] holds a field name that is empty or has a blank"},
      {minimalDisk + "[[entry]]\nid = \"{a}\"\nfields = [[\"identifier\", \"{b}\"]]\n",
       "m.toml: line 10: 'fields' in [[entry]] names 'identifier', which the entry's header or its own key gives"},
      {minimalDisk + "[[entry]]\nkind = \"bootmgr\"\nid = \"{bootmgr}\"\nfields = [[\"displayorder\", \"{a}\"]]\n",
       "m.toml: line 11: 'fields' in [[entry]] gives 'displayorder' values: the boot manager's follows the store"},
      {minimalDisk + "[[mounted]]\nname = \"\\\\DosDevices\\\\Q:\"\nhex = \"12,ab,0\"\n",
       "m.toml: line 10: 'hex' in [[mounted]] must be two-digit hexadecimal bytes joined by commas"},
      {minimalDisk + "[[fault]]\ncommand = \"format\"\n",
       "m.toml: line 9: 'command' in [[fault]] must be one of export, import, delete, listing, regedit, copy, rename, "
       "disk"},
      {minimalDisk + "[[file]]\npath = \"C:\\\\bootmgr\"\nattrib = \"RA\"\n",
       "m.toml: line 10: 'attrib' in [[file]] must be letters of R, H and S (read-only, hidden, system)"},
      {"system_drive = \"D:\"\n" + minimalDisk, "m.toml: system_drive D: is on no [[disk.partition]]"},
      {"disk = 3\n", "m.toml: line 1: 'disk' in the machine must be written as [[disk]] tables"},
      {"[listing]\ncolour = 1\n" + minimalDisk, "m.toml: line 2: unknown key 'colour' in [listing]"},
      {"listing = 3\n" + minimalDisk, "m.toml: line 1: 'listing' in the machine must be written as a [listing] table"},
      {"[listing]\nlanguage = \"de-AT\"\n" + minimalDisk,
       "m.toml: line 2: 'language' in [listing] must be one of en-US, de-DE, fr-FR, it-IT, es-ES, ru-RU, zh-CN, ja-JP"},
      {"[listing]\nboot_loader = \"Загрузка\"\n" + minimalDisk,
       "m.toml: line 2: 'boot_loader' in [listing] has no place in code page 437"},
      {"[listing]\nlanguage = \"ru-RU\"\ncode_page = 850\n" + minimalDisk,
       "m.toml: line 3: 'code_page' in [listing] has no place for the identifier of ru-RU"},
      {"[listing]\nidentifier = \"\"\n" + minimalDisk, "m.toml: line 2: 'identifier' in [listing] must not be empty"},
      {"[listing]\nmemory_tester = \"Tester\\r\\n\"\n" + minimalDisk,
       "m.toml: line 2: 'memory_tester' in [listing] must not hold a line end"},
      {"[listing]\ncode_page = \"850\"\n" + minimalDisk,
       "m.toml: line 2: 'code_page' in [listing] has a value of the wrong type"},
      {"[listing]\ncode_page = 70000\n" + minimalDisk,
       "m.toml: line 2: 'code_page' in [listing] must be a code page's number, such as 850"},
      {"[listing]\ncode_page = 4242\n" + minimalDisk, "m.toml: line 2: 'code_page' in [listing] is no code page that"},
      {"[listing]\ncode_page = 500\n" + minimalDisk,
       "m.toml: line 2: 'code_page' in [listing] does not write ASCII as ASCII"},
      {"header = \"id\"\n[listing]\nidentifier = \"Kennung\"\n" + minimalDisk,
       "m.toml: line 3: 'identifier' in [listing] cannot stand beside header = \"id\""},
      {"x = [", "m.toml:1: "},
      {std::string("\0\xff\xfe binary", 10), "m.toml:1: "},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(parse(c.text, error)) << c.text;
    EXPECT_EQ(error.substr(0, c.message.size()), c.message) << error;
  }
}

// A letter is one drive of the whole machine, whatever its case and whichever disk holds it.
TEST(MachineDescription, ADriveLetterTakenTwiceNamesBothLines) {
  const std::string secondDisk = "[[disk]]\nsignature = \"0000beef\"\n";
  struct Case {
    std::string text, message;  // no message: the description is accepted
  } cases[] = {
      {minimalDisk + "[[disk.partition]]\nletter = \"C\"\n",
       "m.toml: line 9: 'letter' in [[disk.partition]] repeats C:, the drive of the partition on line 5"},
      {minimalDisk + "[[disk.partition]]\nletter = \"c\"\n",
       "m.toml: line 9: 'letter' in [[disk.partition]] repeats C:, the drive of the partition on line 5"},
      {minimalDisk + "[[disk.partition]]\nletter = \"d\"\n" + secondDisk + "[[disk.partition]]\nletter = \"D\"\n",
       "m.toml: line 13: 'letter' in [[disk.partition]] repeats D:, the drive of the partition on line 9"},
      {minimalDisk + "[[disk.partition]]\nletter = \"\"\n[[disk.partition]]\n" + secondDisk +
           "[[disk.partition]]\nletter = \"D\"\n",
       ""},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto machine = parse(c.text, error);
    EXPECT_EQ(machine.has_value(), c.message.empty()) << c.text;
    EXPECT_EQ(error, c.message) << c.text;
  }
}

// Left to itself, toml++ 3.3.0 fails an assertion on these or reaches an unreachable branch.
TEST(MachineDescription, TextThatTomlPlusPlusCannotTakeIsAnErrorWithItsLine) {
  for (const std::string text : {"[[\\x]]", "note = \xCC\x92", "note = 0'\xCC\x92'", "display_order = [ } ]",
                                 "note = 1979-05-27T:32", "note = 1979-05-27 0\t"}) {
    std::string error;
    EXPECT_FALSE(parse("name = \"m\"\n" + text + "\n", error)) << text;
    EXPECT_EQ(error.substr(0, 9), "m.toml:2:") << text << ": " << error;
  }
}

// The system store is on the system drive when it has a boot folder, else on the first partition with bootmgr.
TEST(MachineDescription, TheSystemStoreIsOnThePartitionTheBootManagerStartsFrom) {
  const std::string seven = "windows = \"7\"\n";
  const struct {
    std::string partitions;  // of disk 0, then of disk 1
    std::string storeOn;
  } cases[] = {
      {"letter = \"C\"\nbootmgr = true\n", "C:"},
      {"letter = \"C\"\n[[disk.partition]]\nletter = \"D\"\nbootmgr = true\n", "D:"},
      {"letter = \"\"\nbootmgr = true\n[[disk.partition]]\nletter = \"C\"\n", "\\Device\\HarddiskVolume1"},
      {"letter = \"C\"\nboot_folder = true\n[[disk.partition]]\nletter = \"D\"\nbootmgr = true\n", "C:"},
      {"letter = \"C\"\n", "C:"},
      {"letter = \"C\"\n[[disk.partition]]\nletter = \"E\"\n[[disk]]\nsignature = \"0000beef\"\n"
       "[[disk.partition]]\nletter = \"\"\nbootmgr = true\n",
       "\\Device\\HarddiskVolume3"},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto machine =
        parse("[[disk]]\nsignature = \"12ab0cff\"\n[[disk.partition]]\n" + seven + c.partitions, error);
    ASSERT_TRUE(machine) << error;
    const auto place = machine->systemStorePlace();
    ASSERT_TRUE(place) << c.partitions;
    EXPECT_EQ(machine->partitionName(*place), c.storeOn) << c.partitions;
  }
  EXPECT_FALSE(Machine{}.systemStorePlace());  // a real Windows: the editor takes SystemDrive
}

// Fields are kept in order; without the key the editor lists its own, with an empty list none.
TEST(MachineDescription, EntriesCarryTheirListedFields) {
  std::string error;
  const auto machine = parse(minimalDisk + R"(
[[disk.partition]]
letter = "D"
windows = "10"
[[entry]]
kind = "bootmgr"
id = "{bootmgr}"
fields = [["locale", "en-US"], ["default"], ["displayorder"]]
[[entry]]
id = "{a}"
fields = [["nx", "OptIn"], ["bootsequence", "{a}", "{b}"]]
[[entry]]
kind = "legacy"
id = "{ntldr}"
fields = []
[[entry]]
id = "{b}"
)",
                             error);
  ASSERT_TRUE(machine) << error;
  EXPECT_EQ(machine->disks[0].partitions[1].windows, "10");
  const auto& entries = machine->store.entries;
  ASSERT_TRUE(entries[0].fields && entries[1].fields && entries[2].fields);
  EXPECT_EQ(entries[0].fields->at(1).name, "default");
  EXPECT_TRUE(entries[0].fields->at(1).values.empty());
  EXPECT_EQ(entries[1].fields->at(1).values, (std::vector<std::string>{"{a}", "{b}"}));
  EXPECT_TRUE(entries[2].fields->empty());
  EXPECT_FALSE(entries[3].fields);
  const auto store = parseStore(formatStore(machine->store), error);
  ASSERT_TRUE(store) << error;
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_TRUE(store->entries[i].fields == entries[i].fields) << i;
  EXPECT_FALSE(parseStore("[[entry]]\nkind = \"loader\"\nid = \"{a}\"\nfields = [[\"nx\", 3]]\n", error));
}

TEST(MachineDescription, EntryTextsWithLineBreaksSurviveTheStore) {
  std::string error;
  const auto machine = parse(minimalDisk +
                                 "[[entry]]\nid = \"{a}\"\ndevice = \"\\npartition=C:\"\n"
                                 "description = \"Windows\\r\\n7\\u0001'\"\n",
                             error);
  ASSERT_TRUE(machine) << error;
  const auto store = parseStore(formatStore(machine->store), error);
  ASSERT_TRUE(store) << error;
  EXPECT_EQ(store->entries[0].device, "\npartition=C:");
  EXPECT_EQ(store->entries[0].description, "Windows\r\n7\x01'");
}

TEST(MachineDescription, MountedValuesComeFromTheDisksAndCanBeOverridden) {
  std::string error;
  const auto machine = parse(minimalDisk + R"(
[[mounted]]
name = "\\DosDevices\\C:"
hex = "de,ad,be,ef"
[[mounted]]
name = "\\DosDevices\\Q:"
hex = ""
)",
                             error);
  ASSERT_TRUE(machine) << error;
  ASSERT_EQ(machine->mounted.size(), 3u);
  EXPECT_EQ(machine->mounted[0].name, "\\DosDevices\\C:");
  EXPECT_EQ(hexBytes(machine->mounted[0].bytes), "de,ad,be,ef");
  EXPECT_EQ(machine->mounted[1].name.substr(0, 11), "\\??\\Volume{");
  EXPECT_EQ(hexBytes(machine->mounted[1].bytes), "12,ab,0c,ff,00,7e,00,00,00,00,00,00");
  EXPECT_EQ(machine->mounted[2].name, "\\DosDevices\\Q:");
}

class CountedFaults : public ::testing::Test {
 protected:
  void SetUp() override { counts = ::testing::TempDir() + "fault-counts-" + std::to_string(::getpid()); }
  void TearDown() override { std::remove(counts.c_str()); }
  std::string counts;
};

TEST(MachineDescription, FaultsHitTheirArgumentOrEverything) {
  std::string error;
  const auto machine = parse(minimalDisk + R"(
[[fault]]
command = "import"
arg = "ORG.bcd"
[[fault]]
command = "disk"
arg = 1
[[fault]]
command = "regedit"
)",
                             error);
  ASSERT_TRUE(machine) << error;
  EXPECT_TRUE(machine->fails("import", "org.bcd"));
  EXPECT_FALSE(machine->fails("import", "lid.bcd"));
  EXPECT_TRUE(machine->fails("disk", "1"));
  EXPECT_TRUE(machine->fails("regedit", "anything"));
  EXPECT_FALSE(machine->fails("export", "org.bcd"));
}

TEST_F(CountedFaults, HitOnlyAfterTheirCount) {
  std::string error;
  auto machine = parse(minimalDisk + "[[fault]]\ncommand = \"import\"\narg = \"org.bcd\"\nafter = 2\n", error);
  ASSERT_TRUE(machine) << error;
  machine->faultCountsFile = counts;
  EXPECT_FALSE(machine->fails("import", "org.bcd"));
  EXPECT_FALSE(machine->fails("import", "lid.bcd"));  // not a match: not counted
  EXPECT_FALSE(machine->fails("import", "org.bcd"));
  EXPECT_TRUE(machine->fails("import", "org.bcd"));
  EXPECT_TRUE(machine->fails("import", "org.bcd"));
}

// A language brings its words and code page; words and a code page given beside it, or alone, override them.
TEST(MachineDescription, ListingWordsComeFromTheLanguageOrAreGiven) {
  ListingWords russian = *knownLanguage("ru-RU");
  ListingWords ownWords;
  ownWords.codePage = 850;
  ownWords.identifier = "Kennung";
  ownWords.title(EntryKind::legacy) = "Älteres Windows";
  ListingWords germanId = *knownLanguage("de-DE");
  germanId.identifier = "id";
  ListingWords utf8 = *knownLanguage("zh-CN");
  utf8.codePage = 65001;
  const struct {
    std::string text;
    std::optional<ListingWords> words;
  } cases[] = {
      {"", std::nullopt},
      {"[listing]\nlanguage = \"ru-RU\"\n", russian},
      {"[listing]\ncode_page = 850\nidentifier = \"Kennung\"\nlegacy_loader = \"Älteres Windows\"\n", ownWords},
      {"header = \"id\"\n[listing]\nlanguage = \"de-DE\"\n", germanId},
      {"[listing]\nlanguage = \"zh-CN\"\ncode_page = 65001\n", utf8},
  };
  for (const auto& [text, words] : cases) {
    std::string error;
    const auto machine = parse(text + minimalDisk, error);
    ASSERT_TRUE(machine) << error;
    EXPECT_EQ(machine->listing, words) << text;
    EXPECT_EQ(machine->codePage(), words ? words->codePage : 437) << text;
  }
  // The editor and winsim-cmd cannot load code pages and leave the words to the sandbox's file.
  std::string error;
  EXPECT_TRUE(parseMachine("[listing]\nboot_loader = \"Загрузка\"\n" + minimalDisk, "m.toml", error)) << error;
}

TEST(MachineDescription, TheBuiltInMachineParses) {
  std::string error;
  EXPECT_TRUE(parseMachine(defaultMachineText(), "built-in", error)) << error;
}

}  // namespace
}  // namespace winsim
