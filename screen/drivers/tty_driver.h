#pragma once
// The driver for machines without a display: the screen drawn in the terminal the program runs in.

#include <memory>

#include "screen/driver.h"

namespace quillfex {

// Nothing when standard input or output is not a terminal, so that the program's request falls through
// to the next driver.
std::unique_ptr<ScreenDriver> makeTtyDriver();

}  // namespace quillfex
