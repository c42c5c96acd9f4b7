#pragma once
// Random sequences of what a user and a machine do to the program: elimination runs, restores, Escape, a
// fault armed for the next run, a run cut off after a command line, the user putting in a store of their
// own. After every step the promises are checked against the store as it was before the program first
// changed it.

#include <cstdint>

namespace quillfex::testing {

struct SequenceCounts {
  std::uint64_t sequences = 0;
  std::uint64_t steps = 0;
};

// Checks sequences on machines from the sample set and generated ones, with rapidcheck's parameters of the
// environment (RC_PARAMS); on a broken promise it prints the machine and the steps that break it.
bool checkSequences(SequenceCounts& counts);

}  // namespace quillfex::testing
