#pragma once
// A benchmark program that fails when one benchmark is too slow against another of the same run: each is
// measured several times and the medians compared, so that a busy machine disturbs the ratio less.

#include <string_view>

namespace quillfex::bench {

struct MedianRatio {
  std::string_view measured;  // the benchmarks' function names
  std::string_view baseline;
  std::string_view label;  // what the printed ratio is, "extraction / one buffered write"
  double allowed;
};

// Runs the benchmarks the command line selects, prints "<label>: <ratio> (allowed: <allowed>)" and returns the
// program's status: 1 above the allowed ratio, else 0 (also when a filter left one of the two out).
int runComparingMedians(int argc, char** argv, const MedianRatio& ratio);

}  // namespace quillfex::bench
