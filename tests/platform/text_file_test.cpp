#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_os.h"

namespace quillfex {
namespace {

// Reads the file the way the program's scans do: test the end, then read a line.
std::vector<std::string> linesOf(const std::string& content) {
  testing::FakeOs os;
  os.setFile("C:\\f.txt", content);
  TextFile file = openTextFile(os, "C:\\f.txt");
  std::vector<std::string> lines;
  while (!file.atEnd()) lines.push_back(file.readLine());
  return lines;
}

using Lines = std::vector<std::string>;

TEST(TextFile, SplitsLinesInTextMode) {
  struct Case {
    std::string content;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\n", {"one"}},
      {"one\r\ntwo\r\n", {"one", "two"}},
      {"one\ntwo", {"one", "two"}},
      {"\n\n", {"", ""}},
      {"a\r\r\n", {"a\r"}},    // only the carriage return just before the line feed goes
      {"a\rb\n", {"a\rb"}},    // a lone carriage return is an ordinary byte
      {"last\r", {"last\r"}},  // no line feed, no line end to remove
      {std::string("n\0l\0\nx", 6), {std::string("n\0l\0", 4), "x"}},
      {"\xFF\xFEwide\r\n", {"\xFF\xFEwide"}},
  };
  for (const auto& c : cases) EXPECT_EQ(linesOf(c.content), c.lines) << c.content;
}

TEST(TextFile, ReadingPastTheEndYieldsEmptyLines) {
  testing::FakeOs os;
  os.setFile("C:\\f.txt", "only\n");
  TextFile file = openTextFile(os, "C:\\f.txt");
  EXPECT_EQ(file.readLine(), "only");
  EXPECT_TRUE(file.atEnd());
  EXPECT_EQ(file.readLine(), "");
  EXPECT_EQ(file.readLine(), "");
}

TEST(TextFile, MissingFileHasNoLines) {
  testing::FakeOs os;
  TextFile file = openTextFile(os, "C:\\missing.txt");
  EXPECT_TRUE(file.atEnd());
  EXPECT_EQ(file.readLine(), "");
}

TEST(TextFile, RewindStartsAgainAtTheFirstLine) {
  testing::FakeOs os;
  os.setFile("C:\\f.txt", "a\nb\n");
  TextFile file = openTextFile(os, "C:\\f.txt");
  EXPECT_EQ(file.readLine(), "a");
  file.rewind();
  EXPECT_EQ(file.readLine(), "a");
  EXPECT_EQ(file.readLine(), "b");
  EXPECT_TRUE(file.atEnd());
}

TEST(TextFile, LongLinesCrossReadChunksWhole) {
  const std::string huge(5'000'000, 'x');
  EXPECT_EQ(linesOf(huge), Lines{huge});  // several megabytes and no line end at all
  // A carriage return that ends one read chunk and the line feed that starts the next still form a line end.
  const std::string atBoundary(64 * 1024 - 1, 'y');
  EXPECT_EQ(linesOf(atBoundary + "\r\nz"), (Lines{atBoundary, "z"}));
  const std::string line100k(100'000, 'i');
  EXPECT_EQ(linesOf(line100k + "\r\n" + line100k), (Lines{line100k, line100k}));
}

}  // namespace
}  // namespace quillfex
