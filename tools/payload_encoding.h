#pragma once
// The store generator's logic, kept apart from its file handling so that tests run it in-process: turning an
// executable into payload items, writing the C++ source of the payload store, and reading that source back
// the way the program's extraction reads the store.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillfex {

// An item is cut once it holds at least this many characters, so it ends with 200, 201 or 202 of them: an
// escape is never split from its digits.
inline constexpr std::size_t itemCutLength = 200;
inline constexpr std::size_t longestItem = itemCutLength + 2;

// True for a byte that stands for itself both in an item and in a C++ string literal; every other byte is
// written as a blank and two hexadecimal digits.
bool standsForItself(unsigned char byte);

// The payload items for an executable, in order, without the terminator. Only the last may be shorter than
// 200 characters, and it never reads "EindeFini".
std::vector<std::string> encodePayload(std::string_view executable);

// C++ source defining quillfex::payloadStore: each item record followed by a link record to the next, then
// the terminator item and a null link. `origin` names the executable in the file's heading.
std::string payloadStoreSource(const std::vector<std::string>& items, std::string_view origin);

struct StoreReading {
  std::string bytes;  // what the extraction writes from the store
  std::string fault;  // why the source is no sound payload store; empty when it is one
};

// Reads a source written by payloadStoreSource back: checks every record's length, link and characters and
// the item sizes, and decodes the items up to the terminator.
StoreReading readStoreSource(std::string_view source);

}  // namespace quillfex
