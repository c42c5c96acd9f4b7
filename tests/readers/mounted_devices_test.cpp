#include "readers/mounted_devices.h"

#include <gtest/gtest.h>

#include "fake_os.h"
#include "helper/command.h"
#include "screen/screen.h"
#include "test_data.h"

namespace quillfex {
namespace {

// Text as regedit writes it: UTF-16LE behind the byte-order mark.
std::string utf16(const std::string& text) {
  std::string wide = "\xFF\xFE";
  for (const char c : text) {
    wide += c;
    wide += '\0';
  }
  return wide;
}

std::string valueLine(char letter, const std::string& bytes) {
  return std::string("\"\\\\DosDevices\\\\") + letter + ":\"=hex:" + bytes + "\r\n";
}

class MountedDevicesTest : public ::testing::Test {
 protected:
  void exportIs(const std::string* bytes) {
    os.onCommand = [this, bytes](const std::string&) {
      if (bytes) os.setFile(capturePath(os, CaptureSlot::registryExport), *bytes);
    };
  }

  std::string narrowed() {
    exportMountedDevices(context);
    const std::string* file = os.file(capturePath(os, CaptureSlot::narrowedExport));
    return file ? *file : "(missing)";
  }

  std::vector<std::string> signaturesFor(char letter, const std::string& narrowedText) {
    state.letterCode = letter;
    std::vector<std::string> signatures;
    scanLetter(context, narrowedText, [&](const std::string& signature) { signatures.push_back(signature); });
    return signatures;
  }

