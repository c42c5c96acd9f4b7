// One menu redraw (both gradient bands included) against one std::fill of the whole surface, in the same
// run. The program prints drawMenu's time as a multiple of the fill's and fails above 2. Each is measured
// several times and the medians compared, so that a busy machine disturbs the ratio less.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/messages.h"
#include "data/data_image.h"
#include "median_ratio.h"
#include "screen/menu_screen.h"

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
  const std::string entries[] = {messages::optionOne, messages::optionTwo};
  std::size_t selected = 0;
  for (auto _ : run) {
    selected = 1 - selected;
    drawMenu(screen, entries, selected, gradientStepsStore);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(drawMenuScreen)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  return quillfex::bench::runComparingMedians(
      argc, argv, {"drawMenuScreen", "fillSurface", "drawMenu / fill of the surface", allowedRatio});
}
