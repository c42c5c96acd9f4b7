// winsim: builds, inspects and runs programs on simulated Windows multiboot machines.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "machine/machine_file.h"
#include "machine/sandbox_builder.h"
#include "posix/code_page_text.h"
#include "screen/key_script.h"
#include "winsim/front/machine_report.h"
#include "winsim/front/run_program.h"
#include "winsim/replica/replica.h"

namespace {

namespace fs = std::filesystem;

constexpr int failed = 1;
constexpr int usageError = 2;

const char* const synopsis =
    "\nUsage lines:\n"
    "  winsim make MACHINE.toml DIR     build a sandbox for a described machine\n"
    "  winsim make --default DIR        the same for the built-in sample machine\n"
    "  winsim make --from-capture CAPTURE DIR\n"
    "                                   the same for a replica of a machine captured by quillfex-capture\n"
    "  winsim describe --from-capture CAPTURE\n"
    "                                   print the replica's description, with a comment for every gap\n"
    "  winsim show DIR [--json] [--verbose]\n"
    "                                   the machine's state now\n"
    "  winsim run DIR [--keys \"Down Enter Esc\"] [--screen headless|tty|sdl] [--snap OUT.png]\n"
    "             [--kill-after N] -- PROGRAM [ARGS]\n"
    "                                   run a program on the machine\n"
    "\n"
    "Options may come in any order, before or after DIR, and as --name=value. Everything after -- is the\n"
    "program and its arguments, handed on untouched. `winsim COMMAND --help` tells more about a command.\n"
    "\n"
    "Exit status: 0 done; 1 failed (the reason on standard error); 2 a usage error. winsim run ends with\n"
    "the program's own status instead (127 when it does not start, 128 + the signal when one ended it).\n";

struct MakeCommand {
  bool builtIn = false;
  std::string fromCapture;
  std::string description, folder;
};

struct ShowCommand {
  std::string folder;
  bool json = false;
  bool verbose = false;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "winsim: %s\n", message.c_str());
  return failed;
}

int usageFailure(const std::string& message) {
  std::fprintf(stderr, "winsim: %s\nRun `winsim --help` (or `winsim COMMAND --help`) for the usage.\n",
               message.c_str());
  return usageError;
}

// CLI11 would fill the first free positional, so `make --default DIR` arrives with the folder in the
// description's place.
bool placeMakeArguments(MakeCommand& command, std::string& error) {
  const bool otherSource = command.builtIn || !command.fromCapture.empty();
  if (otherSource && command.folder.empty()) std::swap(command.description, command.folder);
  if (command.builtIn && !command.fromCapture.empty()) {
    error = "make takes --default or --from-capture, not both";
  } else if (otherSource && !command.description.empty()) {
    error = std::string("make takes ") + (command.builtIn ? "--default" : "--from-capture") +
            " or a machine description, not both";
  } else if (command.folder.empty()) {
    error = "make needs a machine description (or --default, or --from-capture CAPTURE) and a folder";
  }
  return error.empty();
}

// A replica's description, its gaps said on standard error; nullopt when the capture folder does not read.
std::optional<std::string> describeCapture(const std::string& folder) {
  std::string error;
  const auto capture = winsim::CaptureFolder::read(folder, error);
  if (!capture) {
    fail(error);
    return std::nullopt;
  }
  const winsim::ReplicaDescription replica = winsim::describeCapture(*capture);
  for (const auto& problem : replica.problems)
    std::fprintf(stderr, "winsim: %s: %s\n", folder.c_str(), problem.c_str());
  return replica.text;
}

std::string replicaSourceName(const std::string& folder) { return "the replica of " + folder; }

int make(MakeCommand command) {
  std::string error;
  if (!placeMakeArguments(command, error)) return usageFailure(error);
  std::string text;
  if (command.builtIn) {
    text = winsim::defaultMachineText();
  } else if (!command.fromCapture.empty()) {
    const auto replica = describeCapture(command.fromCapture);
    if (!replica) return failed;
    text = *replica;
  } else {
    std::ifstream file(command.description, std::ios::binary);
    if (!file) return fail(command.description + ": cannot be read");
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
  }
  const std::string sourceName = command.builtIn                ? "built-in machine"
                                 : !command.fromCapture.empty() ? replicaSourceName(command.fromCapture)
                                                                : command.description;
  const auto machine = winsim::parseMachine(text, sourceName, error, quillfex::posix::utf8ToCodePage);
  if (!machine) return fail(error);
  if (!winsim::buildSandbox(*machine, text, command.folder, error)) return fail(error);
  return 0;
}

// The description is printed even when winsim could not build it, for a person to complete by hand.
int describe(const std::string& capture) {
  const auto replica = describeCapture(capture);
  if (!replica) return failed;
  std::fwrite(replica->data(), 1, replica->size(), stdout);
  std::string error;
  if (!winsim::parseMachine(*replica, replicaSourceName(capture), error, quillfex::posix::utf8ToCodePage)) {
    return fail(error);
  }
  return 0;
}

