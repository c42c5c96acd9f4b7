#include "readers/captured_lines.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillfex {
namespace {

using Lines = std::vector<std::string>;

// Reads the text the way every reader does: test the end, then read a line.
Lines linesOf(const std::string& text) {
  CapturedLines lines(text);
  Lines read;
  while (!lines.atEnd()) read.push_back(lines.readLine());
  return read;
}

TEST(CapturedLines, SplitsLinesAsTheRuntimesTextModeReadsAFile) {
  struct Case {
    std::string text;
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
  for (const auto& c : cases) EXPECT_EQ(linesOf(c.text), c.lines) << c.text;
}

TEST(CapturedLines, ReadingPastTheEndYieldsEmptyLines) {
  CapturedLines lines("only\n");
  EXPECT_EQ(lines.readLine(), "only");
  EXPECT_TRUE(lines.atEnd());
  EXPECT_EQ(lines.readLine(), "");
  EXPECT_EQ(lines.readLine(), "");
}

TEST(CapturedLines, LongLinesAreReadWhole) {
  const std::string huge(5'000'000, 'x');
  EXPECT_EQ(linesOf(huge), Lines{huge});  // several megabytes and no line end at all
  const std::string line100k(100'000, 'i');
  EXPECT_EQ(linesOf(line100k + "\r\n" + line100k), (Lines{line100k, line100k}));
}

}  // namespace
}  // namespace quillfex
