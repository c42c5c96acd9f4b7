// ren: a new name in the same folder, never over another file; the attributes go with the file.

#include "winsim/cmd_fixture.h"

namespace winsim::testing {
namespace {

TEST_F(CmdTest, RenOntoAnExistingNameFailsAndKeepsBoth) {
  writeFile("drives/D/Boot/BCD", "copied store", "HS");
  writeFile("drives/D/Boot/lid.bcd", "prepared store", "HS");
  const CmdResult result = run("ren D:\\Boot\\lid.bcd BCD>nul");
  EXPECT_EQ(result.errors, "A duplicate file name exists, or the file cannot be found.\r\n");
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(readFile("drives/D/Boot/BCD"), "copied store");
  EXPECT_EQ(readFile("drives/D/Boot/lid.bcd"), "prepared store");
}

TEST_F(CmdTest, RenMovesTheAttributes) {
  writeFile("drives/D/Boot/lid.bcd", "prepared store", "HS");
  EXPECT_EQ(run("ren D:\\Boot\\LID.BCD BCD>nul").status, 0);
  EXPECT_EQ(readFile("drives/D/Boot/BCD"), "prepared store");
  EXPECT_FALSE(exists("drives/D/Boot/lid.bcd"));
  EXPECT_EQ(flagsOf("drives/D/Boot/BCD"), "HS");
  EXPECT_EQ(flagsOf("drives/D/Boot/lid.bcd"), "");
}

TEST_F(CmdTest, RenOutcomes) {
  struct Case {
    const char* line;
    bool renamed;
    const char* present;  // the file that must exist afterwards
  };
  for (const Case& c : {Case{"ren memtest.exe MEMTEST.EXE", true, "drives/C/Boot/MEMTEST.EXE"},
                        Case{"ren C:\\Boot\\nothing.bcd BCD", false, "drives/C/Boot/BCD"},
                        Case{"ren C:\\Boot\\BCD org.bcd", false, "drives/C/Boot/BCD"},
                        Case{"ren C:\\Boot\\bootstat.dat D:\\bootstat.dat", false, "drives/C/Boot/bootstat.dat"}}) {
    const CmdResult result = run(c.line);
    EXPECT_EQ(result.status == 0, c.renamed) << c.line;
    EXPECT_TRUE(exists(c.present)) << c.line;
  }
}

}  // namespace
}  // namespace winsim::testing
