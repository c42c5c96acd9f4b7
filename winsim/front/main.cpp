// winsim: builds, inspects and runs programs on simulated Windows multiboot machines.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "machine/machine_file.h"
#include "machine/sandbox_builder.h"
#include "winsim/front/machine_report.h"
#include "winsim/front/run_program.h"

namespace {

const char* const usage =
    "usage: winsim make MACHINE.toml DIR     build a sandbox for a described machine\n"
    "       winsim make --default DIR        the same for the built-in sample machine\n"
    "       winsim show DIR [--json]         the machine's state now\n"
    "       winsim run DIR [--keys \"Down Enter Esc\"] [--screen headless|tty|sdl] [--snap OUT.png] "
    "[--kill-after N] -- PROGRAM [ARGS]\n";

int fail(const std::string& message) {
  std::fprintf(stderr, "winsim: %s\n", message.c_str());
  return 1;
}

int make(const std::vector<std::string>& args) {
  if (args.size() != 2) return fail(std::string("make needs a machine description and a folder\n") + usage);
  std::string text, error;
  if (args[0] == "--default") {
    text = winsim::defaultMachineText();
  } else {
    std::ifstream file(args[0], std::ios::binary);
    if (!file) return fail(args[0] + ": cannot be read");
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
  }
  const auto machine = winsim::parseMachine(text, args[0] == "--default" ? "built-in machine" : args[0], error);
  if (!machine) return fail(error);
  if (!winsim::buildSandbox(*machine, text, args[1], error)) return fail(error);
  return 0;
}

int show(const std::vector<std::string>& args) {
  const bool json = args.size() == 2 && args[1] == "--json";
  if (args.empty() || args.size() > 2 || (args.size() == 2 && !json)) return fail(std::string("bad show\n") + usage);
  std::string error;
  const auto report = winsim::readMachineReport(args[0], error);
  if (!report) return fail(error);
  const std::string text = json ? winsim::reportJson(*report) : winsim::reportText(*report);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

int run(const std::vector<std::string>& args) {
  winsim::RunOptions options;
  std::string error;
  if (!winsim::parseRunOptions(args, options, error)) return fail(error + "\n" + usage);
  const int status = winsim::runProgram(options, error);
  return status < 0 ? fail(error) : status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::fputs(usage, stderr);
    return 2;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "make") return make(rest);
  if (args[0] == "show") return show(rest);
  if (args[0] == "run") return run(rest);
  if (args[0] == "help" || args[0] == "--help") {
    std::fputs(usage, stdout);
    return 0;
  }
  std::fputs(usage, stderr);
  return 2;
}
