#include "sdl_xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "posix/descriptor.h"
#include "posix/process.h"

namespace quillfex::testing {
namespace {

using posix::Outcome;

Outcome<pid_t> start(std::vector<std::string> argv, int errors, bool ownGroup) {
  posix::ProcessStart start;
  start.arguments = std::move(argv);
  start.environment = posix::currentEnvironment();
  start.errors = errors;
  start.ownProcessGroup = ownGroup;
  return posix::startProcess(start);
}

// The digits of the first line that comes through fd within limit; "" when none came or it held no number.
std::string readLine(int fd, std::chrono::milliseconds limit) {
  std::string line;
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  for (char byte = 0;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - std::chrono::steady_clock::now());
    if (left.count() <= 0) return "";
    pollfd readable{fd, POLLIN, 0};
    const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return "";
    if (::read(fd, &byte, 1) != 1) return "";
    if (byte == '\n') break;
    if (byte < '0' || byte > '9') return "";
    line += byte;
  }
  return line;
}

bool endedWithin(pid_t pid, std::chrono::milliseconds limit) {
  for (const auto giveUp = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < giveUp;) {
    const auto ended = posix::processEnded(pid);
    if (!ended || *ended) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

XvfbServer::XvfbServer() {
  // Only the end Xvfb writes to is handed on: the test keeps the reading end to itself.
  int toTest[2];
  if (::pipe2(toTest, O_CLOEXEC) != 0) return;
  ::fcntl(toTest[1], F_SETFD, 0);
  const auto quiet = posix::openFile("/dev/null", O_WRONLY);
  // Xvfb picks a free display itself and writes its number once it takes connections.
  const auto server =
      start({"Xvfb", "-displayfd", std::to_string(toTest[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
            quiet ? quiet->get() : -1, false);
  ::close(toTest[1]);
  if (server) pid_ = *server;
  const std::string number = server ? readLine(toTest[0], std::chrono::seconds(15)) : "";
  ::close(toTest[0]);
  if (!number.empty()) {
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
  } else if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    (void)posix::waitForProcess(pid_);  // only reaps it: killed, it has nothing more to say
    pid_ = -1;
  }
}

XvfbServer::~XvfbServer() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  if (!endedWithin(pid_, std::chrono::seconds(5))) {
    ::kill(pid_, SIGKILL);
    (void)posix::waitForProcess(pid_);  // only reaps it
  }
  ::unsetenv("DISPLAY");
}

BackgroundProgram::BackgroundProgram(const std::vector<std::string>& argv) {
  const auto program = start(argv, -1, true);
  if (program) pid_ = *program;
}

BackgroundProgram::~BackgroundProgram() {
  if (pid_ <= 0 || status_) return;
  ::kill(-pid_, SIGKILL);
  (void)posix::waitForProcess(pid_);  // only reaps it
}

std::optional<int> BackgroundProgram::waitForExit(std::chrono::milliseconds limit) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (!status_ && pid_ > 0) {
    const auto ended = posix::processEnded(pid_);
    if (!ended) break;
    if (*ended) {
      status_ = (*ended)->status();
    } else if (std::chrono::steady_clock::now() >= giveUp) {
      break;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  return status_;
}

CommandResult runCommand(const std::vector<std::string>& argv, int limit_s) {
  std::string line = "timeout -s KILL " + std::to_string(limit_s);
  for (const std::string& arg : argv) line += " '" + arg + "'";
  CommandResult result;
  FILE* output = ::popen((line + " 2>/dev/null").c_str(), "r");
  if (!output) return result;
  char buffer[65536];
  for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, output)) > 0;)
    result.output.append(buffer, count);
  const int status = ::pclose(output);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace quillfex::testing