int show(const ShowCommand& command) {
  std::string error;
  const auto report = winsim::readMachineReport(command.folder, error);
  if (!report) return fail(error);
  const std::string text =
      command.json ? winsim::reportJson(*report)
                   : winsim::reportText(*report, command.verbose ? winsim::Detail::verbose : winsim::Detail::brief);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

int run(winsim::RunOptions options) {
  if (options.program.empty()) return usageFailure("run: no program to run: give it after --");
  if (!options.snapshot.empty()) options.snapshot = fs::absolute(options.snapshot);
  std::string error;
  const int status = winsim::runProgram(options, error);
  return status < 0 ? fail(error) : status;
}

// Digits only: a count such as "0x10" or "+5" that a number parser would take is a mistake here.
std::string checkCommandCount(std::string& count) {
  const bool digits = !count.empty() && count.size() <= 6 && count.find_first_not_of("0123456789") == std::string::npos;
  return digits && std::stoi(count) > 0 ? "" : "needs a count of command lines from 1";
}

std::string checkScreen(std::string& screen) {
  return screen == "headless" || screen == "tty" || screen == "sdl" ? "" : "must be headless, tty or sdl";
}

std::string checkKeyScript(std::string& keys) {
  std::string error;
  return quillfex::parseKeyScript(keys, error) ? "" : error;
}

void addMake(CLI::App& app, MakeCommand& command) {
  CLI::App* make = app.add_subcommand("make", "build a sandbox folder for a described machine");
  make->add_flag("--default", command.builtIn, "the built-in sample machine instead of MACHINE.toml");
  make->add_option("--from-capture", command.fromCapture,
                   "a replica of the machine captured in CAPTURE (quillfex-capture's folder) instead of MACHINE.toml")
      ->type_name("CAPTURE");
  make->add_option("MACHINE.toml", command.description, "the machine description (TOML)")->type_name("");
  make->add_option("DIR", command.folder, "the sandbox folder to build: new or empty")->type_name("");
  make->footer("Give MACHINE.toml DIR, --default DIR or --from-capture CAPTURE DIR.");
}

void addShow(CLI::App& app, ShowCommand& command) {
  CLI::App* show = app.add_subcommand(
      "show", "the machine's state now: its disks, what each drive's store boots, the command lines run");
  show->add_option("DIR", command.folder, "the sandbox folder")->type_name("")->required();
  show->add_flag("--json", command.json, "everything, transcript included, as JSON for tests and tools");
  show->add_flag("--verbose", command.verbose, "also each drive's \\Boot files and every command line run");
}

void addDescribe(CLI::App& app, std::string& capture) {
  CLI::App* describe = app.add_subcommand(
      "describe", "print the machine description of a replica, with a # comment for everything not captured");
  describe->add_option("--from-capture", capture, "the folder quillfex-capture wrote")
      ->type_name("CAPTURE")
      ->required();
  describe->footer(
      "What the capture's files did not tell is also said on standard error; the status is 1 when "
      "the description does not make a machine.");
}

void addRun(CLI::App& app, winsim::RunOptions& options) {
  CLI::App* run = app.add_subcommand("run", "run a program on the sandbox's machine, as the user would start it");
  run->add_option("DIR", options.sandbox, "the sandbox folder")->type_name("")->required();
  run->add_option("--keys", options.keys, "a key script for the program's screen, such as \"Down Enter Esc\"")
      ->type_name("KEYS")
      ->check(CLI::Validator(checkKeyScript, ""));
  run->add_option("--screen", options.screen, "the screen the program uses")
      ->type_name("headless|tty|sdl")
      ->check(CLI::Validator(checkScreen, ""));
  run->add_option("--snap", options.snapshot, "a PNG of the screen as the program ends")->type_name("OUT.png");
  run->add_option("--kill-after", options.killAfter,
                  "end the program right after its N-th command line, as a power loss would")
      ->type_name("N")
      ->check(CLI::Validator(checkCommandCount, ""));
  run->footer("After --: PROGRAM and its arguments, handed on untouched. The run ends with the program's status.");
}

// The help of winsim itself; app.help() would hand over to the command that was parsed, `help` too.
void printOverview(const CLI::App& app, std::FILE* to) {
  std::fputs(app.get_formatter()->make_help(&app, "winsim", CLI::AppFormatMode::Normal).c_str(), to);
}

bool isCommandName(const CLI::App& app, const std::string& name) {
  const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
  return std::any_of(commands.begin(), commands.end(),
                     [&](const CLI::App* command) { return command->get_name() == name; });
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  // CLI11 never sees what follows --, so the program's arguments cannot be taken for winsim's own.
  const auto mark = std::find(args.begin(), args.end(), "--");
  std::vector<std::string> own(args.begin(), mark);
  winsim::RunOptions runOptions;
  if (mark != args.end()) runOptions.program.assign(mark + 1, args.end());

  CLI::App app("winsim: builds, inspects and runs programs on simulated Windows multiboot machines.", "winsim");
  app.get_formatter()->label("SUBCOMMAND", "COMMAND");
  app.set_version_flag("--version", "winsim " WINSIM_VERSION, "print the version and end");
  app.require_subcommand(1);
  MakeCommand makeCommand;
  ShowCommand showCommand;
  std::string describedCapture;
  addMake(app, makeCommand);
  addDescribe(app, describedCapture);
  addShow(app, showCommand);
  addRun(app, runOptions);
  CLI::App* help = app.add_subcommand("help", "the same as --help");
  for (CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) command->group("Commands");
  app.footer(synopsis);  // after the commands, which would inherit it

  if (args.empty()) {
    printOverview(app, stderr);
    return usageError;
  }
  if (!own.empty() && own[0].rfind('-', 0) != 0 && !isCommandName(app, own[0])) {
    return usageFailure("unknown command " + own[0]);
  }
  try {
    std::reverse(own.begin(), own.end());  // CLI11 takes the arguments from the back
    app.parse(own);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return 0;
  } catch (const CLI::CallForVersion& version) {
    std::printf("%s\n", version.what());
    return 0;
  } catch (const CLI::ParseError& error) {
    return usageFailure(error.what());
  }
  if (help->parsed()) {
    printOverview(app, stdout);
    return 0;
  }
  if (app.got_subcommand("run")) return run(runOptions);
  if (mark != args.end()) return usageFailure("only winsim run takes -- and a program");
  if (app.got_subcommand("make")) return make(makeCommand);
  if (app.got_subcommand("describe")) return describe(describedCapture);
  return show(showCommand);
}
