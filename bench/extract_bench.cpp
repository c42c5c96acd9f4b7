// Writing out the editor from a 700 KB payload store (the size of the real one: about 300 KB of executable)
// against writing the same 700 KB to the same file with one buffered write, both through the POSIX seam into a
// throwaway sandbox on disk, in the same run. The program prints the extraction's time as a multiple of the
// write's and fails above 10. Each is measured several times and the medians compared, so that a busy machine
// disturbs the ratio less. Writing the 700 KB byte by byte at explicit positions (fseek and fputc for each)
// runs once, to show what gathering the writes saves.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "hand_made_store.h"
#include "helper/extract_helper.h"
#include "helper/payload_item.h"
#include "median_ratio.h"
#include "platform/binary_file.h"
#include "platform/posix/posix_os.h"
#include "tools/payload_encoding.h"

namespace {

using namespace quillfex;

// Plain decoding measures 4 to 8 times the write, about a millisecond, as the machine's memory is fast or slow:
// the ratio turns on how often a literal and an escape alternate in the executable. The bar catches a decoder
// or a writer that went per byte (thousands of times), not a machine's speed.
constexpr double allowedRatio = 10.0;

// As large as the editor's real store: 700 KB of item text, about 300 KB of executable.
constexpr std::size_t storeSize = 700 * 1024;

// Items with a real executable's mix of code, zeros and text: made from this benchmark's own file.
std::vector<std::string> storeItems() {
  std::ifstream in("/proc/self/exe", std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  std::vector<std::string> items;
  std::size_t characters = 0;
  for (std::string& item : encodePayload(content.str())) {
    if (characters >= storeSize) break;
    characters += item.size();
    items.push_back(std::move(item));
  }
  if (characters < storeSize) throw std::runtime_error("this executable is too small to make the store from");
  items.emplace_back(payloadTerminator);
  return items;
}

std::string storeText(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t index = 0; index + 1 < items.size(); ++index) text += items[index];
  return text;
}

struct Sandbox {
  Sandbox() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillfex-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    root = pattern;
    std::filesystem::create_directories(root / "drives" / "C" / "Boot");
  }
  ~Sandbox() { std::filesystem::remove_all(root); }
  std::filesystem::path helperFile() const { return root / "drives" / "C" / "Boot" / helperFileName; }

  std::filesystem::path root;
};

struct Fixture {
  Fixture() { os.changeDirectory("C:\\Boot"); }

  const std::vector<std::string> items = storeItems();
  const std::string text = storeText(items);
  const testing::HandMadeStore store{items};
  Sandbox sandbox;
  PosixOs os{sandbox.root.string(), ""};
};

Fixture& fixture() {
  static Fixture shared;
  return shared;
}

void oneBufferedWrite(benchmark::State& run) {
  Fixture& f = fixture();
  for (auto _ : run) {
    f.os.deleteFile(helperFileName);
    openBinaryFile(f.os, helperFileName).write(1, f.text);
  }
  run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * f.text.size()));
}
BENCHMARK(oneBufferedWrite)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void extractPayload(benchmark::State& run) {
  Fixture& f = fixture();
  for (auto _ : run) extractHelper(f.os, f.store.records());
  run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * f.text.size()));
}
BENCHMARK(extractPayload)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void byteByByteAtPositions(benchmark::State& run) {
  Fixture& f = fixture();
  const std::string path = f.sandbox.helperFile().string();
  for (auto _ : run) {
    std::FILE* file = std::fopen(path.c_str(), "w+b");
    for (std::size_t offset = 0; offset < f.text.size(); ++offset) {
      std::fseek(file, static_cast<long>(offset), SEEK_SET);
      std::fputc(static_cast<unsigned char>(f.text[offset]), file);
    }
    std::fclose(file);
  }
  run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * f.text.size()));
}
BENCHMARK(byteByByteAtPositions)->Unit(benchmark::kMicrosecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  return quillfex::bench::runComparingMedians(
      argc, argv,
      {"extractPayload", "oneBufferedWrite", "extraction / one buffered write of the same bytes", allowedRatio});
}
