// The listing scan against the plainest way to read the same text line by line (std::getline over a
// string stream), both over the same in-memory capture file.

#include <benchmark/benchmark.h>

#include <sstream>

#include "fake_os.h"
#include "helper/command.h"
#include "platform/text_file.h"
#include "readers/listing.h"
#include "screen/screen.h"

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

void countEntriesScan(benchmark::State& run) {
  testing::FakeOs os;
  const std::string text = bigListing();
  os.onCommand = [&](const std::string&) { os.setFile(capturePath(os, CaptureSlot::listing), text); };
  ProgramState state;
  Screen screen;
  Context context{state, os, screen};
  for (auto _ : run) benchmark::DoNotOptimize(countEntries(context));
}
BENCHMARK(countEntriesScan);

}  // namespace
