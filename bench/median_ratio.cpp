#include "median_ratio.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace quillfex::bench {
namespace {

// Keeps each benchmark's median CPU time per iteration.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") times_ns[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double, std::less<>> times_ns;
};

}  // namespace

int runComparingMedians(int argc, char** argv, const MedianRatio& ratio) {
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto measured = reporter.times_ns.find(ratio.measured);
  const auto baseline = reporter.times_ns.find(ratio.baseline);
  if (measured == reporter.times_ns.end() || baseline == reporter.times_ns.end()) return 0;
  const double value = measured->second / baseline->second;
  std::printf("%.*s: %.2f (allowed: %.1f)\n", static_cast<int>(ratio.label.size()), ratio.label.data(), value,
              ratio.allowed);
  return value <= ratio.allowed ? 0 : 1;
}

}  // namespace quillfex::bench
