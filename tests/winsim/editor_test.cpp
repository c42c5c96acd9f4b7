#include "winsim/editor/editor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_os.h"
#include "helper/command.h"
#include "machine/sandbox_layout.h"
#include "posix/code_page_text.h"
#include "readers/listing.h"
#include "screen/screen.h"

namespace winsim {
namespace {

using Ids = std::vector<std::string>;

BootStore sampleStore() {
  BootStore store;
  store.entries = {
      {EntryKind::bootManager, "{bootmgr}", "partition=C:", "Windows Boot Manager", ""},
      {EntryKind::loader, "{current}", "partition=C:", "Windows 7", "\\Windows\\system32\\winload.exe"},
      {EntryKind::loader, "{a1}", "partition=D:", "Windows Vista", "\\Windows\\system32\\winload.exe"},
      {EntryKind::legacy, "{ntldr}", "partition=\\Device\\HarddiskVolume3", "Earlier Version of Windows", "\\ntldr"},
      {EntryKind::tool, "{memdiag}", "partition=C:", "Windows Memory Diagnostic", "\\boot\\memtest.exe"},
  };
  store.displayOrder = {"{current}", "{a1}", "{ntldr}"};
  return store;
}

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.environment["SystemDrive"] = "C:";
    os.setFile("C:\\Boot\\BCD", formatStore(sampleStore()));
    os.changeDirectory("C:\\Boot");
  }

  EditorResult run(const std::vector<std::string>& args) { return runEditor(args, os, machine); }

  BootStore systemStore() {
    std::string error;
    return *parseStore(*os.file("C:\\Boot\\BCD"), error);
  }

  Ids ids(const BootStore& store) {
    Ids ids;
    for (const auto& entry : store.entries) ids.push_back(entry.id);
    return ids;
  }

  quillfex::testing::FakeOs os;
  Machine machine;
};

TEST_F(EditorTest, ListingHasTheColumnsTheProgramReads) {
  const std::string listing = run({}).output;
  EXPECT_EQ(listing.substr(0, 24), "\r\nWindows Boot Manager\r\n");
  EXPECT_NE(listing.find("\r\nidentifier              {bootmgr}\r\ndevice                  partition=C:\r\n"),
            std::string::npos);
  EXPECT_NE(listing.find(
                "\r\nWindows Legacy OS Loader\r\n------------------------\r\n"
                "identifier              {ntldr}\r\ndevice                  partition=\\Device\\HarddiskVolume3\r\n"),
            std::string::npos);
  EXPECT_EQ(listing.find("{memdiag}\r\ndevice"), std::string::npos);  // tools are not in the display order

  machine.header = HeaderStyle::id;
  EXPECT_NE(run({}).output.find("\r\nid                      {a1}\r\ndevice                  partition=D:\r\n"),
            std::string::npos);
}

TEST_F(EditorTest, TheProgramsListingReaderUnderstandsBothHeaderStyles) {
  for (const HeaderStyle header : {HeaderStyle::identifier, HeaderStyle::id}) {
    machine.header = header;
    const std::string listing = run({}).output;
    EXPECT_TRUE(quillfex::bootManagerDeviceIn(listing, "C:"));
    EXPECT_FALSE(quillfex::bootManagerDeviceIn(listing, "D:"));
    EXPECT_EQ(quillfex::entryCountIn(listing), 4);
    Ids foreign;
    for (const auto& entry : quillfex::foreignEntriesIn(listing, "D:").foreign) foreign.push_back(entry.id);
    EXPECT_EQ(foreign, (Ids{"{current}", "{ntldr}"}));
  }
}

