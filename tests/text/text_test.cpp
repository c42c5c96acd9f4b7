#include "text/text.h"

#include <gtest/gtest.h>

namespace quillfex {
namespace {

TEST(Text, PartsOutsideTheTextAreEmptyOrCut) {
  const std::string text = "abcdef";
  struct Case {
    std::string got, expected;
  } cases[] = {
      {leftPart(text, 0), ""},         {leftPart(text, -3), ""},
      {leftPart(text, 2), "ab"},       {leftPart(text, 6), "abcdef"},
      {leftPart(text, 99), "abcdef"},  {rightPart(text, 0), ""},
      {rightPart(text, 2), "ef"},      {rightPart(text, 99), "abcdef"},
      {middlePart(text, 0), ""},       {middlePart(text, 1), "abcdef"},
      {middlePart(text, 6), "f"},      {middlePart(text, 7), ""},
      {middlePart(text, 2, 3), "bcd"}, {middlePart(text, 5, 99), "ef"},
      {middlePart(text, 2, 0), ""},    {lowerCase("AbZ\xC4@["), "abz\xC4@["},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(Text, KeepsNulBytes) {
  const std::string text("a\0b\0c", 5);
  EXPECT_EQ(middlePart(text, 2, 3), std::string("\0b\0", 3));
  EXPECT_EQ(findText(text, std::string("\0c", 2)), 4);
}

TEST(Text, FindGivesFirstPositionFromOneOrZero) {
  EXPECT_EQ(findText("xDosDevices\\\\D:", "DosDevices\\\\D:"), 2);
  EXPECT_EQ(findText("aXbX", "X"), 2);
  EXPECT_EQ(findText("abc", "C"), 0);
}

}  // namespace
}  // namespace quillfex
