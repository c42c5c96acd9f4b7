// dir /b: bare names, hidden and system ones only with /a, NTFS order, no line when nothing matches.

#include "winsim/cmd_fixture.h"

namespace winsim::testing {
namespace {

TEST_F(CmdTest, DirListings) {
  struct Case {
    const char* line;
    const char* output;
    bool found;
  };
  for (const Case& c : {
           Case{"dir /b /a C:\\", "Boot\r\nbootmgr\r\nTemp\r\nUsers\r\nWindows\r\n", true},
           Case{"dir /b C:\\", "Boot\r\nTemp\r\nUsers\r\nWindows\r\n", true},
           Case{"DIR /B /A c:\\boot", "BCD\r\nBCD.LOG1\r\nbootstat.dat\r\nen-US\r\nFonts\r\nmemtest.exe\r\n", true},
           Case{"dir /b \\Boot", "en-US\r\nFonts\r\nmemtest.exe\r\n", true},
           Case{"dir /b /a", "BCD\r\nBCD.LOG1\r\nbootstat.dat\r\nen-US\r\nFonts\r\nmemtest.exe\r\n", true},
           // Upper-case order puts "_" after the letters.
           Case{"dir /b /a C:\\Windows\\System32\\b*", "bcdedit.exe\r\nBOOTRES.DLL\r\nb_x.dll\r\n", true},
           Case{"dir /b /a C:\\Windows\\System32\\?al.*", "hal.dll\r\n", true},
           Case{"dir /b /a C:\\bootmgr", "bootmgr\r\n", true},
           Case{"dir /b C:\\bootmgr", "", false},
           Case{"dir /b /a C:\\Boot\\x*", "", false},
           Case{"dir /b /a D:\\", "", false},
           Case{"dir /b /a D:\\Windows\\System32\\b*", "", false},
       }) {
    const CmdResult result = run(c.line);
    EXPECT_EQ(result.output, c.output) << c.line;
    EXPECT_EQ(result.status == 0, c.found) << c.line;
    EXPECT_EQ(result.errors.empty(), c.found) << c.line;
  }
}

TEST_F(CmdTest, DirWithoutMatchesSaysFileNotFound) {
  EXPECT_EQ(run("dir /b /a C:\\Boot\\x*").errors, "File Not Found\r\n");
}

TEST_F(CmdTest, DirWritesTheConsoleCodePage) {
  writeFile("drives/D/R\xC3\xA9gis \xE2\x82\xAC.txt", "");
  EXPECT_EQ(run("dir /b /a D:\\").output, "R\x82gis ?.txt\r\n");
}

}  // namespace
}  // namespace winsim::testing