std::size_t characterCount(const std::string& utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The sandbox's words: each title over as many dashes as it has characters, the key in its code page's bytes
// with the id from byte column 25, and the program reads the listing as in English. A key that reaches the
// column gets one blank, and the program then misreads the id, as it would on Windows.
TEST_F(EditorTest, ListsInTheWordsAndCodePageOfTheSandbox) {
  ListingWords longKey;
  longKey.codePage = 850;
  longKey.identifier = "Eindeutiger Bezeichner (ID)";
  longKey.title(EntryKind::loader) = "Startprogramm für Windows";
  std::vector<ListingWords> cases = {longKey};
  for (const char* language : {"de-DE", "fr-FR", "ru-RU", "zh-CN", "ja-JP"}) cases.push_back(*knownLanguage(language));
  const auto english = quillfex::listedEntries(run({}).output);
  for (const ListingWords& words : cases) {
    std::string failedKey;
    machine.listingText = encodeListingWords(words, quillfex::posix::utf8ToCodePage, failedKey);
    ASSERT_TRUE(machine.listingText) << words.language << " " << failedKey;
    const auto inCodePage = [&](const std::string& text) {
      return quillfex::posix::utf8ToCodePage(text, words.codePage).value_or("?");
    };
    const std::string key = inCodePage(words.identifier), loader = words.title(EntryKind::loader);
    const std::string listing = run({}).output;
    EXPECT_NE(listing.find("\r\n" + inCodePage(loader) + "\r\n" + std::string(characterCount(loader), '-') + "\r\n" +
                           key + std::string(key.size() < 24 ? 24 - key.size() : 1, ' ') +
                           "{a1}\r\ndevice                  partition=D:\r\n"),
              std::string::npos)
        << words.language << "\n"
        << listing;
    if (words.language.empty()) continue;
    EXPECT_EQ(quillfex::listedEntries(listing), english) << words.language;
    EXPECT_TRUE(quillfex::bootManagerDeviceIn(listing, "C:")) << words.language;
    EXPECT_EQ(quillfex::entryCountIn(listing), 4) << words.language;
  }
}

TEST_F(EditorTest, ExportImportAndDeleteRoundTrip) {
  ASSERT_EQ(run({"/export", "org.bcd"}).status, 0);
  ASSERT_NE(os.file("C:\\Boot\\org.bcd"), nullptr);

  const EditorResult deleted = run({"/f", "/delete", "{a1}"});
  EXPECT_EQ(deleted.output, "The operation completed successfully.\r\n");
  EXPECT_EQ(ids(systemStore()), (Ids{"{bootmgr}", "{current}", "{ntldr}", "{memdiag}"}));
  EXPECT_EQ(systemStore().displayOrder, (Ids{"{current}", "{ntldr}"}));

  ASSERT_EQ(run({"/IMPORT", "C:\\Boot\\ORG.BCD"}).status, 0);
  EXPECT_EQ(ids(systemStore()), ids(sampleStore()));
  EXPECT_EQ(systemStore().displayOrder, sampleStore().displayOrder);
}

TEST_F(EditorTest, StoreSwitchListsTheStoreInAFile) {
  BootStore other = keptFor(sampleStore(), "D:");
  os.setFile("D:\\Boot\\lid.bcd", formatStore(other));
  const std::string listing = run({"/store", "D:\\Boot\\lid.bcd"}).output;
  const auto entries = quillfex::listedEntries(listing);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].id, "{a1}");
  EXPECT_EQ(run({"/store", "D:\\Boot\\none.bcd"}).status, 1);
}

// Fields an entry carries stand in its order, values in column 25; the boot manager's without a value follow
// the store, also after a deletion.
TEST_F(EditorTest, CarriedFieldsAreListedInTheirOrder) {
  BootStore store = sampleStore();
  store.entries[0].fields = {{{"locale", {"en-US"}},
                              {"default", {}},
                              {"resumeobject", {"{r}"}},
                              {"displayorder", {}},
                              {"toolsdisplayorder", {}},
                              {"timeout", {"30"}}}};
  store.entries[2].fields = {{{"allowedinmemorysettings", {"0x15000075"}}, {"anamelongerthanitscolumn", {"x"}}}};
  store.entries[3].fields = std::vector<ListedField>{};
  os.setFile("C:\\Boot\\BCD", formatStore(store));
  ASSERT_EQ(run({"/f", "/delete", "{current}"}).status, 0);
  const std::string listing = run({}).output;
  EXPECT_NE(listing.find("description             Windows Boot Manager\r\n"
                         "locale                  en-US\r\n"
                         "default                 {a1}\r\n"
                         "resumeobject            {r}\r\n"
                         "displayorder            {a1}\r\n"
                         "                        {ntldr}\r\n"
                         "toolsdisplayorder       {memdiag}\r\n"
                         "timeout                 30\r\n\r\n"),
            std::string::npos)
      << listing;
  EXPECT_NE(listing.find("description             Windows Vista\r\n"
                         "allowedinmemorysettings 0x15000075\r\n"
                         "anamelongerthanitscolumn x\r\n\r\n"),
            std::string::npos)
      << listing;
  EXPECT_TRUE(listing.ends_with("description             Earlier Version of Windows\r\n")) << listing;
  ASSERT_EQ(run({"/export", "org.bcd"}).status, 0);
  EXPECT_EQ(*os.file("C:\\Boot\\org.bcd"), *os.file("C:\\Boot\\BCD"));
}

