#include "helper/payload_item.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>

namespace quillfex {
namespace {

// The rules read plainly, a character at a time: what the decoder, fast path or not, must agree with.
std::string referenceDecoding(std::string_view item) {
  std::string bytes;
  std::size_t at = 0;
  while (at < item.size()) {
    if (item[at] != ' ') {
      bytes += item[at++];
      continue;
    }
    int value = 0;
    for (std::size_t digit = at + 1; digit <= at + 2 && digit < item.size(); ++digit) {
      const unsigned char character = static_cast<unsigned char>(item[digit]);
      if (!std::isxdigit(character)) break;
      value = value * 16 + (std::isdigit(character) ? character - '0' : std::tolower(character) - 'a' + 10);
    }
    bytes += static_cast<char>(value);
    at += 3;
  }
  return bytes;
}

std::string decoded(std::string_view item) {
  std::string bytes(item.size(), '\0');
  bytes.resize(decodePayloadItem(item, bytes.data()));
  return bytes;
}

// Characters on both sides of every digit range, so that a misread range shows.
constexpr std::string_view edgeCharacters = "/09:@AFG`afg \x7f\x80\xb5\xff";
constexpr std::string_view hexDigits = "0123456789abcdefABCDEF";

// Blanks with two digits and plain characters: the items a generated store holds.
std::string soundItem(std::mt19937& random, std::size_t units) {
  std::string item;
  for (std::size_t unit = 0; unit < units; ++unit) {
    if (random() % 3 == 0) {
      item += edgeCharacters[random() % (edgeCharacters.size() - 5)];  // no blank, no byte above 0x7e
    } else {
      item += ' ';
      item += hexDigits[random() % hexDigits.size()];
      item += hexDigits[random() % hexDigits.size()];
    }
  }
  return item;
}

TEST(PayloadItem, AgreesWithTheRulesOnSoundItemsOfEveryLength) {
  std::mt19937 random(11);
  for (std::size_t units = 0; units < 120; ++units) {
    for (int round = 0; round < 20; ++round) {
      const std::string item = soundItem(random, units);
      ASSERT_EQ(decoded(item), referenceDecoding(item)) << '"' << item << '"';
    }
  }
}

TEST(PayloadItem, AgreesWithTheRulesWhenAnEscapeIsBroken) {
  std::mt19937 random(12);
  for (int round = 0; round < 5000; ++round) {
    std::string item = soundItem(random, random() % 90);
    if (item.empty()) continue;
    // One character anywhere becomes a blank or a character around a digit range, which may cut an escape
    // short, put a blank among its digits, or end the item inside one.
    item[random() % item.size()] = edgeCharacters[random() % edgeCharacters.size()];
    if (random() % 4 == 0) item.resize(random() % (item.size() + 1));
    ASSERT_EQ(decoded(item), referenceDecoding(item)) << '"' << item << '"';
  }
}

}  // namespace
}  // namespace quillfex
