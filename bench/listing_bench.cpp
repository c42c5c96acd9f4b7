// The listing scan against the plainest way to read the same text line by line (std::getline over a
// string stream), both over the same text.

#include <benchmark/benchmark.h>

#include <sstream>

#include "readers/listing.h"

namespace {

using namespace quillfex;

std::string bigListing() {
  std::string text;
  for (int entry = 0; entry < 200; ++entry) {
    text += "Windows Boot Loader\r\n-------------------\r\n";
    text += "identifier              {" + std::to_string(entry) + "}\r\n";
    text += "device                  partition=D:\r\n";
    text += "path                    \\Windows\\system32\\winload.exe\r\n\r\n";
  }
  return text;
}

void baselineGetline(benchmark::State& run) {
  const std::string text = bigListing();
  for (auto _ : run) {
    std::istringstream in(text);
    int headers = 0;
    for (std::string line; std::getline(in, line);) headers += line.compare(0, 10, "identifier") == 0;
    benchmark::DoNotOptimize(headers);
  }
}
BENCHMARK(baselineGetline);

void entryCountScan(benchmark::State& run) {
  const std::string text = bigListing();
  for (auto _ : run) benchmark::DoNotOptimize(entryCountIn(text));
}
BENCHMARK(entryCountScan);

}  // namespace
