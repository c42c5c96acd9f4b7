#pragma once
// Snapshots of the surface as PNG files: 640 x 288, 8-bit RGB, the top byte of each pixel left out as the
// window leaves it out.

#include <string>

#include "screen/surface.h"

namespace quillfex {

// Creates the file's folder when missing; false when the file cannot be written.
bool savePng(const Surface& surface, const std::string& path);

}  // namespace quillfex
