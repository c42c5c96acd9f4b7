// The terminal driver on a real pseudo-terminal, in a child process: raw mode while the screen is open,
// keys from the terminal, a terminal too small, and the terminal as it was on every way the process ends.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>

#include "screen/drivers/tty_driver.h"
#include "screen/screen.h"

namespace quillfex {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A child whose controlling terminal, standard input and output are a new pseudo-terminal.
class PtyChild {
 public:
  template <class Body>
  PtyChild(int columns, int rows, Body body) {
    winsize size{static_cast<unsigned short>(rows), static_cast<unsigned short>(columns), 0, 0};
    if (::openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) return;
    ::tcgetattr(slave_, &atStart_);
    child_ = ::fork();
    if (child_ != 0) return;
    // A test runner started with nohup must not hand its ignored signals on.
    for (const int number : {SIGHUP, SIGINT, SIGTERM}) std::signal(number, SIG_DFL);
    ::setsid();
    ::ioctl(slave_, TIOCSCTTY, 0);
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) ::dup2(slave_, stream);
    ::_exit(body());
  }
  ~PtyChild() {
    if (child_ > 0) {
      ::kill(child_, SIGKILL);
      ::waitpid(child_, nullptr, 0);
    }
    ::close(master_);
    ::close(slave_);  // kept open till now, so that the attributes can be read after the child has gone
  }

  // Reads the child's output until all of it holds text.
  bool waitForOutput(std::string_view text) {
    for (const auto end = Clock::now() + 10s; output.find(text) == std::string::npos;) {
      if (Clock::now() > end) return false;
      readFor(20ms);
    }
    return true;
  }

  // The status as waitpid gives it, once the child has ended and its last output is read; -1 on a timeout.
  int waitForEnd() {
    for (const auto end = Clock::now() + 10s; Clock::now() < end; readFor(20ms)) {
      int status = 0;
      if (::waitpid(child_, &status, WNOHANG) != child_) continue;
      child_ = -1;
      while (readFor(50ms)) {
      }
      return status;
    }
    return -1;
  }

  void type(std::string_view bytes) { EXPECT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
  void resize(int columns, int rows) {
    winsize size{static_cast<unsigned short>(rows), static_cast<unsigned short>(columns), 0, 0};
    ::ioctl(master_, TIOCSWINSZ, &size);
  }
  void signal(int number) { ::kill(child_, number); }
  termios attributes() const {
    termios now{};
    ::tcgetattr(slave_, &now);
    return now;
  }
  const termios& attributesAtStart() const { return atStart_; }

  std::string output;  // all the child has written, as far as read

 private:
  bool readFor(std::chrono::milliseconds wait) {
    pollfd input{master_, POLLIN, 0};
    char buffer[4096];
    const ssize_t count =
        ::poll(&input, 1, static_cast<int>(wait.count())) > 0 ? ::read(master_, buffer, sizeof buffer) : 0;
    if (count > 0) output.append(buffer, static_cast<std::size_t>(count));
    return count > 0;
  }

  int master_ = -1, slave_ = -1;
  pid_t child_ = -1;
  termios atStart_{};
};

enum class Ending { returnFromMain, exitCall };

// The program in short: opens the screen, prints, waits for a key and ends with the key's first character.
int programWaitingForAKey(Ending ending) {
  Screen screen;
  if (screen.openScreenWith(makeTtyDriver()) != 0) return 100;
  screen.setTextGrid(80, 18);
  screen.printText("ready", LineEnd::no);
  screen.waitKey();
  const std::string key = screen.pollKey();
  const int status = key.empty() ? 101 : static_cast<unsigned char>(key[0]);
  if (ending == Ending::exitCall) std::exit(status);  // the screen closes in the exit handlers
  return status;                                      // the screen closes as it goes out of scope
}

bool sameAttributes(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
         a.c_cc[VMIN] == b.c_cc[VMIN] && a.c_cc[VTIME] == b.c_cc[VTIME];
}

TEST(TtyRestoreTest, EveryEndingPutsTheTerminalBack) {
  struct Case {
    const char* name;
    int signal;  // 0: the key q ends the program
    Ending ending = Ending::returnFromMain;
  };
  const Case cases[] = {
      {"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}, {"return", 0}, {"exit", 0, Ending::exitCall},
  };
  for (const Case& c : cases) {
    PtyChild child(100, 30, [&] { return programWaitingForAKey(c.ending); });
    ASSERT_TRUE(child.waitForOutput("ready")) << c.name << ": " << child.output;
    EXPECT_EQ(child.attributes().c_lflag & (ICANON | ECHO | ISIG), 0u) << c.name << ": raw while open";
    if (c.signal != 0) {
      child.signal(c.signal);
    } else {
      child.type("q");
    }
    const int status = child.waitForEnd();
    if (c.signal != 0) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << c.name << ": status " << status;
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 'q') << c.name << ": status " << status;
    }
    EXPECT_TRUE(sameAttributes(child.attributes(), child.attributesAtStart())) << c.name;
    const std::string afterDrawing = child.output.substr(child.output.rfind("ready"));
    EXPECT_NE(afterDrawing.find("\x1B[?1049l"), std::string::npos) << c.name << ": the main screen is back";
    EXPECT_NE(afterDrawing.find("\x1B[?25h"), std::string::npos) << c.name << ": the cursor shows";
  }
}

TEST(TtyRestoreTest, CtrlCIsAKeyNotASignal) {
  PtyChild child(100, 30, [] { return programWaitingForAKey(Ending::returnFromMain); });
  ASSERT_TRUE(child.waitForOutput("ready")) << child.output;
  child.type("\x03");
  const int status = child.waitForEnd();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << "status " << status;
}

TEST(TtyRestoreTest, ASmallTerminalAsksToGrowAndShowsTheScreenOnceItHas) {
  PtyChild child(60, 10, [] { return programWaitingForAKey(Ending::returnFromMain); });
  ASSERT_TRUE(child.waitForOutput("terminal to 80 x 18")) << child.output;
  EXPECT_TRUE(child.waitForOutput("(it is 60 x 10).")) << child.output;
  child.resize(100, 30);
  EXPECT_TRUE(child.waitForOutput("ready")) << child.output;
  child.type("\x1B[B");
  const int status = child.waitForEnd();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0xFF) << "Down's first character; status " << status;
}

}  // namespace
}  // namespace quillfex
