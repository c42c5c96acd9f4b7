// Soaks the program in random sequences of steps on random machines, for longer than the test command can.
//
//   usage: quillfex_soak SEED COUNT
//
// COUNT sequences from SEED; when a promise breaks, prints the machine description and the steps that break
// it (shrunk), which `winsim make` and `winsim run` replay by hand. Exit status 1 then.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "machine_steps.h"

int main(int argc, char** argv) {
  char* end = nullptr;
  const unsigned long long seed = argc == 3 ? std::strtoull(argv[1], &end, 10) : 0;
  const bool seedRead = end != nullptr && *end == '\0';
  const long count = seedRead ? std::strtol(argv[2], &end, 10) : 0;
  if (!seedRead || *end != '\0' || count < 1) {
    std::fprintf(stderr, "usage: quillfex_soak SEED COUNT\n");
    return 2;
  }
  // rapidcheck reads its parameters from the environment when it first runs.
  const std::string params =
      "seed=" + std::to_string(seed) + " max_success=" + std::to_string(count) + " max_size=24 verbose_progress=1";
  ::setenv("RC_PARAMS", params.c_str(), 1);
  quillfex::testing::SequenceCounts counts;
  const bool held = quillfex::testing::checkSequences(counts);
  std::printf("%llu sequences, %llu steps: %s\n", static_cast<unsigned long long>(counts.sequences),
              static_cast<unsigned long long>(counts.steps), held ? "every promise held" : "a promise broke");
  return held ? 0 : 1;
}
