// A capture folder of any files described as a replica: whatever they hold, the description reads as TOML.
// The input is cut at each "\n--\n" into the files below, in their order.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "machine/machine.h"
#include "machine/toml.h"
#include "posix/code_page_text.h"
#include "winsim/replica/replica.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const names[] = {"capture.toml", "listing.txt",   "MountedDevices.reg", "disk0.bin",
                                      "disk1.bin",    "root-C.txt",    "boot-C.txt",         "system32-C.txt",
                                      "root-D.txt",   "system32-D.txt"};
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::map<std::string, std::string> files;
  std::size_t at = 0;
  for (const char* name : names) {
    if (at > input.size()) break;
    const std::size_t end = std::min(input.find("\n--\n", at), input.size());
    files[name] = std::string(input.substr(at, end - at));
    at = end + 4;
  }
  const winsim::ReplicaDescription replica = winsim::describeCapture(winsim::CaptureFolder(files));
  try {
    winsim::parseToml(replica.text);
  } catch (const toml::parse_error&) {
    __builtin_trap();
  }
  std::string error;
  (void)winsim::parseMachine(replica.text, "replica", error, quillfex::posix::utf8ToCodePage);
  return 0;
}
