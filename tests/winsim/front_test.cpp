// The winsim front as its users start it: the real binary's command line, and what `show` prints.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "captured_run.h"
#include "sandbox_fixture.h"
#include "winsim/front/machine_report.h"

namespace winsim {
namespace {

struct Outcome {
  int status = -1;
  std::string output;  // standard output
  std::string errors;  // standard error
};

class FrontTest : public quillfex::testing::SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    machine = root / "machine";
  }

  Outcome winsim(const std::vector<std::string>& args) const {
    quillfex::posix::ProcessStart start;
    start.arguments = {WINSIM};
    start.arguments.insert(start.arguments.end(), args.begin(), args.end());
    start.environment = quillfex::posix::currentEnvironment();
    const auto run = quillfex::testing::runCapturing(start, root);
    return {run.status, run.output, run.errors};
  }

  void makeDefault() const { ASSERT_EQ(winsim({"make", "--default", machine.string()}).status, 0); }

  std::filesystem::path machine;
};

// Runs of blanks as one, so that rows are compared without their column widths.
std::string squeezed(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c != ' ' || out.empty() || out.back() != ' ') out += c;
  }
  return out;
}

TEST_F(FrontTest, UsageErrorsEndWithStatusTwoAndSayWhy) {
  makeDefault();
  const std::string dir = machine.string();
  const struct {
    std::vector<std::string> args;
    std::string said;
  } cases[] = {
      {{}, "Usage: winsim"},
      {{"frob"}, "unknown command frob"},
      {{"frob", "--help"}, "unknown command frob"},
      {{"show"}, "DIR is required"},
      {{"show", dir, "--bogus"}, "--bogus"},
      {{"show", dir, "extra"}, "extra"},
      {{"show", dir, "--", "true"}, "only winsim run takes --"},
      {{"make", "--default"}, "needs a machine description"},
      {{"make", "a.toml"}, "needs a machine description"},
      {{"make", "--default", "a.toml", dir}, "not both"},
      {{"make", "--from-capture", dir}, "needs a machine description"},
      {{"make", "--from-capture"}, "--from-capture"},
      {{"make", "--default", "--from-capture", dir, dir}, "--default or --from-capture, not both"},
      {{"make", "--from-capture", dir, "a.toml", dir}, "--from-capture or a machine description, not both"},
      {{"describe"}, "--from-capture is required"},
      {{"describe", "--from-capture", dir, "extra"}, "extra"},
      {{"run", dir}, "give it after --"},
      {{"run", dir, "--"}, "give it after --"},
      {{"run", "--", "true"}, "DIR is required"},
      {{"run", dir, "--screen", "vga", "--", "true"}, "--screen: must be headless, tty or sdl"},
      {{"run", dir, "--keys", "Sideways", "--", "true"}, "Sideways"},
      {{"run", dir, "--keys", "--", "true"}, "--keys"},
      {{"run", dir, "--kill-after", "0", "--", "true"}, "count of command lines from 1"},
      {{"run", dir, "--kill-after=0x10", "--", "true"}, "count of command lines from 1"},
      {{"run", dir, "--kill-after", "+5", "--", "true"}, "count of command lines from 1"},
  };
  for (const auto& [args, said] : cases) {
    const Outcome outcome = winsim(args);
    const std::string line = ::testing::PrintToString(args);
    EXPECT_EQ(outcome.status, 2) << line;
    EXPECT_NE(outcome.errors.find(said), std::string::npos) << line << "\n" << outcome.errors;
    EXPECT_EQ(outcome.output, "") << line;
  }
}

TEST_F(FrontTest, FailuresEndWithStatusOne) {
  writeFile("bad.toml", "disks = 3\n");
  const struct {
    std::vector<std::string> args;
    std::string said;
  } cases[] = {
      {{"show", (root / "nothing").string()}, "machine.toml: cannot be read"},
      {{"make", (root / "missing.toml").string(), machine.string()}, "missing.toml: cannot be read"},
      {{"make", (root / "bad.toml").string(), machine.string()}, "bad.toml"},
      {{"make", "--default", root.string()}, "not empty"},
      {{"run", (root / "nothing").string(), "--", "true"}, "machine.toml: cannot be read"},
      {{"describe", "--from-capture", (root / "nothing").string()}, "no capture folder there"},
      {{"make", "--from-capture", (root / "nothing").string(), machine.string()}, "no capture folder there"},
      {{"make", "--from-capture", QUILLFEX_TEST_DATA "/capture-cut-off", root.string()}, "not empty"},
  };
  for (const auto& [args, said] : cases) {
    const Outcome outcome = winsim(args);
    EXPECT_EQ(outcome.status, 1) << ::testing::PrintToString(args);
    EXPECT_NE(outcome.errors.find(said), std::string::npos) << outcome.errors;
  }
}

