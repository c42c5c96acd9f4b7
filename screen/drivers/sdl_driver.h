#pragma once
// The window of POSIX desktops, through SDL2: the Windows window's size, title, place, keys and close
// request. Its start fails where no display opens, so that the next driver takes over.

#include <memory>

#include "screen/driver.h"

namespace quillfex {

std::unique_ptr<ScreenDriver> makeSdlDriver();

}  // namespace quillfex
