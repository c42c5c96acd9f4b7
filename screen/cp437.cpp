#include "screen/cp437.h"

#include <algorithm>
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

struct BestFit {
  char16_t codePoint;
  std::uint8_t code;
};

// What Windows puts in code page 437 for the characters of Windows-1252 that it lacks (WideCharToMultiByte
// with its best fit), by code point.
constexpr BestFit bestFits[] = {
    {0x00A4, 0x0F}, {0x00A6, 0xDD}, {0x00A8, '"'}, {0x00A9, 'c'},  {0x00AD, '-'},  {0x00AE, 'r'}, {0x00AF, '_'},
    {0x00B3, '3'},  {0x00B4, '\''}, {0x00B8, ','}, {0x00B9, '1'},  {0x00BE, '_'},  {0x00C0, 'A'}, {0x00C1, 'A'},
    {0x00C2, 'A'},  {0x00C3, 'A'},  {0x00C8, 'E'}, {0x00CA, 'E'},  {0x00CB, 'E'},  {0x00CC, 'I'}, {0x00CD, 'I'},
    {0x00CE, 'I'},  {0x00CF, 'I'},  {0x00D0, 'D'}, {0x00D2, 'O'},  {0x00D3, 'O'},  {0x00D4, 'O'}, {0x00D5, 'O'},
    {0x00D7, 'x'},  {0x00D8, 'O'},  {0x00D9, 'U'}, {0x00DA, 'U'},  {0x00DB, 'U'},  {0x00DD, 'Y'}, {0x00DE, '_'},
    {0x00E3, 'a'},  {0x00F0, 'd'},  {0x00F5, 'o'}, {0x00F8, 'o'},  {0x00FD, 'y'},  {0x00FE, '_'}, {0x0152, 'O'},
    {0x0153, 'o'},  {0x0160, 'S'},  {0x0161, 's'}, {0x0178, 'Y'},  {0x017D, 'Z'},  {0x017E, 'z'}, {0x02C6, '^'},
    {0x02DC, '~'},  {0x2013, '-'},  {0x2014, '-'}, {0x2018, '`'},  {0x2019, '\''}, {0x201A, ','}, {0x201C, '"'},
    {0x201D, '"'},  {0x201E, ','},  {0x2020, '+'}, {0x2021, 0xD8}, {0x2026, '.'},  {0x2030, '%'}, {0x2039, '<'},
    {0x203A, '>'},  {0x2122, 'T'},
};

}  // namespace

std::uint8_t cp437FromTypedCharacter(char32_t codePoint) {
  if (const std::uint8_t code = cp437FromUnicode(codePoint); code != '?' || codePoint == U'?') return code;
  const auto fit = std::lower_bound(std::begin(bestFits), std::end(bestFits), codePoint,
                                    [](const BestFit& entry, char32_t wanted) { return entry.codePoint < wanted; });
  return fit != std::end(bestFits) && fit->codePoint == codePoint ? fit->code : '?';
}

std::uint8_t cp437FromAnsi(std::uint8_t character) {
  const bool inControlBlock = character >= 0x80 && character < 0xA0;
  return cp437FromTypedCharacter(inControlBlock ? ansiHighControls[character - 0x80] : char32_t{character});
}

}  // namespace quillfex
