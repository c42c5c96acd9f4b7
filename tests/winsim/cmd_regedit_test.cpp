// regedit /e: the Windows 7 export of MountedDevices, as the mounted-devices reader takes it apart.

#include <sstream>
#include <vector>

#include "winsim/cmd_fixture.h"

namespace winsim::testing {
namespace {

const char* const exportLine = "regedit /e %temp%\\Quillfex.001 HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices";

// What the program does to the export: every byte at an odd offset is dropped.
std::string narrowed(const std::string& exported) {
  std::string narrow;
  for (std::size_t at = 0; at < exported.size(); at += 2) narrow += exported[at];
  return narrow;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CmdTest, ExportIsUtf16WithItsByteOrderMark) {
  const CmdResult result = run(exportLine);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output + result.errors, "");
  const std::string exported = readFile("drives/C/Temp/Quillfex.001");
  ASSERT_GE(exported.size(), 4u);
  EXPECT_EQ(exported.substr(0, 4), std::string("\xFF\xFEW\0", 4));
  for (std::size_t at = 3; at < exported.size(); at += 2) ASSERT_EQ(exported[at], '\0') << at;
}

TEST_F(CmdTest, ExportLayout) {
  run(exportLine);
  EXPECT_EQ(narrowed(readFile("drives/C/Temp/Quillfex.001")),
            "\xFF"
            "Windows Registry Editor Version 5.00\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices]\r\n"
            "\"\\\\DosDevices\\\\C:\"=hex:12,ab,0c,ff,00,7e,00,00,00,00,00,00\r\n"
            "\"\\\\DosDevices\\\\D:\"=hex:12,ab,0c,ff,00,7e,00,00,05,00,00,00\r\n"
            "\"\\\\??\\\\Volume{5157cc0e-0000-11e0-a000-806e6f6e6963}\"=hex:12,ab,0c,ff,00,7e,00,\\\r\n"
            "  00,00,00,00,00\r\n"
            "\r\n");
}

TEST_F(CmdTest, DosDevicesLinesAsTheReaderCountsThem) {
  writeFile("registry/MountedDevices", "\\DosDevices\\Q:\t5d,2e,8a,41,00,7e\n");
  run(exportLine);
  const auto lines = linesOf(narrowed(readFile("drives/C/Temp/Quillfex.001")));
  ASSERT_EQ(lines.size(), 5u);
  const std::string& line = lines[3];
  EXPECT_EQ(line.substr(0, 34), "\"\\\\DosDevices\\\\Q:\"=hex:5d,2e,8a,41");
  EXPECT_EQ(line.find("DosDevices\\\\Q:"), 3u);   // the search text starts at character 4
  EXPECT_EQ(line.substr(23, 11), "5d,2e,8a,41");  // characters 24 to 34
}

TEST_F(CmdTest, LongValuesAreFoldedWithin80Columns) {
  std::string hex;
  for (int i = 0; i < 120; ++i)
    hex += (i ? "," : "") + std::string(1, "0123456789abcdef"[i / 16 % 16]) + "0123456789abcdef"[i % 16];
  writeFile("registry/MountedDevices", "\\??\\Volume{ad1d5bf4-f3b0-11df-a8b4-806e6f6e6963}\t" + hex + "\n");
  run(exportLine);
  const auto lines = linesOf(narrowed(readFile("drives/C/Temp/Quillfex.001")));
  ASSERT_GT(lines.size(), 5u);

  std::string joined;
  for (std::size_t i = 3; i + 1 < lines.size(); ++i) {
    std::string line = lines[i].substr(0, lines[i].size() - 1);  // without the CR
    const bool last = i + 2 == lines.size();
    EXPECT_LE(line.size(), 80u) << line;
    if (i > 3) {
      EXPECT_EQ(line.substr(0, 2), "  ") << line;
      line = line.substr(2);
    }
    if (!last) {
      EXPECT_EQ(line.substr(line.size() - 2), ",\\") << line;
      line.pop_back();
    }
    joined += line;
  }
  EXPECT_EQ(lines[3].size(), 80u);  // 79 characters and the CR: regedit fills the first line
  EXPECT_EQ(joined, "\"\\\\??\\\\Volume{ad1d5bf4-f3b0-11df-a8b4-806e6f6e6963}\"=hex:" + hex);
}

TEST_F(CmdTest, UnknownKeyWritesNoFile) {
  for (const char* line :
       {"regedit /e %temp%\\Quillfex.001 HKEY_LOCAL_MACHINE\\SYSTEM\\Select",
        "regedit /e C:\\Users\\John Smith\\Temp\\Quillfex.001 HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices"}) {
    const CmdResult result = run(line);
    EXPECT_NE(result.status, 0) << line;
    EXPECT_NE(result.errors, "") << line;
    EXPECT_FALSE(exists("drives/C/Temp/Quillfex.001")) << line;
    EXPECT_FALSE(exists("drives/C/Users/John")) << line;
  }
}

}  // namespace
}  // namespace winsim::testing
