#include "sdl_xvfb.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace quillfex::testing {
namespace {

[[noreturn]] void execute(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);
  ::execvp(pointers[0], pointers.data());
  ::_exit(127);
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
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

XvfbServer::XvfbServer() {
  int toTest[2];
  if (::pipe(toTest) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::close(toTest[0]);
    std::freopen("/dev/null", "w", stderr);
    // Xvfb picks a free display itself and writes its number once it takes connections.
    execute({"Xvfb", "-displayfd", std::to_string(toTest[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
  }
  ::close(toTest[1]);
  const std::string number = readLine(toTest[0], std::chrono::seconds(15));
  ::close(toTest[0]);
  if (!number.empty()) {
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
  } else if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

XvfbServer::~XvfbServer() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  if (!endedWithin(pid_, std::chrono::seconds(5))) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  ::unsetenv("DISPLAY");
}

BackgroundProgram::BackgroundProgram(const std::vector<std::string>& argv) {
  pid_ = ::fork();
  if (pid_ == 0) {
    ::setpgid(0, 0);
    execute(argv);
  }
  if (pid_ > 0) ::setpgid(pid_, pid_);
}

BackgroundProgram::~BackgroundProgram() {
  if (pid_ <= 0 || status_) return;
  ::kill(-pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

std::optional<int> BackgroundProgram::waitForExit(std::chrono::milliseconds limit) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (!status_ && pid_ > 0) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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
