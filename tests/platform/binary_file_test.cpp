#include "platform/binary_file.h"

#include <gtest/gtest.h>

#include "fake_os.h"
#include "platform/whole_file.h"

namespace quillfex {
namespace {

TEST(BinaryFile, IsCreatedWhenMissingAndWrittenAtPositionsFromOne) {
  testing::FakeOs os;
  {
    BinaryFile file = openBinaryFile(os, "C:\\Boot\\new.bin");
    file.write(1, "A");
    file.write(2, "B");
    file.write(5, "E");  // not consecutive: the gap reads as NUL bytes
    file.write(3, "C");
  }
  ASSERT_NE(os.file("C:\\Boot\\new.bin"), nullptr);
  EXPECT_EQ(*os.file("C:\\Boot\\new.bin"), std::string("ABC\0E", 5));
}

TEST(BinaryFile, IsNotEmptiedWhenOpened) {
  testing::FakeOs os;
  os.setFile("C:\\old.bin", "0123456789");
  { openBinaryFile(os, "C:\\old.bin").write(1, "ab"); }
  EXPECT_EQ(*os.file("C:\\old.bin"), "ab23456789");
}

TEST(BinaryFile, ReadsFromARunningPositionUntilItsEnd) {
  testing::FakeOs os;
  os.setFile("C:\\odd.bin", "abcde");
  BinaryFile file = openBinaryFile(os, "C:\\odd.bin");
  std::string pairs;
  while (!file.atEnd()) pairs += file.read(2) + "|";
  EXPECT_EQ(pairs, "ab|cd|e|");
  EXPECT_EQ(file.read(1), "");
}

TEST(BinaryFile, ReadsSeeItsOwnWrites) {
  testing::FakeOs os;
  BinaryFile file = openBinaryFile(os, "C:\\rw.bin");
  file.write(1, "xyz");
  EXPECT_EQ(file.size(), 3u);
  EXPECT_EQ(file.read(3), "xyz");
  file.write(2, "Q");
  file.write(3, "R");
  EXPECT_EQ(*os.file("C:\\rw.bin"), "xyz");  // gathered, not yet written
  file.flush();
  EXPECT_EQ(*os.file("C:\\rw.bin"), "xQR");
}

TEST(BinaryFile, AFileThatCannotBeOpenedIsEmptyAndSwallowsWrites) {
  BinaryFile file(nullptr);
  EXPECT_TRUE(file.atEnd());
  EXPECT_EQ(file.read(2), "");
  file.write(1, "lost");
  EXPECT_EQ(file.size(), 0u);
}

// A whole-file write replaces the file or fails; a file it could not delete keeps all of its old text.
TEST(WholeFile, AWriteOverAFileThatWasNotDeletedFailsAndLeavesIt) {
  struct Case {
    const char* name;
    bool deletable;
    bool written;
    std::string after;
  } cases[] = {
      {"deleted first", true, true, "new"},
      {"still there", false, false, "old and longer"},
  };
  for (const auto& c : cases) {
    testing::FakeOs os;
    os.setFile("C:\\Boot\\org.lst", "old and longer");
    if (!c.deletable) os.undeletable = {"C:\\Boot\\org.lst"};
    EXPECT_EQ(writeWholeFile(os, "C:\\Boot\\org.lst", "new"), c.written) << c.name;
    EXPECT_EQ(*os.file("C:\\Boot\\org.lst"), c.after) << c.name;
  }
}

}  // namespace
}  // namespace quillfex
