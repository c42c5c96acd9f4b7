// One menu redraw (both gradient bands included) against one std::fill of the whole surface, in the same
// run. The program prints drawMenu's time as a multiple of the fill's and fails above 2. Each is measured
// several times and the medians compared, so that a busy machine disturbs the ratio less.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "data/data_image.h"
#include "screen/menu_screen.h"
#include "state/program_state.h"

namespace {

using namespace quillfex;

constexpr double allowedRatio = 2.0;

void fillSurface(benchmark::State& run) {
  std::vector<Pixel> surface(std::size_t{surfaceWidth} * surfaceHeight);
  Pixel colour = 0;
  for (auto _ : run) {
    std::fill(surface.begin(), surface.end(), ++colour);
    benchmark::DoNotOptimize(surface.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(fillSurface)->Repetitions(9)->ReportAggregatesOnly(true);

void drawMenuScreen(benchmark::State& run) {
  Screen screen;
  ProgramState state;
  state.optionTwoText = "  - The Windows bootmanager integrate again" + std::string(37, ' ');
  for (auto _ : run) {
    state.selectedRow = state.selectedRow == 14 ? 16 : 14;
    drawMenu(screen, state.selectedRow, state.optionTwoText, state.itemCursor, gradientStepsStore);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(drawMenuScreen)->Repetitions(9)->ReportAggregatesOnly(true);

// Keeps each benchmark's median CPU time per iteration for the ratio.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") times_ns[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times_ns;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto fill = reporter.times_ns.find("fillSurface");
  const auto menu = reporter.times_ns.find("drawMenuScreen");
  if (fill == reporter.times_ns.end() || menu == reporter.times_ns.end()) return 0;  // a filter left one out
  const double ratio = menu->second / fill->second;
  std::printf("drawMenu / fill of the surface: %.2f (allowed: %.1f)\n", ratio, allowedRatio);
  return ratio <= allowedRatio ? 0 : 1;
}
