#include "screen/drivers/tty_terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace quillfex {
namespace {

constexpr std::array<int, 9> endingSignals = {SIGHUP,  SIGINT, SIGQUIT, SIGTERM, SIGABRT,
                                              SIGSEGV, SIGBUS, SIGFPE,  SIGILL};

// Alternate screen (saving the cursor), cursor hidden, no wrap, cleared in the terminal's own colours.
constexpr std::string_view takeOverSequence = "\x1B[?1049h\x1B[?25l\x1B[?7l\x1B[0m\x1B[2J";
constexpr std::string_view restoreSequence = "\x1B[0m\x1B[?7h\x1B[?25h\x1B[?1049l";
// CAN ends an escape sequence that a write broken off by the signal left open.
constexpr std::string_view cancelSequence = "\x18";

// Global, as the signal handlers need it; only lock-free atomics and plain data that is set before the
// handlers are installed.
struct TakenOver {
  std::atomic<bool> active{false};
  std::atomic<bool> resized{false};
  termios saved{};
  std::array<struct sigaction, endingSignals.size()> previous{};
  std::array<bool, endingSignals.size()> handled{};
  struct sigaction previousResize {};
};
TakenOver taken;
static_assert(std::atomic<bool>::is_always_lock_free);

// Async-signal-safe.
std::optional<TerminalFailure> writeAll(std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(STDOUT_FILENO, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return TerminalFailure{"write", errno};
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return std::nullopt;
}

// Async-signal-safe.
std::optional<TerminalFailure> setAttributes(const termios& attributes, int when) {
  while (::tcsetattr(STDIN_FILENO, when, &attributes) != 0) {
    if (errno != EINTR) return TerminalFailure{"tcsetattr", errno};
  }
  return std::nullopt;
}

termios rawAttributes(termios attributes) {
  attributes.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INLCR | IGNCR | ISTRIP | IXON | INPCK | PARMRK);
  attributes.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  attributes.c_cflag = (attributes.c_cflag & ~static_cast<tcflag_t>(CSIZE | PARENB)) | CS8;
  attributes.c_cc[VMIN] = 1;
  attributes.c_cc[VTIME] = 0;
  return attributes;
}

void restoreOnSignal(int signal) {
  const int savedErrno = errno;
  if (taken.active.exchange(false)) {
    writeAll(cancelSequence);
    writeAll(restoreSequence);
    setAttributes(taken.saved, TCSANOW);
  }
  for (std::size_t at = 0; at < endingSignals.size(); ++at) {
    if (endingSignals[at] == signal) ::sigaction(signal, &taken.previous[at], nullptr);
  }
  // Blocked while this handler runs, the signal then meets its earlier handling: mostly the process's end.
  ::raise(signal);
  errno = savedErrno;
}

void noteResize(int) { taken.resized = true; }

void installHandlers() {
  struct sigaction ending {};
  ending.sa_handler = restoreOnSignal;
  sigemptyset(&ending.sa_mask);
  for (const int signal : endingSignals) sigaddset(&ending.sa_mask, signal);
  for (std::size_t at = 0; at < endingSignals.size(); ++at) {
    ::sigaction(endingSignals[at], nullptr, &taken.previous[at]);
    // A signal ignored before (nohup) stays ignored.
    taken.handled[at] = taken.previous[at].sa_handler != SIG_IGN;
    if (taken.handled[at]) ::sigaction(endingSignals[at], &ending, nullptr);
  }
  struct sigaction resize {};
  resize.sa_handler = noteResize;
  resize.sa_flags = SA_RESTART;  // the program's own calls go on undisturbed
  sigemptyset(&resize.sa_mask);
  ::sigaction(SIGWINCH, &resize, &taken.previousResize);
}

void removeHandlers() {
  for (std::size_t at = 0; at < endingSignals.size(); ++at) {
    if (taken.handled[at]) ::sigaction(endingSignals[at], &taken.previous[at], nullptr);
  }
  ::sigaction(SIGWINCH, &taken.previousResize, nullptr);
}

}  // namespace

bool standardStreamsAreTerminals() { return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1; }

std::optional<TerminalFailure> takeOverTerminal() {
  if (taken.active) return std::nullopt;
  if (!standardStreamsAreTerminals()) return TerminalFailure{"isatty", ENOTTY};
  if (::tcgetattr(STDIN_FILENO, &taken.saved) != 0) return TerminalFailure{"tcgetattr", errno};
  installHandlers();
  taken.active = true;
  auto failure = setAttributes(rawAttributes(taken.saved), TCSANOW);
  if (!failure) failure = writeAll(takeOverSequence);
  if (failure) restoreTerminal();
  return failure;
}

void restoreTerminal() {
  if (!taken.active.exchange(false)) return;
  writeAll(restoreSequence);
  setAttributes(taken.saved, TCSADRAIN);
  removeHandlers();
}

TerminalSize terminalSize() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return {0, 0};
  return {size.ws_col, size.ws_row};
}

bool terminalResized() { return taken.resized.exchange(false); }

std::optional<TerminalFailure> writeToTerminal(std::string_view text) {
  if (!taken.active) return std::nullopt;
  return writeAll(text);
}

bool readReadyInput(std::string& into) {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  for (;;) {
    const int ready = ::poll(&input, 1, 0);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return ready == 0;
    char buffer[1024];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return errno == EAGAIN;
    if (count == 0) return false;
    into.append(buffer, static_cast<std::size_t>(count));
  }
}

}  // namespace quillfex
