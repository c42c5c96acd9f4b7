#include "readers/mounted_devices.h"

#include <gtest/gtest.h>

#include <array>

#include "test_data.h"

namespace quillfex {
namespace {

std::string valueLine(char letter, const std::string& bytes) {
  return std::string("\"\\\\DosDevices\\\\") + letter + ":\"=hex:" + bytes + "\r\n";
}

TEST(MountedDevices, NarrowingKeepsTheBytesAtEvenOffsets) {
  struct Case {
    std::string exported, narrowed;
  } cases[] = {
      {std::string("\xFF\xFE\x41\x00\x42\x00\x0D\x00\x0A\x00", 10), "\xFF\x41\x42\x0D\x0A"},
      {std::string("\xFF\xFE\x41\x00\x42", 5), "\xFF\x41\x42"},      // odd length: the last byte too
      {std::string("\xFF\xFE\x3B\x04\xAC\x20", 6), "\xFF\x3B\xAC"},  // above U+00FF: the low byte
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(narrowedExport(c.exported), c.narrowed);
}

TEST(MountedDevices, ScanHandsOnColumns24To34OfTheLettersLines) {
  const std::string exportText =
      "\xFFWindows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices]\r\n" +
      valueLine('D', "12,ab,0c,ff,00,7e,00,00,00,00,00,00") +
      "\"\\\\??\\\\Volume{5157cc0e-0000-11e0-a000-806e6f6e6963}\"=hex:12,ab,0c,ff\r\n" +
      valueLine('E', "5d,2e,8a,41,00,7e") + valueLine('E', "99,88,77,66") + "\"\\\\DosDevices\\\\F:\"=hex:1\r\n" +
      "DosDevices\\\\G:\r\n" + "\"\\\\DosDevices\\\\H:\"=hex:12,ab,0c,ff\r\nafter\r\n";
  struct Case {
    char letter;
    std::vector<std::string> signatures;
  } cases[] = {
      {'D', {"12,ab,0c,ff"}},
      {'C', {}},
      {'E', {"5d,2e,8a,41", "99,88,77,66"}},  // two value lines, in file order
      {'F', {"1"}},                           // shorter line: shorter text
      {'G', {""}},                            // fewer than 24 characters: empty
      {'H', {"12,ab,0c,ff"}},                 // a line after it changes nothing
  };
  for (const auto& c : cases) EXPECT_EQ(signaturesOf(exportText, c.letter), c.signatures) << c.letter;
  EXPECT_EQ(signaturesOf("", 'D'), std::vector<std::string>{});
}

TEST(MountedDevices, SignaturesMatchExactlyAndNeverEmpty) {
  const std::array<std::string, 4> disks = {"12,ab,0c,ff", "12,ab,0c,ff", "", "5d,2e,8a,41"};
  struct Case {
    char letter;
    std::string signature;
    int disk;
    bool matches;
  } cases[] = {
      {'D', "12,ab,0c,ff", 0, true}, {'C', "12,ab,0c,ff", 0, false},  // the system drive never on disk 0
      {'C', "12,ab,0c,ff", 1, true}, {'D', "12,AB,0c,ff", 0, false},
      {'D', "5d,2e,8a,41", 3, true}, {'D', "", 2, false},  // an unreadable disk matches nothing
      {'D', "12,ab,0c,f", 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(signatureMatches(c.signature, disks, c.disk, c.letter, "C:"), c.matches)
        << c.letter << " " << c.signature << " " << c.disk;
  }
}

TEST(MountedDevicesLineRules, WhichLinesNameALetter) {
  struct Case {
    std::string line;
    char letter;
    bool names;
  } cases[] = {
      {valueLine('D', "12,ab,0c,ff"), 'D', true},
      {valueLine('D', "12,ab,0c,ff"), 'E', false},
      {valueLine('d', "12,ab,0c,ff"), 'D', false},  // letter case is exact
      {"\"\\DosDevices\\D:\"=hex:12", 'D', false},  // one backslash: not the export's escaping
      {"\"\\\\DosDevices\\\\DD:\"=hex:12", 'D', false},
      {"DosDevices\\\\D:", 'D', true},  // anywhere in the line
      {"\"\\\\??\\\\Volume{5157cc0e-0000-11e0-a000-806e6f6e6963}\"=hex:12,ab,0c,ff", 'D', false},
      {"", 'D', false},
  };
  for (const auto& c : cases) EXPECT_EQ(namesLetter(c.line, c.letter), c.names) << c.line << " " << c.letter;
}

// Wine keeps Unix paths in its \DosDevices values, not MBR signatures: its letters are found, and their
// signature texts belong to no disk.
TEST(MountedDevices, WinesExportNamesCAndZWithSignaturesOfNoDisk) {
  const std::string exported = testing::testData("wine-mounted-devices.reg");
  ASSERT_EQ(exported.substr(0, 2), "\xFF\xFE");
  const std::string text = narrowedExport(exported);
  EXPECT_EQ(text.substr(0, 39), "\xFFWindows Registry Editor Version 5.00\r\n");
  EXPECT_NE(text.find("\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices]\r\n"), std::string::npos);

  const std::array<std::string, 4> disks = {"12,ab,0c,ff", "5d,2e,8a,41", "", "00,00,00,00"};
  struct Case {
    char letter;
    std::vector<std::string> signatures;
  } cases[] = {{'C', {"2e,2e,2f,64"}}, {'Z', {"2f,00,00,00"}}, {'D', {}}, {'Y', {}}};
  for (const auto& c : cases) {
    EXPECT_EQ(signaturesOf(text, c.letter), c.signatures) << c.letter;
    for (const auto& signature : c.signatures) {
      for (int disk = 0; disk < 4; ++disk) EXPECT_FALSE(signatureMatches(signature, disks, disk, c.letter, "C:"));
    }
  }
}

}  // namespace
}  // namespace quillfex
