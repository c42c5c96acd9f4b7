#include "screen/cp437.h"

#include <array>

namespace quillfex {
namespace {

// Windows-1252 bytes 80 to 9F; A0 to FF are Latin-1 and equal their code points. Holes keep their own value,
// as Windows passes them through.
constexpr std::array<char16_t, 32> ansiHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::uint8_t cp437FromAnsi(std::uint8_t character) {
  const bool inControlBlock = character >= 0x80 && character < 0xA0;
  return cp437FromUnicode(inControlBlock ? ansiHighControls[character - 0x80] : char32_t{character});
}

}  // namespace quillfex
