#include "readers/listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "posix/code_page_text.h"

namespace quillfex {
namespace {

using Ids = std::vector<std::string>;

std::string header(const std::string& id, const std::string& word = "identifier") {
  return word + std::string(24 - word.size(), ' ') + id;
}
std::string device(const std::string& drive) { return "device                  partition=" + drive; }

// Lines joined with CRLF, as the editor writes them.
std::string listing(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// The words a display language gives the listing (UTF-8): the key of the id line and the section titles.
struct ListingWords {
  std::string key = "identifier";
  std::string bootManager = "Windows Boot Manager", loader = "Windows Boot Loader";
  std::string legacy = "Windows Legacy OS Loader", tester = "Windows Memory Tester";
};

std::string inCodePage(const std::string& utf8, int codePage) {
  const auto text = posix::utf8ToCodePage(utf8, codePage);
  if (!text) ADD_FAILURE() << "code page " << codePage << " has no place for " << utf8;
  return text.value_or("");
}

std::size_t characterCount(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// A Windows 7 listing as the editor writes it in a code page: each title over a line of dashes as long as the
// title, then the id line, whose value starts in column 25 whatever the key's length.
std::string windows7ListingIn(const ListingWords& words, int codePage = 437) {
  std::vector<std::string> lines;
  const auto section = [&](const std::string& title, const std::string& id, const std::string& drive,
                           const std::vector<std::string>& fields = {}) {
    lines.insert(lines.end(), {"", inCodePage(title, codePage), std::string(characterCount(title), '-'),
                               header(id, inCodePage(words.key, codePage)), device(drive)});
    lines.insert(lines.end(), fields.begin(), fields.end());
  };
  section(words.bootManager, "{bootmgr}", "C:",
          {"description             Windows Boot Manager", "displayorder            {current}",
           "                        {a1}"});
  section(words.loader, "{current}", "C:", {"path                    \\Windows\\system32\\winload.exe"});
  section(words.loader, "{a1}", "D:");
  section(words.legacy, "{ntldr}", "E:");
  section(words.tester, "{memdiag}", "C:");
  return listing(lines);
}

const std::string windows7Listing = windows7ListingIn({});

Ids foreignIdsIn(const std::string& text, const std::string& drive) {
  Ids ids;
  for (const ListedEntry& entry : foreignEntriesIn(text, drive).foreign) ids.push_back(entry.id);
  return ids;
}

TEST(ListingLineRules, HeaderLinesAndTheirIds) {
  struct Case {
    std::string line;
    bool isHeader;
    std::string id;
  } cases[] = {
      {header("{bootmgr}"), true, "{bootmgr}"},
      {header("{x}", "id"), true, "{x}"},
      {header("{x} "), true, "{x} "},                         // blanks after the id belong to it
      {"identifiers             {x}", true, "{x}"},           // only columns 1 to 10 are looked at
      {"identifier", true, ""},                               // a header without an id
      {"id        ", true, ""},                               //
      {"id       ", false, ""},                               // 7 blanks
      {"Identifier              {x}", false, "{x}"},          // the id column does not depend on the header
      {" identifier             {x}", false, "{x}"},          //
      {"id\t" + std::string(21, ' ') + "{x}", false, "{x}"},  // a tab is no blank
      {std::string(24, ' ') + "x", false, "x"},
      {std::string(24, ' '), false, ""},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isHeader(c.line), c.isHeader) << c.line;
    EXPECT_EQ(entryIdOf(c.line), c.id) << c.line;
  }
}

TEST(ListingLineRules, DeviceLinesLieOnTheirLastTwoCharacters) {
  struct Case {
    std::string line, drive;
    bool isOn;
  } cases[] = {
      {device("C:"), "C:", true},
      {device("D:"), "C:", false},
      {device("c:"), "C:", false},  // letter case is exact
      {"C:", "C:", true},
      {"C", "C:", false},
      {"device                  partition=C: ", "C:", false},  // a blank after the drive
      {"device                  partition=\\Device\\HarddiskVolume1", "C:", false},
      {"device                  unknown", "C:", false},
      {"", "C:", false},
      {"", "", true},  // an unset drive is "", and so is the drive of an empty line
  };
  for (const auto& c : cases) EXPECT_EQ(deviceIsOn(c.line, c.drive), c.isOn) << c.line << " on " << c.drive;
}

// Listings cut off or odd at their end: every question answers from the lines there are.
TEST(ListingText, CutOffListingsAnswerFromTheLinesThereAre) {
  using Entries = std::vector<ListedEntry>;
  struct Case {
    const char* name;
    std::string text;
    bool bootManagerOnC;
    int count;
    Ids foreignToC;
    Entries entries;
  } cases[] = {
      {"no lines", "", false, 0, {}, {}},
      {"a plain last line", listing({header("{x}"), device("D:"), "last"}), false, 1, {"{x}"}, {{"{x}", device("D:")}}},
      {"the boot manager's header last", listing({header("{bootmgr}")}), false, 1, {}, {{"{bootmgr}", ""}}},
      {"a short header last", listing({header("{bootmgr}", "id")}), false, 1, {}, {{"{bootmgr}", ""}}},
      {"a foreign header last", listing({header("{x}")}), false, 1, {"{x}"}, {{"{x}", ""}}},
      {"a device line on the drive last",
       listing({header("{x}"), device("C:")}),
       false,
       1,
       {},
       {{"{x}", device("C:")}}},
      // every question reads the line after the boot manager's header as the trimming does
      {"the boot manager's device line cut off before the next header",
       listing({header("{bootmgr}"), header("{x}"), device("D:")}),
       false,
       2,
       {"{x}"},
       {{"{bootmgr}", ""}, {"{x}", device("D:")}}},
      {"a device line cut off before the next header",
       listing({header("{x}"), header("{y}"), device("C:")}),
       false,
       2,
       {"{x}"},
       {{"{x}", ""}, {"{y}", device("C:")}}},
      {"a last device line without line end keeps its CR",
       header("{bootmgr}") + "\r\n" + device("C:") + "\r",
       false,
       1,
       {},
       {{"{bootmgr}", device("C:") + "\r"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(bootManagerDeviceIn(c.text, "C:"), c.bootManagerOnC) << c.name;
    EXPECT_EQ(entryCountIn(c.text), c.count) << c.name;
    EXPECT_EQ(foreignIdsIn(c.text, "C:"), c.foreignToC) << c.name;
    EXPECT_EQ(listedEntries(c.text), c.entries) << c.name;
  }
}

TEST(ListingText, ForeignScanKeepsTheBootManagerAndTheEntriesOnTheDrive) {
  const ForeignEntries entries = foreignEntriesIn(windows7Listing, "C:");
  EXPECT_EQ(entries.kept, (KeptEntries{true, 2}));
  EXPECT_EQ(entries.foreign, (std::vector<ListedEntry>{{"{a1}", device("D:")}, {"{ntldr}", device("E:")}}));
  EXPECT_EQ(foreignEntriesIn(listing({header("{x}"), device("D:")}), "C:").kept, (KeptEntries{false, 0}));
}

TEST(ListingText, ShortHeaderStyleGivesTheSameAnswers) {
  std::string shortStyle = windows7Listing;
  for (std::size_t at; (at = shortStyle.find("identifier")) != std::string::npos;) {
    shortStyle.replace(at, 10, "id        ");
  }
  EXPECT_TRUE(bootManagerDeviceIn(shortStyle, "C:"));
  EXPECT_EQ(entryCountIn(shortStyle), 5);
  EXPECT_EQ(foreignIdsIn(shortStyle, "C:"), (Ids{"{a1}", "{ntldr}"}));
}

// The editor translates the titles and the id line's key, in the console's code page, and nothing else: the
// line after a title's dashes heads the entry whatever its key says.
TEST(ListingText, EveryDisplayLanguageGivesTheEnglishAnswers) {
  const struct {
    const char* language;
    int codePage;
    ListingWords words;
  } languages[] = {
      {"de-DE",
       850,
       {"Bezeichner", "Windows-Start-Manager", "Windows-Startladeprogramm",
        "Windows-Legacy-Betriebssystem-Ladeprogramm", "Windows-Speichertestprogramm"}},
      {"fr-FR",
       850,
       {"identificateur", "Gestionnaire de démarrage Windows", "Chargeur de démarrage Windows",
        "Chargeur du système d'exploitation hérité de Windows", "Testeur de mémoire Windows"}},
      {"it-IT",
       850,
       {"identificatore", "Boot Manager di Windows", "Caricatore di avvio di Windows",
        "Caricatore del sistema operativo legacy di Windows", "Tester memoria di Windows"}},
      {"es-ES",
       850,
       {"Identificador", "Administrador de arranque de Windows", "Cargador de arranque de Windows",
        "Cargador del sistema operativo heredado de Windows", "Comprobador de memoria de Windows"}},
      {"ru-RU",
       866,
       {"идентификатор", "Диспетчер загрузки Windows", "Загрузка Windows", "Загрузчик предыдущих версий Windows",
        "Средство проверки памяти Windows"}},
      {"zh-CN",
       936,
       {"标识符", "Windows 启动管理器", "Windows 启动加载器", "Windows 旧 OS 加载器", "Windows 内存测试程序"}},
      {"ja-JP",
       932,
       {"identifier", "Windows ブート マネージャー", "Windows ブート ローダー", "Windows レガシ OS ローダー",
        "Windows メモリ テスター"}},
  };
  for (const auto& [language, codePage, words] : languages) {
    const std::string text = windows7ListingIn(words, codePage);
    EXPECT_EQ(bootManagerDeviceIn(text, "C:"), true) << language;
    EXPECT_EQ(bootManagerDeviceIn(text, "D:"), false) << language;
    EXPECT_EQ(entryCountIn(text), 5) << language;
    EXPECT_EQ(foreignEntriesIn(text, "C:").foreign, foreignEntriesIn(windows7Listing, "C:").foreign) << language;
    EXPECT_EQ(foreignEntriesIn(text, "C:").kept, foreignEntriesIn(windows7Listing, "C:").kept) << language;
    EXPECT_EQ(foreignIdsIn(text, "D:"), foreignIdsIn(windows7Listing, "D:")) << language;
    EXPECT_EQ(listedEntries(text), listedEntries(windows7Listing)) << language;
  }
}

TEST(ListingText, HeaderAndIdRulesAreExact) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    bool bootManagerOnC;
    int entries;
    Ids foreignToC;
  } cases[] = {
      {"id one column early",
       {"identifier" + std::string(13, ' ') + "{bootmgr}", device("D:")},
       false,
       1,
       {"bootmgr}"}},
      {"capital I", {header("{bootmgr}", "Identifier"), device("C:")}, false, 0, {}},
      {"id with 7 blanks", {"id       X" + std::string(14, ' ') + "{x}", device("D:")}, false, 0, {}},
      {"trailing blank in the id",
       {header("{bootmgr} "), device("D:"), header("{x}"), device("D:")},
       false,
       2,
       {"{bootmgr} ", "{x}"}},
      {"short header line has an empty id", {"identifier  {x}", device("D:")}, false, 1, {""}},
      {"lower-case drive",
       {header("{bootmgr}"), "device partition=c:", header("{x}"), device("c:")},
       false,
       2,
       {"{x}"}},
      {"header as the last line", {header("{bootmgr}")}, false, 1, {}},
      {"foreign header as the last line", {header("{x}")}, false, 1, {"{x}"}},
      {"two headers in a row", {header("{bootmgr}"), header("{y}"), device("C:")}, false, 2, {}},
      {"two foreign headers in a row", {header("{x}"), header("{y}"), device("C:")}, false, 2, {"{x}"}},
      {"boot manager twice", {header("{bootmgr}"), device("D:"), header("{bootmgr}"), device("C:")}, true, 2, {}},
      {"device line shorter than a drive", {header("{bootmgr}"), "C", header("{x}"), ":"}, false, 2, {"{x}"}},
      {"no headers", {"Windows Boot Manager", "--------------------"}, false, 0, {}},
      {"any key after a title's dashes",
       {"Titel", "-----", header("{bootmgr}", "Bezeichner"), device("C:")},
       true,
       1,
       {}},
      {"capital I after a title's dashes", {"T", "-", header("{x}", "Identifier"), device("D:")}, false, 1, {"{x}"}},
      {"dashes under no title", {"", "-----", header("{x}", "Bezeichner"), device("D:")}, false, 0, {}},
      {"dashes under dashes", {"--", "--", header("{x}", "Bezeichner"), device("D:")}, false, 0, {}},
  };
  for (const auto& c : cases) {
    const std::string text = listing(c.lines);
    EXPECT_EQ(bootManagerDeviceIn(text, "C:"), c.bootManagerOnC) << c.name;
    EXPECT_EQ(entryCountIn(text), c.entries) << c.name;
    EXPECT_EQ(foreignIdsIn(text, "C:"), c.foreignToC) << c.name;
  }
}

TEST(ListingText, LineEndsAndBadBytesDoNotMatter) {
  const std::string lfOnly = header("{bootmgr}") + "\n" + device("C:") + "\n" + header("{x}") + "\n" + device("D:");
  // LF line ends, no line end after the last line
  EXPECT_TRUE(bootManagerDeviceIn(lfOnly, "C:"));
  EXPECT_EQ(foreignIdsIn(lfOnly, "C:"), Ids{"{x}"});

  const std::string withNul = header(std::string("{a\0b}", 5)) + "\r\n" + device("D:") + "\r\n";
  EXPECT_EQ(foreignIdsIn(withNul, "C:"), Ids{std::string("{a\0b}", 5)});

  const std::string longLine(100'000, 'i');
  const std::string withLongLines =
      listing({longLine, header("{bootmgr}"), device("C:"), header(longLine), device("D:")});
  EXPECT_TRUE(bootManagerDeviceIn(withLongLines, "C:"));
  EXPECT_EQ(entryCountIn(withLongLines), 2);
  EXPECT_EQ(foreignIdsIn(withLongLines, "C:"), Ids{longLine});

  // megabytes of binary garbage without a line end
  EXPECT_EQ(entryCountIn(std::string(3'000'000, '\0')), 0);
}

}  // namespace
}  // namespace quillfex