  testing::FakeOs os;
  ProgramState state;
  Screen screen;
  Context context{state, os, screen};
};

TEST_F(MountedDevicesTest, NarrowingKeepsTheBytesAtEvenOffsets) {
  struct Case {
    std::string exported, narrowed;
  } cases[] = {
      {std::string("\xFF\xFE\x41\x00\x42\x00\x0D\x00\x0A\x00", 10), "\xFF\x41\x42\x0D\x0A"},
      {std::string("\xFF\xFE\x41\x00\x42", 5), "\xFF\x41\x42"},      // odd length: the last byte too
      {std::string("\xFF\xFE\x3B\x04\xAC\x20", 6), "\xFF\x3B\xAC"},  // above U+00FF: the low byte
      {"", ""},
  };
  for (const auto& c : cases) {
    exportIs(&c.exported);
    EXPECT_EQ(narrowed(), c.narrowed);
  }
  EXPECT_EQ(os.commandLines.back(), "regedit /e %temp%\\Quillfex.001 HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices");
}

TEST_F(MountedDevicesTest, AMissingExportGivesNoContentAndNoLeftoverSurvives) {
  os.setFile(capturePath(os, CaptureSlot::narrowedExport),
             valueLine('D', "12,ab,0c,ff"));  // left by an interrupted run
  exportIs(nullptr);
  EXPECT_EQ(narrowed(), "");
  const std::string shortExport = utf16("x");
  os.setFile(capturePath(os, CaptureSlot::narrowedExport), std::string(100, 'L'));
  exportIs(&shortExport);
  EXPECT_EQ(narrowed(), "\xFFx");
}

TEST_F(MountedDevicesTest, ScanHandsOnColumns24To34OfTheLettersLines) {
  const std::string exportText =
      "\xFFWindows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices]\r\n" +
      valueLine('D', "12,ab,0c,ff,00,7e,00,00,00,00,00,00") +
      "\"\\\\??\\\\Volume{5157cc0e-0000-11e0-a000-806e6f6e6963}\"=hex:12,ab,0c,ff\r\n" +
      valueLine('E', "5d,2e,8a,41,00,7e") + valueLine('E', "99,88,77,66") + "\"\\\\DosDevices\\\\F:\"=hex:1\r\n" +
      "DosDevices\\\\G:\r\n";
  struct Case {
    char letter;
    std::vector<std::string> signatures;
  } cases[] = {
      {'D', {"12,ab,0c,ff"}},
      {'C', {}},
      {'E', {"5d,2e,8a,41", "99,88,77,66"}},  // two value lines, in file order
      {'F', {"1"}},                           // shorter line: shorter text
      {'G', {""}},                            // fewer than 24 characters: empty
  };
  for (const auto& c : cases) EXPECT_EQ(signaturesFor(c.letter, exportText), c.signatures) << c.letter;
}

TEST_F(MountedDevicesTest, SignaturesMatchExactlyAndNeverEmpty) {
  state.systemDrive = "C:";
  state.diskSignatures = {"12,ab,0c,ff", "12,ab,0c,ff", "", "5d,2e,8a,41"};
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
    state.letterCode = c.letter;
    EXPECT_EQ(signatureMatches(state, c.signature, c.disk), c.matches)
        << c.letter << " " << c.signature << " " << c.disk;
  }
}

TEST_F(MountedDevicesTest, NarrowingLeavesTheLastPairInLineBufferAndEntryId) {
  struct Case {
    std::string exported, lineBuffer, entryId;
  } cases[] = {
      {utf16("AB"), "B", std::string(1, '\0')},
      {std::string("\xFF\xFE\x41\x00\x42", 5), "B", ""},  // odd length: no second byte
      {"", "held", "held"},                               // nothing read: nothing changed
  };
  for (const auto& c : cases) {
    state.lineBuffer = state.entryId = "held";
    exportIs(&c.exported);
    exportMountedDevices(context);
    EXPECT_EQ(state.lineBuffer, c.lineBuffer);
    EXPECT_EQ(state.entryId, c.entryId);
  }
  exportIs(nullptr);
  exportMountedDevices(context);
  ASSERT_NE(os.file(capturePath(os, CaptureSlot::registryExport)),
            nullptr);  // opened for reading and writing, so created
  EXPECT_EQ(*os.file(capturePath(os, CaptureSlot::registryExport)), "");
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

TEST_F(MountedDevicesTest, TheScanLeavesTheLastLineOrWhatTheCallerLeft) {
  const std::string line = "\"\\\\DosDevices\\\\D:\"=hex:12,ab,0c,ff";
  std::vector<std::string> seen;
  state.letterCode = 'D';
  scanLetter(context, line + "\r\nafter\r\n", [&](const std::string&) { seen.push_back(state.lineBuffer); });
  EXPECT_EQ(seen, std::vector<std::string>{line});
  EXPECT_EQ(state.lineBuffer, "after");

  scanLetter(context, valueLine('D', "12,ab,0c,ff"), [&](const std::string&) { state.lineBuffer = "left"; });
  EXPECT_EQ(state.lineBuffer, "left");  // the letter's line was the last one read
  scanLetter(context, "", [&](const std::string&) {});
  EXPECT_EQ(state.lineBuffer, "left");
}

// Wine keeps Unix paths in its \DosDevices values, not MBR signatures: its letters are found, and their
// signature texts belong to no disk.
TEST_F(MountedDevicesTest, WinesExportNamesCAndZWithSignaturesOfNoDisk) {
  const std::string exported = testing::testData("wine-mounted-devices.reg");
  ASSERT_EQ(exported.substr(0, 2), "\xFF\xFE");
  exportIs(&exported);
  const std::string text = narrowed();
  EXPECT_EQ(text.substr(0, 39), "\xFFWindows Registry Editor Version 5.00\r\n");
  EXPECT_NE(text.find("\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices]\r\n"), std::string::npos);

  state.systemDrive = "C:";
  state.diskSignatures = {"12,ab,0c,ff", "5d,2e,8a,41", "", "00,00,00,00"};
  struct Case {
    char letter;
    std::vector<std::string> signatures;
  } cases[] = {{'C', {"2e,2e,2f,64"}}, {'Z', {"2f,00,00,00"}}, {'D', {}}, {'Y', {}}};
  for (const auto& c : cases) {
    EXPECT_EQ(signaturesFor(c.letter, text), c.signatures) << c.letter;
    for (const auto& signature : c.signatures) {
      for (int disk = 0; disk < 4; ++disk) EXPECT_FALSE(signatureMatches(state, signature, disk)) << c.letter;
    }
  }
}

}  // namespace
}  // namespace quillfex
