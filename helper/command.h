#pragma once
// Running external commands and naming the capture files that receive their output.

#include <string>

#include "state/context.h"

namespace quillfex {

// Hands one command line, unchanged, to the command interpreter and returns when it has ended, with the
// interpreter's status (-1 when it could not start). Outcomes are judged by what the command leaves on disk,
// and by the status only where a failure would otherwise cost the user's boot configuration.
int runCommand(Context& context, const std::string& line);

// Runs a command line that writes capture file n, removing the file first, so that what it holds after is
// this command's output and never an earlier run's.
int runIntoCapture(Context& context, const std::string& line, int n);

// The full path of capture file n (0 to 3): the value of temp, read now, followed by "\Quillfex.00n".
std::string capturePath(Os& os, int n);

// Capture file n as a command line names it: "%temp%\Quillfex.00n", which the interpreter expands. When the
// value of temp holds a blank or another character that the interpreter splits at or acts on
// ("C:\Users\John Smith\AppData\Local\Temp"), the name is put in double quotes, else the expanded path
// would fall apart into several words.
std::string captureArgument(Os& os, int n);

}  // namespace quillfex