TEST_F(FrontTest, HelpForWinsimAndEveryCommand) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> tells;
  } cases[] = {
      {{"--help"}, {"Usage: winsim", "make", "show", "run", "--version", "--name=value", "Exit status", "2 a usage"}},
      {{"-h"}, {"Usage: winsim", "Commands:"}},
      {{"help"}, {"Usage: winsim", "Commands:"}},
      {{"make", "--help"}, {"Usage: winsim make", "--default", "MACHINE.toml", "DIR"}},
      {{"make", "-h"}, {"Usage: winsim make"}},
      {{"show", "--help"}, {"Usage: winsim show", "--json", "--verbose"}},
      {{"describe", "--help"}, {"Usage: winsim describe", "--from-capture", "standard error"}},
      {{"make", "--help"}, {"--from-capture", "CAPTURE DIR"}},
      {{"show", "-h"}, {"Usage: winsim show"}},
      {{"run", "--help"}, {"Usage: winsim run", "--keys", "--screen", "--snap", "--kill-after", "After --"}},
      {{"run", "some/dir", "-h"}, {"Usage: winsim run"}},
  };
  for (const auto& [args, tells] : cases) {
    const Outcome outcome = winsim(args);
    EXPECT_EQ(outcome.status, 0) << ::testing::PrintToString(args) << outcome.errors;
    for (const auto& text : tells) {
      EXPECT_NE(outcome.output.find(text), std::string::npos) << ::testing::PrintToString(args) << " lacks " << text;
    }
  }
}

TEST_F(FrontTest, VersionIsTheProjectsVersion) {
  const Outcome outcome = winsim({"--version"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "winsim " WINSIM_VERSION "\n");
}

// The child prints what it was handed, so options are seen to arrive whatever their order and form, and the
// program's own arguments untouched.
TEST_F(FrontTest, RunOptionsInAnyOrderAndFormReachTheProgram) {
  makeDefault();
  const std::string dir = machine.string();
  const std::vector<std::string> program = {
      "--", "/bin/sh", "-c",      "printf '%s|' \"$QUILLFEX_KEYS\" \"$QUILLFEX_SCREEN\" \"$@\"", "sh", "--keys",
      "-h", "--",      "a  b\"c",
  };
  const std::vector<std::vector<std::string>> orders = {
      {"run", dir, "--keys", "Down Esc", "--screen", "headless"},
      {"run", "--screen=headless", dir, "--keys=Down Esc"},
      {"run", "--keys", "Down Esc", "--screen", "headless", dir},
  };
  for (auto args : orders) {
    args.insert(args.end(), program.begin(), program.end());
    const Outcome outcome = winsim(args);
    EXPECT_EQ(outcome.status, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, "Down Esc|headless|--keys|-h|--|a  b\"c|") << ::testing::PrintToString(args);
  }
  EXPECT_EQ(winsim({"run", dir, "--", "/bin/sh", "-c", "exit 7"}).status, 7);
}

// The test's output is no terminal and it has no display, so winsim names the headless screen and says so.
TEST_F(FrontTest, RunWithNeitherDisplayNorTerminalNamesTheHeadlessScreen) {
  makeDefault();
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  const Outcome outcome = winsim({"run", machine.string(), "--", "/bin/sh", "-c", "printf %s \"$QUILLFEX_SCREEN\""});
  EXPECT_EQ(outcome.output, "headless");
  EXPECT_EQ(outcome.errors,
            "winsim: no display and no terminal: the program runs on the headless screen (--screen "
            "headless)\n");
}

// What a capture did not tell goes to standard error, a line each, and into the description as a comment.
TEST_F(FrontTest, DescribeAndMakeFromACapture) {
  const std::string cutOff = QUILLFEX_TEST_DATA "/capture-cut-off";
  const Outcome described = winsim({"describe", "--from-capture", cutOff});
  EXPECT_EQ(described.status, 0) << described.errors;
  EXPECT_EQ(described.output.rfind("# A replica of the machine captured in " + cutOff, 0), 0u);
  int lines = 0;
  for (std::size_t at = 0; (at = described.errors.find("winsim: " + cutOff + ": ", at)) != std::string::npos; ++at) {
    ++lines;
  }
  EXPECT_EQ(lines, 3) << described.errors;
  EXPECT_NE(described.errors.find("capture.toml is missing\n"), std::string::npos);

  const Outcome made = winsim({"make", "--from-capture", QUILLFEX_TEST_DATA "/capture-vista-id", machine.string()});
  EXPECT_EQ(made.status, 0) << made.errors;
  EXPECT_EQ(made.errors.find("system32-D.txt is missing"), made.errors.rfind("system32-D.txt is missing"));
  const Outcome shown = winsim({"show", machine.string()});
  EXPECT_NE(squeezed(shown.output).find(" 2 0000cccc D: - -\n"), std::string::npos) << shown.output;
  EXPECT_EQ(readFile("machine/machine.toml").rfind("# A replica of the machine captured in", 0), 0u);

  // A description that makes no machine is printed all the same, for a person to finish.
  writeFile("no-system/MountedDevices.reg", "REGEDIT4\r\n\r\n");
  const Outcome unbuildable = winsim({"describe", "--from-capture", (root / "no-system").string()});
  EXPECT_EQ(unbuildable.status, 1);
  EXPECT_NE(unbuildable.output.find("name = "), std::string::npos);
  EXPECT_NE(unbuildable.errors.find("system_drive C: is on no [[disk.partition]]"), std::string::npos)
      << unbuildable.errors;
}

TEST_F(FrontTest, MakeAndShowTakeTheirOptionsAnywhere) {
  ASSERT_EQ(winsim({"make", machine.string(), "--default"}).status, 0);
  const Outcome json = winsim({"show", "--json", machine.string()});
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.output.rfind("{\"systemDrive\":\"C:\"", 0), 0u);
  EXPECT_EQ(winsim({"show", machine.string(), "--verbose", "--json"}).output, json.output);
}

