#pragma once
// The Windows display driver "GDI": the screen's own window, run by the screen's refresh thread.

#include <memory>

#include "screen/driver.h"

namespace quillfex {

std::unique_ptr<ScreenDriver> makeGdiDriver();

}  // namespace quillfex
