// Random machines and random sequences of steps, with a fixed seed from the test's environment.

#include <gtest/gtest.h>

#include <cstdio>

#include "machine_steps.h"

namespace quillfex {
namespace {

TEST(Sequences, KeepEveryPromiseAfterEveryStep) {
  testing::SequenceCounts counts;
  EXPECT_TRUE(testing::checkSequences(counts));
  std::printf("%llu sequences, %llu steps\n", static_cast<unsigned long long>(counts.sequences),
              static_cast<unsigned long long>(counts.steps));
}

}  // namespace
}  // namespace quillfex
