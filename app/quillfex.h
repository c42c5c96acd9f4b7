#pragma once

#include "state/context.h"

namespace quillfex {

// The whole program, from start-up to its ending; every path returns here, and the process exits with 0.
void runQuillfex(Context& context);

}  // namespace quillfex
