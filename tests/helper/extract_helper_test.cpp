#include "helper/extract_helper.h"

#include <gtest/gtest.h>

#include "fake_os.h"
#include "hand_made_store.h"

namespace quillfex {
namespace {

using namespace std::string_literals;

const std::string helperPath = "C:\\Boot\\Zendrakx.exe";

class ExtractHelperTest : public ::testing::Test {
 protected:
  ExtractHelperTest() { os.changeDirectory("C:\\Boot"); }

  // What "Zendrakx.exe" in C:\Boot holds after extracting a store of these items.
  std::string extract(std::vector<std::string> items) {
    testing::HandMadeStore store(std::move(items));
    extractHelper(os, store.records());
    const std::string* written = os.file(helperPath);
    return written ? *written : "(no file)";
  }

  testing::FakeOs os;
};

struct DecodingCase {
  const char* what;
  std::vector<std::string> items;
  std::string bytes;
};

TEST_F(ExtractHelperTest, DecodesItemsUpToTheTerminator) {
  const DecodingCase cases[] = {
      {"terminator only", {"EindeFini"}, ""},
      {"plain characters", {"MZ!~x", "EindeFini"}, "MZ!~x"},
      {"escape of a letter", {" 41", "EindeFini"}, "A"},
      {"lower-case digits", {" ff", "EindeFini"}, "\xff"},
      {"upper-case digits", {" FF", "EindeFini"}, "\xff"},
      {"mixed-case digits", {" aB", "EindeFini"}, "\xab"},
      {"line feed", {" 0a", "EindeFini"}, "\n"},
      {"NUL among plain characters", {"a 00b", "EindeFini"}, "a\0b"s},
      {"blank at the item's end", {"ab ", "EindeFini"}, "ab\0"s},
      {"blank and one digit at the end", {"ab 7", "EindeFini"}, "ab\x07"},
      {"blank and a non-digit: 0, two skipped", {" g1x", "EindeFini"}, "\0x"s},
      {"digits stop at the first non-digit", {" 4g!", "EindeFini"}, "\x04!"},
      {"blank after a blank is skipped as a digit", {"  41", "EindeFini"}, std::string{'\0', '1'}},
      {"escape ends one item, plain starts the next", {"a 41", "b", "EindeFini"}, "aAb"},
      {"position runs on across items", {"12", " 33", "45", "EindeFini"}, "12345"},
      {"empty item", {"", "z", "EindeFini"}, "z"},
      {"items after the terminator are not written", {"x", "EindeFini", "y"}, "x"},
      {"a store without terminator ends at its null link", {"x", "y"}, "xy"},
  };
  for (const DecodingCase& each : cases) {
    EXPECT_EQ(extract(each.items), each.bytes) << each.what;
  }
}

TEST_F(ExtractHelperTest, WritesPayloadsOfManyBlocksWithoutGapsOrOverlaps) {
  std::vector<std::string> items;
  std::string expected;
  for (int index = 0; index < 2000; ++index) {
    const std::string tag = std::to_string(index % 100);
    std::string item;
    while (item.size() < 190) item += " 41";
    items.push_back(item + tag);
    expected += std::string(item.size() / 3, 'A') + tag;
  }
  items.emplace_back("EindeFini");
  EXPECT_TRUE(extract(std::move(items)) == expected);
}

TEST_F(ExtractHelperTest, LeavesNothingOfALongerFileFromAnEarlierRun) {
  os.setFile(helperPath, std::string(5000, 'Z'));
  EXPECT_EQ(extract({"MZ 00 90", "EindeFini"}), "MZ\0\x90"s);
}

TEST_F(ExtractHelperTest, TerminatorOnlyLeavesAnEmptyFile) {
  os.setFile(helperPath, "old editor");
  EXPECT_EQ(extract({"EindeFini"}), "");
}

TEST_F(ExtractHelperTest, WritesIntoTheCurrentDirectory) {
  os.changeDirectory("D:\\Boot");
  testing::HandMadeStore store({"ok", "EindeFini"});
  extractHelper(os, store.records());
  ASSERT_NE(os.file("D:\\Boot\\Zendrakx.exe"), nullptr);
  EXPECT_EQ(*os.file("D:\\Boot\\Zendrakx.exe"), "ok");
  EXPECT_EQ(os.file(helperPath), nullptr);
}

}  // namespace
}  // namespace quillfex
