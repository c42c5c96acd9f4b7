#pragma once
// The terminal of standard input and output, taken over for the screen: raw input (Ctrl+C is a key, not a
// signal), the alternate screen, no cursor and no wrap at the right edge. restoreTerminal puts it back, and
// so does a handler for each signal that ends the process, which then lets the signal end it as before.

#include <optional>
#include <string>
#include <string_view>

namespace quillfex {

// A system call that failed: its name and errno.
struct TerminalFailure {
  std::string_view call;
  int error;
};

bool standardStreamsAreTerminals();

// Changes nothing when it fails. One terminal per process: a second call changes nothing either.
std::optional<TerminalFailure> takeOverTerminal();

// Puts back what takeOverTerminal changed; harmless when it changed nothing.
void restoreTerminal();

struct TerminalSize {
  int columns;
  int rows;  // both 0 when the terminal does not tell
};
TerminalSize terminalSize();

// Whether the terminal has changed its size since the last call.
bool terminalResized();

// Writes all of text while the terminal is taken over.
std::optional<TerminalFailure> writeToTerminal(std::string_view text);

// Appends what standard input holds ready, without waiting; false once it has ended (hang-up).
bool readReadyInput(std::string& into);

}  // namespace quillfex
