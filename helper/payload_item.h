#pragma once
// The text form of the helper payload: items of characters in which a blank and the two characters after it
// stand for one byte, read as a hexadecimal number. The extraction and the store generator's own check read
// items with this one decoder, so a store that passes the build's check extracts the same bytes.

#include <cstddef>
#include <string_view>

namespace quillfex {

// The item that ends the payload store; it is not part of the payload.
inline constexpr std::string_view payloadTerminator = "EindeFini";

// Writes the bytes that `item` stands for to `into`, which has room for item.size() bytes, and returns how
// many it wrote. A blank takes the value of up to two hexadecimal digits after it (0-9, a-f, A-F; fewer when
// the item ends sooner or a character is no such digit; no digit gives 0), and the two characters after a
// blank are skipped whatever they are. Every other character stands for its own byte.
std::size_t decodePayloadItem(std::string_view item, char* into);

}  // namespace quillfex
