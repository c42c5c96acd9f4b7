// Build-time generator of the helper payload store: payload_store_generator EXECUTABLE OUTPUT.cpp
// Writes OUTPUT.cpp only after reading it back gives the executable byte for byte, so a faulty store fails
// the build instead of shipping an editor that does not run.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "tools/payload_encoding.h"

namespace {

using namespace quillfex;

constexpr const char* programName = "payload_store_generator";

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(content).str();
}

// Writes beside the target and renames, so that a failed run never leaves half a store behind.
bool replaceFile(const std::filesystem::path& path, const std::string& content) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  const std::filesystem::path partial = path.string() + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!(out << content) || !out.flush()) return false;
  }
  std::filesystem::rename(partial, path, error);
  return !error;
}

std::size_t firstDifference(const std::string& one, const std::string& other) {
  std::size_t at = 0;
  while (at < one.size() && at < other.size() && one[at] == other[at]) ++at;
  return at;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", programName, message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return fail("usage: payload_store_generator EXECUTABLE OUTPUT.cpp");
  const std::filesystem::path executablePath = argv[1];
  const std::filesystem::path outputPath = argv[2];

  const auto executable = readWholeFile(executablePath);
  if (!executable) return fail("cannot read " + executablePath.string() + ": " + std::strerror(errno));

  const std::string source = payloadStoreSource(encodePayload(*executable), executablePath.filename().string());
  const StoreReading reading = readStoreSource(source);
  if (!reading.fault.empty()) {
    return fail("the store written for " + executablePath.string() + " is unsound: " + reading.fault);
  }
  if (reading.bytes != *executable) {
    return fail("the store does not decode to " + executablePath.string() + ": it gives " +
                std::to_string(reading.bytes.size()) + " bytes for " + std::to_string(executable->size()) +
                ", the first difference at byte " + std::to_string(firstDifference(reading.bytes, *executable)));
  }
  if (!replaceFile(outputPath, source)) return fail("cannot write " + outputPath.string());
  return 0;
}
