#include "readers/folder_names.h"

#include <gtest/gtest.h>

#include <optional>

#include "test_data.h"

namespace quillfex {
namespace {

using testing::testData;

TEST(FolderNameRules, WhichLinesNameAFileAndWhichTheBootManager) {
  struct Case {
    std::string line;
    bool namesAFile, namesBootManager;
  } cases[] = {
      {"bcrypt.dll", true, false}, {"", false, false},        {" ", true, false},        {"bootmgr", true, true},
      {"BOOTMGR", true, true},     {"BootMgr", true, true},   {"bootmgr ", true, false}, {"bootmgr.efi", true, false},
      {"bootmgr\r", true, false},  {" bootmgr", true, false}, {"Boot", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(namesAFile(c.line), c.namesAFile) << c.line;
    EXPECT_EQ(namesBootManager(c.line), c.namesBootManager) << c.line;
  }
}

TEST(FolderNames, CapturedAndMadeUpListings) {
  using Line = std::optional<std::string>;
  struct Case {
    const char* name;
    std::string listing;
    bool namesAFile;
    Line probeLastLine;
    bool hasBootManager;
    Line rootLastLine;
  } cases[] = {
      {"System32 names beginning with b", testData("wine-system32-b.txt"), true, "bthprops.cpl", false, "bthprops.cpl"},
      {"a root without bootmgr", testData("wine-root.txt"), true, "windows", false, "windows"},
      {"a root with bootmgr and Boot", testData("wine-root-with-bootmgr.txt"), true, "windows", true, "windows"},
      {"no match: dir writes nothing to standard output", "", false, std::nullopt, false, std::nullopt},
      {"one empty line", "\r\n", false, "", false, ""},
      {"upper case, no line end", "Windows\r\nBOOTMGR", true, "BOOTMGR", true, "bootmgr"},
      {"a name with a blank after it", "bootmgr \r\n", true, "bootmgr ", false, "bootmgr "},
  };
  for (const auto& c : cases) {
    ASSERT_FALSE(c.listing.empty() && c.namesAFile) << c.name << ": fixture missing";
    const LinesReading<bool> probe = windowsProbeIn(c.listing);
    EXPECT_EQ(probe.answer, c.namesAFile) << c.name;
    EXPECT_EQ(probe.lastLine, c.probeLastLine) << c.name;
    const LinesReading<bool> root = bootManagerFileIn(c.listing);
    EXPECT_EQ(root.answer, c.hasBootManager) << c.name;
    EXPECT_EQ(root.lastLine, c.rootLastLine) << c.name;
  }
}

}  // namespace
}  // namespace quillfex