TEST_F(FrontTest, ShowTabulatesDisksAndWhatEachStoreBoots) {
  makeDefault();
  // A run that got as far as a boot manager of D:'s own: C:'s is gone, D: has one and a store for itself.
  std::filesystem::rename(machine / "drives/C/bootmgr", machine / "drives/D/bootmgr");
  std::filesystem::create_directories(machine / "drives/D/Boot");
  std::ofstream(machine / "drives/D/Boot/BCD")
      << "display_order = [\"{default}\"]\n"
         "[[entry]]\nkind = \"bootmgr\"\nid = \"{bootmgr}\"\n"
         "device = \"partition=D:\"\ndescription = \"Windows Boot Manager\"\n"
         "[[entry]]\nkind = \"loader\"\nid = \"{default}\"\ndevice = \"partition=D:\"\n"
         "description = \"Windows Vista\"\n"
         "[[entry]]\nkind = \"loader\"\nid = \"{gone}\"\ndevice = \"partition=F:\"\n"
         "description = \"Nothing here\"\n";
  std::ofstream(machine / "transcript.log") << "dir /b /a C:\\Boot>%temp%\\Quillfex.000\nbcdedit /export org.bcd\n";

  const Outcome brief = winsim({"show", machine.string()});
  ASSERT_EQ(brief.status, 0) << brief.errors;
  const std::string text = squeezed(brief.output);
  for (const char* row : {
           " disk signature drive Windows bootmgr\n",
           " 0 12ab0cff C: Windows 7 -\n",
           " D: Windows Vista yes\n",
           " 1 5d2e8a41 E: Windows 7 -\n",
           " F: - -\n",
           "C:\\Boot\\BCD (the system store), no \\bootmgr beside it, its boot manager on partition=C:, "
           "boots:\n",
           " 1 Windows 7 Windows 7 on C:\n",
           " 2 Windows Vista Windows Vista on D:\n",
           " 3 Windows 7 (second disk) Windows 7 on E:\n",
           " - Windows Memory Diagnostic a tool on C:, not in the menu\n",
           "D:\\Boot\\BCD, its boot manager on partition=D:, boots:\n",
           " 1 Windows Vista Windows Vista on D:\n",
           " - Nothing here nothing: no Windows on F:, not in the menu\n",
           "Command lines run: 2\n",
           "Listing: English, code page 437\n",
       }) {
    EXPECT_NE(text.find(row), std::string::npos) << "lacks " << row << "in\n" << brief.output;
  }
  EXPECT_EQ(brief.output.find("bcdedit /export"), std::string::npos);
  EXPECT_EQ(brief.output.find("memtest.exe"), std::string::npos);

  const Outcome verbose = winsim({"show", machine.string(), "--verbose"});
  EXPECT_EQ(verbose.output.rfind(brief.output.substr(0, brief.output.find("C:\\Boot\\BCD")), 0), 0u);
  EXPECT_NE(verbose.output.find("  dir /b /a C:\\Boot>%temp%\\Quillfex.000\n  bcdedit /export org.bcd\n"),
            std::string::npos);
  EXPECT_NE(verbose.output.find(
                "Files in C:\\Boot: BCD, BCD.LOG, BCD.LOG1, BCD.LOG2, bootstat.dat, en-US, Fonts, memtest.exe"),
            std::string::npos);
}

