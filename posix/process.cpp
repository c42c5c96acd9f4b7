#include "posix/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace quillfex::posix {

namespace {

std::vector<char*> pointersTo(const std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (const std::string& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

ProcessEnd endOf(int status) {
  if (WIFSIGNALED(status)) return ProcessEnd{0, WTERMSIG(status)};
  return ProcessEnd{WEXITSTATUS(status), 0};
}

// The file actions and attributes of one start, released however the start ends. The init calls' results
// are kept: what did not initialise is not destroyed, and the start fails naming it.
class SpawnSetting {
 public:
  SpawnSetting()
      : actionsMade(posix_spawn_file_actions_init(&actions)), attributesMade(posix_spawnattr_init(&attributes)) {}
  ~SpawnSetting() {
    if (attributesMade == 0) posix_spawnattr_destroy(&attributes);
    if (actionsMade == 0) posix_spawn_file_actions_destroy(&actions);
  }
  SpawnSetting(const SpawnSetting&) = delete;
  SpawnSetting& operator=(const SpawnSetting&) = delete;

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  const int actionsMade;     // posix_spawn_file_actions_init's result
  const int attributesMade;  // posix_spawnattr_init's
};

// The posix_spawn calls return their error instead of setting errno; the first that failed is the start's
// failure, named with the program it was for.
class SpawnCalls {
 public:
  explicit SpawnCalls(const std::string& program) : program_(program) {}

  void check(int result, const char* call) {
    if (result != 0 && !failure) failure = SystemFailure{std::string(call) + " " + program_, result};
  }

  std::optional<SystemFailure> failure;

 private:
  const std::string& program_;
};

}  // namespace

std::vector<std::string> currentEnvironment() {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  return environment;
}

std::vector<std::string> withVariables(std::vector<std::string> environment,
                                       const std::vector<std::pair<std::string, std::string>>& variables) {
  for (const auto& [name, value] : variables) {
    const std::string prefix = name + '=';
    std::erase_if(environment, [&](const std::string& entry) { return entry.starts_with(prefix); });
    environment.push_back(prefix + value);
  }
  return environment;
}

namespace {

// The start's descriptors, folder and process group, as file actions and attributes.
void describeStart(const ProcessStart& start, SpawnSetting& setting, SpawnCalls& calls) {
  if (start.output >= 0) {
    calls.check(posix_spawn_file_actions_adddup2(&setting.actions, start.output, STDOUT_FILENO),
                "posix_spawn_file_actions_adddup2");
  }
  if (start.errors >= 0) {
    calls.check(posix_spawn_file_actions_adddup2(&setting.actions, start.errors, STDERR_FILENO),
                "posix_spawn_file_actions_adddup2");
  }
  if (!start.workingDirectory.empty()) {
    calls.check(posix_spawn_file_actions_addchdir_np(&setting.actions, start.workingDirectory.c_str()),
                "posix_spawn_file_actions_addchdir_np");
  }
  if (start.ownProcessGroup) {
    calls.check(posix_spawnattr_setflags(&setting.attributes, POSIX_SPAWN_SETPGROUP), "posix_spawnattr_setflags");
    calls.check(posix_spawnattr_setpgroup(&setting.attributes, 0), "posix_spawnattr_setpgroup");
  }
}

}  // namespace

Outcome<pid_t> startProcess(const ProcessStart& start) {
  const std::string& program = start.arguments.at(0);
  SpawnSetting setting;
  SpawnCalls calls(program);
  calls.check(setting.actionsMade, "posix_spawn_file_actions_init");
  calls.check(setting.attributesMade, "posix_spawnattr_init");
  if (!calls.failure) describeStart(start, setting, calls);
  if (calls.failure) return *calls.failure;
  const std::vector<char*> argv = pointersTo(start.arguments);
  const std::vector<char*> envp = pointersTo(start.environment);
  const bool searched = program.find('/') == std::string::npos;
  pid_t child = 0;
  calls.check(
      searched ? posix_spawnp(&child, program.c_str(), &setting.actions, &setting.attributes, argv.data(), envp.data())
               : posix_spawn(&child, program.c_str(), &setting.actions, &setting.attributes, argv.data(), envp.data()),
      "posix_spawn");
  if (calls.failure) return *calls.failure;
  return child;
}

Outcome<ProcessEnd> waitForProcess(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return failureOf("waitpid");
  }
  return endOf(status);
}

Outcome<std::optional<ProcessEnd>> processEnded(pid_t child) {
  int status = 0;
  pid_t ended;
  do {
    ended = ::waitpid(child, &status, WNOHANG);
  } while (ended < 0 && errno == EINTR);
  if (ended < 0) return failureOf("waitpid");
  if (ended == 0) return std::optional<ProcessEnd>();
  return std::optional<ProcessEnd>(endOf(status));
}

Outcome<ProcessEnd> runProcess(const ProcessStart& start) {
  const auto child = startProcess(start);
  if (!child) return child.failure();
  return waitForProcess(*child);
}

}  // namespace quillfex::posix
