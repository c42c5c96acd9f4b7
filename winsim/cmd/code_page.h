#pragma once
// Text as it leaves the simulated machine. Host names are UTF-8; the console writes its 8-bit code page
// (437, as on a US Windows) and regedit writes UTF-16LE.

#include <string>
#include <string_view>

namespace winsim {

// Characters that code page 437 lacks become '?', as the console shows them.
std::string toConsoleCodePage(std::string_view utf8);

// Little-endian UTF-16, without a byte-order mark.
std::string toUtf16Le(std::string_view utf8);

}  // namespace winsim
