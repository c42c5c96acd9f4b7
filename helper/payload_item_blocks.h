#pragma once
// Payload items read 16 characters at a time, for x86-64 processors with SSSE3. Escapes are two-thirds of an
// executable's bytes, so reading character by character guesses wrong at every other branch and costs several
// times the write of the extracted file.

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillfex {

// Decodes `item` into `into` (room for item.size() bytes) and returns how many bytes it wrote; nullopt when the
// processor has no SSSE3 or an escape is not a blank and two hexadecimal digits (into then holds anything),
// which leaves the item to the character-by-character reading.
std::optional<std::size_t> decodeItemInBlocks(std::string_view item, char* into);

}  // namespace quillfex
