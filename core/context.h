#pragma once
// What every operation of the program works with: the program-wide state and the operating system.

#include "core/program_state.h"
#include "platform/os.h"

namespace quillfex {

struct Context {
  ProgramState& state;
  Os& os;
};

}  // namespace quillfex
