#include "helper/payload_item_blocks.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

// The processor is asked at run time (decodeItemInBlocks): the build targets plain x86-64.
#define QUILLFEX_SSSE3 __attribute__((target("ssse3"), always_inline)) inline

namespace quillfex {

namespace {

constexpr std::size_t chunkSize = 16;

// For each 8-bit mask, the positions of its set bits in order, then 0x80, which makes pshufb write a zero.
constexpr auto compactions = [] {
  std::array<std::array<std::uint8_t, 8>, 256> table{};
  for (int mask = 0; mask < 256; ++mask) {
    int kept = 0;
    for (int bit = 0; bit < 8; ++bit) {
      if ((mask >> bit) & 1) table[mask][kept++] = static_cast<std::uint8_t>(bit);
    }
    for (; kept < 8; ++kept) table[mask][kept] = 0x80;
  }
  return table;
}();

// How many bits each 8-bit mask has set (a table: popcnt is not SSSE3's, and the library call is slow).
constexpr auto bitCounts = [] {
  std::array<std::uint8_t, 256> counts{};
  for (int mask = 0; mask < 256; ++mask) counts[mask] = static_cast<std::uint8_t>(std::popcount(unsigned(mask)));
  return counts;
}();

// 16 characters of an item, with what decoding needs to know about each of them.
struct Chunk {
  __m128i characters;
  __m128i blank;        // 0xFF where the character is a blank
  __m128i digitValues;  // what the character is worth as a hexadecimal digit
  unsigned blanks;      // bit j: character j is a blank
  unsigned notDigits;   // bit j: character j is no hexadecimal digit
};

// What one chunk leaves to the next.
struct ChunkState {
  unsigned digitsAhead = 0;  // bits 0 and 1: the next chunk starts with escape digits
  unsigned unsound = 0;      // non-zero once an escape digit was no hexadecimal digit
};

QUILLFEX_SSSE3 Chunk lookAt(__m128i characters) {
  const __m128i lowNibbles = _mm_and_si128(characters, _mm_set1_epi8(0x0F));
  const __m128i highNibbles = _mm_and_si128(_mm_srli_epi16(characters, 4), _mm_set1_epi8(0x0F));
  // A digit's high nibble picks a row (3: 0-9, 4: A-F, 6: a-f), its low nibble the columns that row accepts.
  const __m128i rows = _mm_setr_epi8(0, 0, 0, 1, 2, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m128i columns = _mm_setr_epi8(1, 3, 3, 3, 3, 3, 3, 1, 1, 1, 0, 0, 0, 0, 0, 0);
  const __m128i digit = _mm_and_si128(_mm_shuffle_epi8(rows, highNibbles), _mm_shuffle_epi8(columns, lowNibbles));
  const __m128i letterAdds = _mm_setr_epi8(0, 0, 0, 0, 9, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0);

  Chunk chunk;
  chunk.characters = characters;
  chunk.blank = _mm_cmpeq_epi8(characters, _mm_set1_epi8(' '));
  chunk.digitValues = _mm_add_epi8(lowNibbles, _mm_shuffle_epi8(letterAdds, highNibbles));
  chunk.blanks = static_cast<unsigned>(_mm_movemask_epi8(chunk.blank));
  chunk.notDigits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(digit, _mm_setzero_si128())));
  return chunk;
}

// Decodes the units that start among the first `count` (1 to 16) characters of `chunk`, whose digits may
// run on into `next`, and writes 16 bytes at `out`, of which the returned end is the last decoded one.
QUILLFEX_SSSE3 char* decodeChunk(const Chunk& chunk, const Chunk& next, std::size_t count, char* out,
                                 ChunkState& state) {
  const __m128i firstDigits = _mm_alignr_epi8(next.digitValues, chunk.digitValues, 1);
  const __m128i secondDigits = _mm_alignr_epi8(next.digitValues, chunk.digitValues, 2);
  // The 16-bit shift may carry bits into a lane from the one below, but those come from that lane's own
  // character: a blank, worth 0, wherever the lane's escape is used.
  const __m128i escaped = _mm_or_si128(_mm_slli_epi16(firstDigits, 4), secondDigits);
  const __m128i decoded =
      _mm_or_si128(_mm_and_si128(chunk.blank, escaped), _mm_andnot_si128(chunk.blank, chunk.characters));

  // An escape's digits are the two characters after its blank; a unit starts wherever no digit lies. Past
  // `count` there is only padding, which holds no blank and no digit.
  const unsigned digits = (chunk.blanks << 1) | (chunk.blanks << 2) | state.digitsAhead;
  state.unsound |= digits & chunk.notDigits;
  state.digitsAhead = digits >> chunkSize;
  const unsigned unitStarts = ~digits & ((1u << count) - 1);

  const __m128i lowOrder = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(compactions[unitStarts & 0xFF].data()));
  const __m128i highOrder = _mm_add_epi8(
      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(compactions[unitStarts >> 8].data())), _mm_set1_epi8(8));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(decoded, lowOrder));
  out += bitCounts[unitStarts & 0xFF];
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(decoded, highOrder));
  return out + bitCounts[unitStarts >> 8];
}

