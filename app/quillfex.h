#pragma once

#include "state/context.h"

namespace quillfex {

// The whole program, from start-up to its ending; every path of the program returns here.
void runQuillfex(Context& context);

}  // namespace quillfex
