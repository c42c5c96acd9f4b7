#include "readers/folder_names.h"

#include <gtest/gtest.h>

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
  struct Case {
    const char* name;
    std::string listing;
    bool namesAFile, hasBootManager;
  } cases[] = {
      {"System32 names beginning with b", testData("wine-system32-b.txt"), true, false},
      {"a root without bootmgr", testData("wine-root.txt"), true, false},
      {"a root with bootmgr and Boot", testData("wine-root-with-bootmgr.txt"), true, true},
      {"no match: dir writes nothing to standard output", "", false, false},
      {"one empty line", "\r\n", false, false},
      {"upper case, no line end", "Windows\r\nBOOTMGR", true, true},
      {"a name with a blank after it", "bootmgr \r\n", true, false},
      {"bootmgr last, its carriage return kept without a line feed", "Windows\r\nbootmgr\r", true, false},
  };
  for (const auto& c : cases) {
    ASSERT_FALSE(c.listing.empty() && c.namesAFile) << c.name << ": fixture missing";
    EXPECT_EQ(windowsProbeIn(c.listing), c.namesAFile) << c.name;
    EXPECT_EQ(bootManagerFileIn(c.listing), c.hasBootManager) << c.name;
  }
}

}  // namespace
}  // namespace quillfex