QUILLFEX_SSSE3 __m128i loadChunk(const char* characters) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(characters));
}

// Lane j of a load from &shiftDown[k] is 0x80 (pshufb: zero) from j = 16 - k on, else j + k.
constexpr auto shiftDown = [] {
  std::array<std::uint8_t, 2 * chunkSize> table{};
  for (std::size_t lane = 0; lane < table.size(); ++lane) {
    table[lane] = lane < chunkSize ? static_cast<std::uint8_t>(lane) : 0x80;
  }
  return table;
}();

// The `rest` (0 to 15) characters after an item's whole chunks, padded with NULs: no blanks and no digits,
// so an escape that the item's end cuts short shows as unsound.
QUILLFEX_SSSE3 __m128i loadRest(std::string_view item, std::size_t rest) {
  if (item.size() < chunkSize) {
    char padded[chunkSize] = {};
    std::memcpy(padded, item.data(), rest);
    return loadChunk(padded);
  }
  // The item's last 16 characters moved down, which reads nothing outside the item.
  const __m128i lastCharacters = loadChunk(item.data() + item.size() - chunkSize);
  const std::size_t before = chunkSize - rest;
  return _mm_shuffle_epi8(lastCharacters, loadChunk(reinterpret_cast<const char*>(shiftDown.data() + before)));
}

__attribute__((target("ssse3"))) std::optional<std::size_t> decodeWithSsse3(std::string_view item, char* into) {
  const std::size_t wholeChunks = item.size() / chunkSize;
  const std::size_t rest = item.size() % chunkSize;
  const Chunk restChunk = lookAt(loadRest(item, rest));

  ChunkState state;
  char* out = into;
  // A whole chunk writes its 16 bytes no further than its own last character lies, so inside `into`.
  Chunk chunk = wholeChunks > 0 ? lookAt(loadChunk(item.data())) : restChunk;
  for (std::size_t index = 1; index <= wholeChunks; ++index) {
    const Chunk next = index < wholeChunks ? lookAt(loadChunk(item.data() + index * chunkSize)) : restChunk;
    out = decodeChunk(chunk, next, chunkSize, out, state);
    chunk = next;
  }
  if (rest > 0) {
    const Chunk padding = lookAt(_mm_setzero_si128());
    // Escapes make most items decode to far fewer bytes than characters, leaving room for all 16.
    if (out + chunkSize <= into + item.size()) {
      out = decodeChunk(restChunk, padding, rest, out, state);
    } else {
      char restOut[chunkSize];
      const char* restEnd = decodeChunk(restChunk, padding, rest, restOut, state);
      std::memcpy(out, restOut, static_cast<std::size_t>(restEnd - restOut));
      out += restEnd - restOut;
    }
  }
  if (state.unsound != 0 || state.digitsAhead != 0) return std::nullopt;
  return static_cast<std::size_t>(out - into);
}

}  // namespace

std::optional<std::size_t> decodeItemInBlocks(std::string_view item, char* into) {
  static const bool hasSsse3 = __builtin_cpu_supports("ssse3");
  if (!hasSsse3) return std::nullopt;
  return decodeWithSsse3(item, into);
}

}  // namespace quillfex

#else

namespace quillfex {

std::optional<std::size_t> decodeItemInBlocks(std::string_view, char*) { return std::nullopt; }

}  // namespace quillfex

#endif
