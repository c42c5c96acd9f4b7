#pragma once
// What every operation of the program works with: the program-wide state, the operating system and the
// screen.

#include "platform/os.h"
#include "state/program_state.h"

namespace quillfex {

class Screen;

struct Context {
  ProgramState& state;
  Os& os;
  Screen& screen;
};

}  // namespace quillfex
