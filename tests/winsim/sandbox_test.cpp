#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "machine/file_attributes.h"
#include "machine/machine_file.h"
#include "machine/sandbox_builder.h"
#include "sandbox_fixture.h"
#include "winsim/front/machine_report.h"

namespace winsim {
namespace {

const std::string minimalSample =
    "[[disk]]\nsignature = \"12ab0cff\"\n[[disk.partition]]\nletter = \"C\"\nbootmgr = true\n";

class SandboxBuilderTest : public quillfex::testing::SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    std::filesystem::remove_all(root);  // the builder wants a new folder
  }

  void make(const std::string& text) {
    std::string error;
    const auto machine = parseMachine(text, "m.toml", error);
    ASSERT_TRUE(machine) << error;
    ASSERT_TRUE(buildSandbox(*machine, text, root, error)) << error;
  }
};

TEST_F(SandboxBuilderTest, LaysOutDrivesDisksAndRegistry) {
  make(defaultMachineText());
  const std::string disk0 = readFile("disks/PhysicalDrive0");
  ASSERT_EQ(disk0.size(), 512u);
  EXPECT_EQ(disk0.substr(440, 4), "\x12\xab\x0c\xff");
  EXPECT_EQ(disk0.substr(510), "\x55\xaa");
  EXPECT_EQ(readFile("disks/PhysicalDrive1").substr(440, 4), "\x5d\x2e\x8a\x41");
  EXPECT_TRUE(exists("drives/C/Windows/System32/bcdedit.exe"));
  EXPECT_TRUE(exists("drives/D/Windows/System32/bootcfg.exe"));
  EXPECT_FALSE(exists("drives/F/Windows"));
  EXPECT_TRUE(exists("drives/C/Temp"));
  EXPECT_EQ(readFile("machine.toml"), defaultMachineText());
  EXPECT_NE(readFile("registry/MountedDevices").find("\\DosDevices\\E:\t5d,2e,8a,41,00,7e,00,00,00,00,00,00\n"),
            std::string::npos);

  const FileAttributes attributes(root);
  EXPECT_EQ(attributes.of(root / "drives/C/bootmgr"), "RHS");
  EXPECT_EQ(attributes.of(root / "drives/C/Boot/BCD"), "HS");
  EXPECT_EQ(attributes.of(root / "drives/C/Boot/memtest.exe"), "");
}

TEST_F(SandboxBuilderTest, EverySampleMachineBuilds) {
  int samples = 0;
  for (const auto& file : std::filesystem::directory_iterator(WINSIM_MACHINES)) {
    std::ifstream in(file.path());
    std::ostringstream text;
    text << in.rdbuf();
    std::filesystem::remove_all(root);
    make(text.str());
    std::string error;
    const auto machine = parseMachine(text.str(), "m.toml", error);
    EXPECT_TRUE(std::filesystem::is_regular_file(systemStoreFile(root, *machine))) << file.path();
    ++samples;
  }
  EXPECT_GE(samples, 9);
}

// The editor reads the listing's words from the sandbox in their code page; a sandbox without the file lists
// in English, and one whose file does not read is no machine.
TEST_F(SandboxBuilderTest, KeepsTheListingsWordsInTheirCodePage) {
  make(minimalSample + "[listing]\nlanguage = \"ru-RU\"\nboot_loader = \"Загрузка Windows 7\"\n");
  EXPECT_EQ(readFile("listing-words").substr(0, 11), "identifier ");
  const std::string loader = "boot_loader 18 \x87\xa0\xa3\xe0\xe3\xa7\xaa\xa0 Windows 7\n";
  EXPECT_NE(readFile("listing-words").find(loader), std::string::npos);
  std::string error;
  const auto machine = loadSandboxMachineAt(root.string(), error);
  ASSERT_TRUE(machine) << error;
  ASSERT_TRUE(machine->listingText);
  EXPECT_EQ(machine->listingText->title(EntryKind::loader).bytes, "\x87\xa0\xa3\xe0\xe3\xa7\xaa\xa0 Windows 7");
  EXPECT_EQ(machine->listingText->title(EntryKind::loader).characters, 18u);
  EXPECT_EQ(machine->listingText->key, "\xa8\xa4\xa5\xad\xe2\xa8\xe4\xa8\xaa\xa0\xe2\xae\xe0");

  const std::string words = readFile("listing-words");
  std::string oversized = words;
  oversized.replace(oversized.find("boot_loader 18 "), 15, "boot_loader 99999999999 ");
  for (const std::string& broken : std::vector<std::string>{"", words + "more\n", "identifier x\nboot_manager 3\n",
                                                            "identifier x\r\n", oversized}) {
    writeFile("listing-words", broken);
    EXPECT_FALSE(loadSandboxMachineAt(root.string(), error)) << ::testing::PrintToString(broken);
    EXPECT_NE(error.find("listing-words: line "), std::string::npos) << error;
  }
  std::filesystem::remove(root / "listing-words");
  EXPECT_FALSE(loadSandboxMachineAt(root.string(), error)->listingText);
}

TEST_F(SandboxBuilderTest, RefusesAFolderThatHoldsSomething) {
  writeFile("mine.txt", "keep me");
  std::string error;
  const auto machine = parseMachine(defaultMachineText(), "m", error);
  EXPECT_FALSE(buildSandbox(*machine, defaultMachineText(), root, error));
  EXPECT_NE(error.find("not empty"), std::string::npos);
  EXPECT_EQ(readFile("mine.txt"), "keep me");
}

TEST_F(SandboxBuilderTest, TempCannotClimbOutOfTheSandbox) {
  std::string text = defaultMachineText();
  text.replace(text.find("temp = \"C:\\\\Temp\""), 17, "temp = 'C:\\..\\..\\..\\escaped'");
  make(text);
  EXPECT_TRUE(exists("drives/C/escaped"));
  EXPECT_FALSE(std::filesystem::exists(root.parent_path() / "escaped"));
}

TEST_F(SandboxBuilderTest, ShowReportsTheStateAsJson) {
  make(defaultMachineText());
  writeFile("drives/C/Temp/Quillfex.000", "x");
  writeFile("transcript.log", "Zendrakx.exe>%temp%\\Quillfex.000\n");
  std::string error;
  const auto report = readMachineReport(root, error);
  ASSERT_TRUE(report) << error;
  const std::string json = reportJson(*report);
  EXPECT_EQ(
      json.rfind("{\"systemDrive\":\"C:\",\"systemStoreOn\":\"C:\",\"systemStore\":[{\"id\":\"{bootmgr}\",\"device\":"
                 "\"partition=C:\",",
                 0),
      0u);
  EXPECT_NE(json.find("\"D\":{\"bootmgr\":false,\"store\":null,\"bootFiles\":[]}"), std::string::npos);
  EXPECT_NE(json.find("\"bootFolder\":[\"BCD\",\"BCD.LOG\",\"BCD.LOG1\",\"BCD.LOG2\",\"bootstat.dat\",\"en-US\","
                      "\"Fonts\",\"memtest.exe\"]"),
            std::string::npos);
  EXPECT_NE(json.find("\"temp\":[\"Quillfex.000\"],\"transcript\":[\"Zendrakx.exe>%temp%\\\\Quillfex.000\"]}"),
            std::string::npos);
}

TEST_F(SandboxBuilderTest, ShowNamesWhatIsNotASandbox) {
  std::filesystem::create_directories(root);
  std::string error;
  EXPECT_FALSE(readMachineReport(root, error));
  EXPECT_NE(error.find("machine.toml: cannot be read"), std::string::npos);
}

}  // namespace
}  // namespace winsim
