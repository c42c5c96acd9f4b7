// How winsim-cmd reads a line: the transcript, %VAR% expansion, redirection, word splitting, and
// commands it does not know.

#include <sys/stat.h>

#include "winsim/cmd_fixture.h"

namespace winsim::testing {
namespace {

// POSIX keeps the low 8 bits of cmd's 9009.
constexpr int notRecognized = 9009 & 0xFF;

TEST_F(CmdTest, TranscriptHoldsEveryLineUnexpandedInOrder) {
  run("dir /b /a C:\\>%temp%\\Quillfex.000");
  run("no-such-command");
  run("ren C:\\Boot\\memtest.exe BCD>nul");
  EXPECT_EQ(readFile("transcript.log"),
            "dir /b /a C:\\>%temp%\\Quillfex.000\nno-such-command\nren C:\\Boot\\memtest.exe BCD>nul\n");
}

TEST_F(CmdTest, TempWithABlankNeedsQuotes) {
  temp = "C:\\Users\\John Smith\\Temp";
  run("dir /b /a C:\\>\"%temp%\\Quillfex.000\"");
  EXPECT_EQ(readFile("drives/C/Users/John Smith/Temp/Quillfex.000"), "Boot\r\nbootmgr\r\nTemp\r\nUsers\r\nWindows\r\n");

  // Unquoted, the name ends at the blank, as on Windows: the capture goes to C:\Users\John and the rest of
  // the name becomes one more path for dir.
  std::filesystem::remove(root / "drives/C/Users/John Smith/Temp/Quillfex.000");
  const CmdResult unquoted = run("dir /b /a C:\\>%temp%\\Quillfex.000");
  EXPECT_EQ(readFile("drives/C/Users/John"), "Boot\r\nbootmgr\r\nTemp\r\nUsers\r\nWindows\r\n");
  EXPECT_FALSE(exists("drives/C/Users/John Smith/Temp/Quillfex.000"));
  EXPECT_NE(unquoted.status, 0);
}

TEST_F(CmdTest, VariableNamesIgnoreCaseAndUndefinedOnesStay) {
  run("dir /b /a C:\\>%TEMP%\\Quillfex.000");
  EXPECT_TRUE(exists("drives/C/Temp/Quillfex.000"));

  const CmdResult undefined = run("%nothing%");
  EXPECT_EQ(undefined.errors,
            "'%nothing%' is not recognized as an internal or external command,\r\noperable program or batch file.\r\n");
}

TEST_F(CmdTest, RedirectionTargets) {
  struct Case {
    const char* line;
    const char* file;  // where the listing must land
  };
  for (const Case& c : {Case{"dir /b /a C:\\Boot\\BCD>C:\\Temp\\one", "drives/C/Temp/one"},
                        Case{"dir /b /a C:\\Boot\\BCD > C:\\Temp\\two", "drives/C/Temp/two"},
                        Case{"dir /b /a C:\\Boot\\BCD>\"C:\\Temp\\with blank\"", "drives/C/Temp/with blank"},
                        Case{"dir /b /a C:\\Boot\\BCD>..\\temp\\three", "drives/C/Temp/three"}}) {
    const CmdResult result = run(c.line);
    EXPECT_EQ(result.output, "") << c.line;
    EXPECT_EQ(readFile(c.file), "BCD\r\n") << c.line;
  }
}

TEST_F(CmdTest, NulDiscardsTheOutput) {
  for (const char* line : {"dir /b /a C:\\>nul", "dir /b /a C:\\>NUL"}) {
    const CmdResult result = run(line);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_FALSE(exists("drives/C/Boot/nul"));
  }
}

TEST_F(CmdTest, CaptureIsEmptiedEvenWhenTheCommandFails) {
  writeFile("drives/C/Temp/Quillfex.003", "left over\r\n");
  const CmdResult result = run("dir /b /a D:\\Windows\\System32\\b*>%temp%\\Quillfex.003");
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(readFile("drives/C/Temp/Quillfex.003"), "");
  EXPECT_NE(result.errors, "");
}

TEST_F(CmdTest, TargetInAMissingFolderStopsTheCommand) {
  const CmdResult result = run("ren C:\\Boot\\memtest.exe other.exe>C:\\NoSuchFolder\\out");
  EXPECT_EQ(result.errors, "The system cannot find the path specified.\r\n");
  EXPECT_TRUE(exists("drives/C/Boot/memtest.exe"));
  EXPECT_NE(result.status, 0);
}

TEST_F(CmdTest, UnknownCommand) {
  const CmdResult result = run("bcdedit /enum>%temp%\\Quillfex.000");
  EXPECT_EQ(result.status, notRecognized);
  EXPECT_EQ(result.errors,
            "'bcdedit' is not recognized as an internal or external command,\r\noperable program or batch file.\r\n");
  EXPECT_EQ(readFile("drives/C/Temp/Quillfex.000"), "");
}

// chcp names the code page the machine's editor lists in, and ver the system drive's Windows, as Windows 7's
// cmd prints them, also into a file.
TEST_F(CmdTest, ChcpAndVerTellTheListingsCodePageAndTheSystemDrivesWindows) {
  const auto machine = [](const std::string& listing, const std::string& windows) {
    return listing + "[[disk]]\nsignature = \"12ab0cff\"\n[[disk.partition]]\nletter = \"C\"\nwindows = \"" + windows +
           "\"\n[[disk.partition]]\nletter = \"D\"\nwindows = \"XP\"\n";
  };
  const struct {
    std::string description, line, output;
    int status;
  } cases[] = {
      {machine("", "7"), "chcp", "Active code page: 437\r\n", 0},
      {machine("[listing]\nlanguage = \"ru-RU\"\n", "7"), "CHCP.COM", "Active code page: 866\r\n", 0},
      {machine("[listing]\nlanguage = \"de-DE\"\ncode_page = 1252\n", "7"), "chcp", "Active code page: 1252\r\n", 0},
      {machine("", "7"), "ver", "\r\nMicrosoft Windows [Version 6.1.7601]\r\n", 0},
      {machine("", "Vista"), "ver", "\r\nMicrosoft Windows [Version 6.0.6002]\r\n", 0},
      {machine("", "XP"), "ver", "\r\nMicrosoft Windows XP [Version 5.1.2600]\r\n", 0},
      {machine("", ""), "ver", "\r\nMicrosoft Windows [Version 6.1.7601]\r\n", 0},
      {machine("", "7"), "chcp 850", "", 1},
      {"[[disk]]\n", "chcp", "", 1},
  };
  for (const auto& [description, line, output, status] : cases) {
    writeFile("machine.toml", description);
    const CmdResult printed = run(line);
    EXPECT_EQ(printed.output, output) << line << " on\n" << description;
    EXPECT_EQ(printed.status, status) << line << " on\n" << description << printed.errors;
    EXPECT_EQ(printed.errors.empty(), status == 0) << line << ": " << printed.errors;
    EXPECT_EQ(run(line + ">%temp%\\Quillfex.002").output, "") << line;
    EXPECT_EQ(readFile("drives/C/Temp/Quillfex.002"), output) << line;
  }
}

// The extracted editor stands in as a script that prints its arguments, one a line, and a note on standard
// error; it has no run bit, as a file written by the program has none.
class ProgramTest : public CmdTest {
 protected:
  void SetUp() override {
    CmdTest::SetUp();
    writeFile("drives/C/Boot/Zendrakx.exe",
              "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done\necho editor-ran >&2\nexit 3\n");
    ::chmod((root / "drives/C/Boot/Zendrakx.exe").c_str(), 0644);
  }
};

TEST_F(ProgramTest, RunsWithItsArgumentsAndOutput) {
  struct Case {
    const char* line;
    const char* arguments;
  };
  for (const Case& c :
       {Case{"Zendrakx.exe>%temp%\\Quillfex.000", ""},
        Case{"Zendrakx.exe /f /delete {6f1a8c20-5b3e}>%temp%\\Quillfex.000", "[/f]\n[/delete]\n[{6f1a8c20-5b3e}]\n"},
        Case{"zendrakx /export org.bcd>%temp%\\Quillfex.000", "[/export]\n[org.bcd]\n"},
        Case{"ZENDRAKX.EXE \"a b\" c>%temp%\\Quillfex.000", "[a b]\n[c]\n"},
        // cmd pairs the quotes for its ">"; the C runtime takes \" as a literal quote.
        Case{"C:\\Boot\\Zendrakx.exe a\\\"b c\\\" d>%temp%\\Quillfex.000", "[a\"b]\n[c\"]\n[d]\n"}}) {
    const CmdResult result = run(c.line);
    EXPECT_EQ(readFile("drives/C/Temp/Quillfex.000"), c.arguments) << c.line;
    EXPECT_EQ(result.errors, "editor-ran\n") << c.line;
    EXPECT_EQ(result.status, 3) << c.line;
  }
}

TEST_F(ProgramTest, OnlyFromTheCurrentDirectory) {
  const CmdResult result = run("Zendrakx.exe /export org.bcd>nul", "drives/C");
  EXPECT_EQ(result.status, notRecognized);
}

}  // namespace
}  // namespace winsim::testing