// The words in UTF-8 as the description gives them; make checks that they have a place in their code page.
TEST_F(FrontTest, ShowNamesTheListingsLanguageAndWords) {
  ASSERT_EQ(winsim({"make", WINSIM_MACHINES "/seven-and-xp-on-c-russian.toml", machine.string()}).status, 0);
  const std::string text = squeezed(winsim({"show", machine.string()}).output);
  for (const char* row : {"Listing: ru-RU, code page 866:\n", " key \"идентификатор\"\n",
                          " legacy loader \"Загрузчик предыдущих версий Windows\"\n"}) {
    EXPECT_NE(text.find(row), std::string::npos) << "lacks " << row << "in\n" << text;
  }
  writeFile("greek.toml",
            "[listing]\ncode_page = 850\nboot_loader = \"Φορτωτής\"\n[[disk]]\nsignature = \"12ab0cff\"\n"
            "[[disk.partition]]\nletter = \"C\"\n");
  const Outcome made = winsim({"make", (root / "greek.toml").string(), (root / "greek").string()});
  EXPECT_EQ(made.status, 1);
  EXPECT_NE(made.errors.find("line 3: 'boot_loader' in [listing] has no place in code page 850"), std::string::npos)
      << made.errors;
}

// The system store stands where the machine's boot manager starts from: a drive, or a partition without a letter.
TEST_F(FrontTest, ShowSaysWhereTheSystemStoreIs) {
  const struct {
    std::string sample, row, json;
  } cases[] = {
      {"seven-system-reserved.toml",
       "\\Device\\HarddiskVolume1\\Boot\\BCD (the system store, on the partition the firmware starts (no drive "
       "letter); "
       "the system drive C: has no \\Boot\\BCD), its boot manager on partition=\\Device\\HarddiskVolume1, boots:\n"
       " 1 Windows 7 Windows 7 on C:\n",
       "\"systemStoreOn\":\"\\\\Device\\\\HarddiskVolume1\",\"systemStore\":[{\"id\":\"{bootmgr}\""},
      {"seven-beside-xp.toml",
       "D:\\Boot\\BCD (the system store, on the partition the firmware starts; the system drive C: has no "
       "\\Boot\\BCD), its boot manager on partition=D:, boots:\n",
       "\"systemStoreOn\":\"D:\",\"systemStore\":[{\"id\":\"{bootmgr}\""},
  };
  for (const auto& [sample, row, json] : cases) {
    std::filesystem::remove_all(machine);
    ASSERT_EQ(winsim({"make", std::string(WINSIM_MACHINES) + "/" + sample, machine.string()}).status, 0);
    const std::string text = winsim({"show", machine.string()}).output;
    EXPECT_NE(squeezed(text).find(squeezed(row)), std::string::npos) << text;
    EXPECT_NE(winsim({"show", machine.string(), "--json"}).output.find(json), std::string::npos) << sample;
  }
}

// A name that is no UTF-8 is taken as code page 437, whose characters the JSON then carries as UTF-8.
TEST(MachineReportJson, NamesAreValidUtf8) {
  const struct {
    std::string name;
    std::string json;
  } cases[] = {
      {"caf\xC3\xA9", "\"caf\xC3\xA9\""},                                // UTF-8 already
      {"\xF0\x9F\x92\xBE", "\"\xF0\x9F\x92\xBE\""},                      // four bytes
      {"caf\x82", "\"caf\xC3\xA9\""},                                    // code page 437's é
      {"\xC3", "\"\xE2\x94\x9C\""},                                      // cut short: 0xC3 is ├
      {"\xC0\xAF", "\"\xE2\x94\x94\xC2\xBB\""},                          // overlong: └»
      {"\xED\xA0\x80", "\"\xCF\x86\xC3\xA1\xC3\x87\""},                  // a surrogate: φáÇ
      {"\xF4\x90\x80\x80", "\"\xE2\x8C\xA0\xC3\x89\xC3\x87\xC3\x87\""},  // beyond U+10FFFF: ⌠ÉÇÇ
      {"a\"b\\c\x01\x7F", "\"a\\\"b\\\\c\\u0001\\u007f\""},
  };
  for (const auto& [name, json] : cases) {
    MachineReport report;
    report.systemDrive = "C:";
    report.temp = {name};
    EXPECT_NE(reportJson(report).find("\"temp\":[" + json + "]"), std::string::npos)
        << ::testing::PrintToString(name) << " gave " << reportJson(report);
  }
}

}  // namespace
}  // namespace winsim
