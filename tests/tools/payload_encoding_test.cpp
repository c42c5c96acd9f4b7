#include "tools/payload_encoding.h"

#include <gtest/gtest.h>

#include <random>

#include "helper/payload_item.h"

namespace quillfex {
namespace {

using namespace std::string_literals;

std::string decodeItem(const std::string& item) {
  std::string bytes(item.size(), '\0');
  bytes.resize(decodePayloadItem(item, bytes.data()));
  return bytes;
}

std::string allByteValues(int rounds) {
  std::string bytes;
  for (int round = 0; round < rounds; ++round) {
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
  }
  return bytes;
}

std::string randomBytes(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

std::string alternating(std::string_view pair, std::size_t count) {
  std::string bytes;
  while (bytes.size() < count) bytes += pair;
  return bytes.substr(0, count);
}

struct Payload {
  std::string what;
  std::string bytes;
};

std::vector<Payload> adversarialPayloads() {
  std::vector<Payload> payloads = {
      {"empty", ""},
      {"one plain byte", "A"},
      {"one NUL", "\0"s},
      {"one blank", " "},
      {"every byte value", allByteValues(1)},
      {"every byte value, thrice", allByteValues(3)},
      {"a run of blanks", std::string(1000, ' ')},
      {"a run of NULs", std::string(1000, '\0')},
      {"blanks and NULs", alternating(" \0"s, 999)},
      {"quotes, backslashes and trigraphs", alternating("\"\\?\?=?\?/", 700)},
      {"what looks like an escape", alternating(" 41 zz", 600)},
      {"just the terminator's letters", "EindeFini"},
      {"ends in the terminator's letters", std::string(200, 'x') + "EindeFini"},
      {"random megabyte", randomBytes(1 << 20, 1)},
  };
  for (std::size_t length = 199; length <= 203; ++length) {
    payloads.push_back({std::to_string(length) + " plain bytes", std::string(length, 'x')});
    payloads.push_back({std::to_string(length) + " escaped bytes", std::string(length, '\0')});
    payloads.push_back({std::to_string(length) + " random bytes", randomBytes(length, static_cast<unsigned>(length))});
  }
  return payloads;
}

TEST(PayloadEncoding, ItemsKeepTheirSizesAndTheStoreReadsBackToThePayload) {
  for (const Payload& payload : adversarialPayloads()) {
    SCOPED_TRACE(payload.what);
    const std::vector<std::string> items = encodePayload(payload.bytes);
    std::string decoded;
    for (std::size_t index = 0; index < items.size(); ++index) {
      const std::string& item = items[index];
      const bool last = index + 1 == items.size();
      EXPECT_LE(item.size(), longestItem);
      EXPECT_GE(item.size(), last ? 1u : itemCutLength) << "item " << index;
      EXPECT_NE(item, payloadTerminator);
      // Decoding each item on its own proves no escape was split from its digits.
      decoded += decodeItem(item);
    }
    EXPECT_EQ(decoded, payload.bytes);

    const StoreReading reading = readStoreSource(payloadStoreSource(items, "test"));
    EXPECT_EQ(reading.fault, "");
    EXPECT_EQ(reading.bytes, payload.bytes);
  }
}

TEST(PayloadEncoding, EscapesEveryByteThatCannotStandForItself) {
  const struct {
    std::string byte;
    std::string item;
  } cases[] = {
      {"A", "A"},    {"!", "!"},    {"~", "~"},   {" ", " 20"},    {"\0"s, " 00"},  {"\n", " 0a"},
      {"\"", " 22"}, {"\\", " 5c"}, {"?", " 3f"}, {"\x7f", " 7f"}, {"\x80", " 80"}, {"\xff", " ff"},
  };
  for (const auto& each : cases) {
    EXPECT_EQ(encodePayload(each.byte), std::vector<std::string>{each.item}) << each.item;
  }
}

TEST(PayloadEncoding, AnEscapeAtTheCutStaysWithItsBlank) {
  const struct {
    std::size_t plainBefore;
    std::size_t firstItemSize;
  } cases[] = {{197, 200}, {198, 201}, {199, 202}, {200, 200}};
  for (const auto& each : cases) {
    const std::string bytes = std::string(each.plainBefore, 'x') + '\0' + std::string(300, 'y');
    EXPECT_EQ(encodePayload(bytes).front().size(), each.firstItemSize) << each.plainBefore;
  }
}

TEST(PayloadEncoding, ALastItemNeverPassesForTheTerminator) {
  const std::vector<std::string> items = encodePayload(std::string(200, 'x') + "EindeFini");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1], "EindeFin 69");
}

TEST(PayloadEncoding, ReadingBackRejectsAnUnsoundStore) {
  const std::string sound = payloadStoreSource(encodePayload(std::string(450, 'x')), "test");
  ASSERT_EQ(readStoreSource(sound).fault, "");
  const std::string item(200, 'x');
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string source = sound;
    source.replace(source.find(from), from.size(), to);
    return source;
  };
  const struct {
    const char* what;
    std::string source;
  } cases[] = {
      {"a length that is not the text's", replaced("{200, ", "{201, ")},
      {"a link to the wrong record", replaced("payloadStore + 4", "payloadStore + 6")},
      {"a null link before the end", replaced("payloadStore + 2}", "nullptr}")},
      {"no terminator", replaced("{9, \"EindeFini\"}", "{9, \"EindeFinx\"}")},
      {"a terminator too early", replaced("{200, \"" + item + "\"}", "{9, \"EindeFini\"}")},
      {"a backslash in a text", replaced("{200, \"x", "{200, \"\\")},
      {"an item too short", replaced("{200, \"" + item + "\"}", "{150, \"" + item.substr(50) + "\"}")},
      {"an unreadable record line", replaced("{linkLength, payloadStore + 2}", "{-1, payloadStore + 2}")},
      {"no closing", sound.substr(0, sound.find("};"))},
      {"no store at all", "int x;"},
  };
  for (const auto& each : cases) {
    EXPECT_NE(readStoreSource(each.source).fault, "") << each.what;
  }
}

}  // namespace
}  // namespace quillfex
