#pragma once
// The MBR disk signature of a sector 0, as text.

#include <cstdint>
#include <span>
#include <string>

#include "platform/os.h"

namespace quillfex {

// The signature of a sector 0 (bytes 440 to 443 in disk order) as 11 characters: four lower-case two-digit
// hexadecimal numbers joined by commas, such as "12,ab,0c,ff".
std::string diskSignatureText(std::span<const std::uint8_t, sectorSize> sector);

}  // namespace quillfex