// Where the system drive has no boot folder, the store is on the partition the firmware starts: a drive of its
// own, or one without a letter, which under Wine the editor reaches in the sandbox's folder.
TEST_F(EditorTest, TheSystemStoreIsOnThePartitionWithTheBootManager) {
  const struct {
    std::string firstPartition;
    std::string store;
  } cases[] = {
      {"letter = \"D\"\nbootmgr = true\n", "D:\\Boot\\BCD"},
      {"letter = \"\"\nbootmgr = true\n", "Z:\\sandbox\\volumes\\HarddiskVolume1\\Boot\\BCD"},
  };
  os.environment[sandboxVariable] = "Z:\\sandbox";
  const std::string onC = *os.file("C:\\Boot\\BCD");
  os.deleteFile("C:\\Boot\\BCD");
  for (const auto& c : cases) {
    std::string error;
    machine = *parseMachine("[[disk]]\nsignature = \"12ab0cff\"\n[[disk.partition]]\n" + c.firstPartition +
                                "[[disk.partition]]\nletter = \"C\"\nwindows = \"7\"\n",
                            "m.toml", error);
    os.setFile(c.store, onC);
    EXPECT_EQ(quillfex::listedEntries(run({}).output).size(), 4u) << c.store;
    ASSERT_EQ(run({"/export", "org.bcd"}).status, 0);
    ASSERT_EQ(run({"/f", "/delete", "{a1}"}).status, 0);
    EXPECT_NE(*os.file(c.store), onC) << c.store;
    ASSERT_EQ(run({"/import", "org.bcd"}).status, 0);
    EXPECT_EQ(*os.file(c.store), onC) << c.store;
    EXPECT_EQ(os.file("C:\\Boot\\BCD"), nullptr);
    os.deleteFile(c.store);
  }
}

TEST_F(EditorTest, FailuresChangeNothing) {
  const std::string before = *os.file("C:\\Boot\\BCD");
  struct Case {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"/f", "/delete", "{missing}"}, "The specified entry identifier is not valid."},
      {{"/import", "missing.bcd"}, "The system cannot find the file specified."},
      {{"/delete", "{a1}"}, "The parameter is incorrect."},
      {{"/export"}, "The parameter is incorrect."},
  };
  for (const auto& c : cases) {
    const EditorResult result = run(c.args);
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_NE(result.errors.find(c.error), std::string::npos) << result.errors;
  }
  os.setFile("C:\\Boot\\junk.bcd", std::string("\0\x01garbage = [", 12));
  EXPECT_NE(run({"/import", "junk.bcd"}).status, 0);
  EXPECT_EQ(*os.file("C:\\Boot\\BCD"), before);
}

TEST_F(EditorTest, InjectedFaultsFailLikeWindows) {
  const std::string before = *os.file("C:\\Boot\\BCD");
  machine.faults = {{"listing", ""}, {"import", "org.bcd"}, {"delete", "{a1}"}, {"export", "lid.bcd"}};
  os.setFile("C:\\Boot\\org.bcd", before);
  EXPECT_EQ(run({}).output, "");
  EXPECT_NE(run({}).status, 0);
  EXPECT_NE(run({"/import", "org.bcd"}).status, 0);
  EXPECT_NE(run({"/f", "/delete", "{a1}"}).status, 0);
  EXPECT_NE(run({"/export", "lid.bcd"}).status, 0);
  EXPECT_EQ(os.file("C:\\Boot\\lid.bcd"), nullptr);
  EXPECT_EQ(*os.file("C:\\Boot\\BCD"), before);
  EXPECT_EQ(run({"/f", "/delete", "{current}"}).status, 0);  // other ids are not hit
}

}  // namespace
}  // namespace winsim
