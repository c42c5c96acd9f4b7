#include "readers/listing.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_os.h"
#include "helper/command.h"
#include "screen/screen.h"

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

const std::string windows7Listing = listing({
    "",
    "Windows Boot Manager",
    "--------------------",
    header("{bootmgr}"),
    device("C:"),
    "description             Windows Boot Manager",
    "displayorder            {current}",
    "                        {a1}",
    "",
    "Windows Boot Loader",
    "-------------------",
    header("{current}"),
    device("C:"),
    "path                    \\Windows\\system32\\winload.exe",
    "",
    "Windows Boot Loader",
    "-------------------",
    header("{a1}"),
    device("D:"),
    "",
    "Windows Legacy OS Loader",
    "------------------------",
    header("{ntldr}"),
    device("E:"),
    "",
    "Windows Memory Tester",
    "---------------------",
    header("{memdiag}"),
    device("C:"),
});

class ListingTest : public ::testing::Test {
 protected:
  // The listing command leaves `text` in capture file 0 (or nothing at all, for nullptr).
  void listingIs(const std::string* text) {
    os.onCommand = [this, text](const std::string& line) {
      if (line == "Zendrakx.exe>%temp%\\Quillfex.000" && text) os.setFile(capturePath(os, 0), *text);
    };
  }
  void listingIs(const std::string& text) {
    captured = text;
    listingIs(&captured);
  }

  Ids foreignIds(const std::string& drive) {
    Ids ids;
    foreignEntryIds(context, drive, [&](const std::string& id) { ids.push_back(id); });
    return ids;
  }

  testing::FakeOs os;
  ProgramState state;
  Screen screen;
  Context context{state, os, screen};
  std::string captured;
};

TEST_F(ListingTest, AnswersTheThreeQuestionsOfAWindows7Listing) {
  listingIs(windows7Listing);
  EXPECT_TRUE(findBootManagerDevice(context, "C:"));
  EXPECT_EQ(state.scratchFlag, 1);
  EXPECT_FALSE(findBootManagerDevice(context, "D:"));
  EXPECT_EQ(state.scratchFlag, 0);
  EXPECT_EQ(countEntries(context), 5);
  EXPECT_EQ(state.scratchFlag, 5);
  EXPECT_EQ(foreignIds("C:"), (Ids{"{a1}", "{ntldr}"}));
  EXPECT_EQ(foreignIds("D:"), (Ids{"{current}", "{ntldr}", "{memdiag}"}));
  EXPECT_EQ(os.commandLines.size(), 5u);  // every scan runs the listing itself
}

TEST_F(ListingTest, ShortHeaderStyleGivesTheSameAnswers) {
  std::string shortStyle = windows7Listing;
  for (std::size_t at; (at = shortStyle.find("identifier")) != std::string::npos;) {
    shortStyle.replace(at, 10, "id        ");
  }
  listingIs(shortStyle);
  EXPECT_TRUE(findBootManagerDevice(context, "C:"));
  EXPECT_EQ(countEntries(context), 5);
  EXPECT_EQ(foreignIds("C:"), (Ids{"{a1}", "{ntldr}"}));
}

TEST_F(ListingTest, HeaderAndIdRulesAreExact) {
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
  };
  for (const auto& c : cases) {
    listingIs(listing(c.lines));
    EXPECT_EQ(findBootManagerDevice(context, "C:"), c.bootManagerOnC) << c.name;
    EXPECT_EQ(countEntries(context), c.entries) << c.name;
    EXPECT_EQ(foreignIds("C:"), c.foreignToC) << c.name;
  }
}

TEST_F(ListingTest, EmptyOrMissingCaptureHasNoEntries) {
  listingIs(std::string());
  EXPECT_FALSE(findBootManagerDevice(context, "C:"));
  EXPECT_EQ(countEntries(context), 0);
  EXPECT_EQ(foreignIds("C:"), Ids{});

  listingIs(nullptr);
  EXPECT_FALSE(findBootManagerDevice(context, "C:"));
  EXPECT_EQ(countEntries(context), 0);
  EXPECT_EQ(foreignIds("C:"), Ids{});
}

TEST_F(ListingTest, LineEndsAndBadBytesDoNotMatter) {
  const std::string lfOnly = header("{bootmgr}") + "\n" + device("C:") + "\n" + header("{x}") + "\n" + device("D:");
  listingIs(lfOnly);  // LF line ends, no line end after the last line
  EXPECT_TRUE(findBootManagerDevice(context, "C:"));
  EXPECT_EQ(foreignIds("C:"), Ids{"{x}"});

  const std::string withNul = header(std::string("{a\0b}", 5)) + "\r\n" + device("D:") + "\r\n";
  listingIs(withNul);
  EXPECT_EQ(foreignIds("C:"), Ids{std::string("{a\0b}", 5)});

  const std::string longLine(100'000, 'i');
  listingIs(listing({longLine, header("{bootmgr}"), device("C:"), header(longLine), device("D:")}));
  EXPECT_TRUE(findBootManagerDevice(context, "C:"));
  EXPECT_EQ(countEntries(context), 2);
  EXPECT_EQ(foreignIds("C:"), Ids{longLine});

  listingIs(std::string(3'000'000, '\0'));  // megabytes of binary garbage without a line end
  EXPECT_EQ(countEntries(context), 0);
}

TEST_F(ListingTest, EachIdIsHandedOnBeforeTheScanReadsOn) {
  listingIs(windows7Listing);
  std::vector<std::string> seen;
  foreignEntryIds(context, "C:", [&](const std::string& id) {
    seen.push_back(id + " after " + state.lineBuffer);
    os.runCommandLine("Zendrakx.exe /f /delete " + id + ">nul");
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"{a1} after " + device("D:"), "{ntldr} after " + device("E:")}));
  EXPECT_EQ(os.commandLines.back(), "Zendrakx.exe /f /delete {ntldr}>nul");
}

TEST_F(ListingTest, LineBufferHoldsTheLastLineRead) {
  listingIs(listing({header("{x}"), device("D:"), "last"}));
  countEntries(context);
  EXPECT_EQ(state.lineBuffer, "last");
  listingIs(listing({header("{bootmgr}")}));  // the device line read meets the end
  findBootManagerDevice(context, "C:");
  EXPECT_EQ(state.lineBuffer, "");
}

TEST_F(ListingTest, QuotesTheCaptureFileWhenTempHoldsABlank) {
  os.environment["temp"] = "C:\\Users\\John Smith\\AppData\\Local\\Temp";
  countEntries(context);
  EXPECT_EQ(os.commandLines.back(), "Zendrakx.exe>\"%temp%\\Quillfex.000\"");
}

}  // namespace
}  // namespace quillfex
