#pragma once
// How cmd reads a command line before anything runs: %NAME% expansion, then the output redirections, then
// the words a command receives (cmd's own rules for its internal commands, the C runtime's for programs).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace winsim {

using VariableLookup = std::function<std::optional<std::string>(std::string_view name)>;

// An environment variable looked up without regard to letter case, as Windows does.
std::optional<std::string> environmentValue(std::string_view name);

// Replaces every %NAME% whose variable is defined. An undefined one stays as written, as it does on a
// command line (a batch file would drop it).
std::string expandVariables(std::string_view line, const VariableLookup& lookup);

struct Redirection {
  std::string target;   // as written, quotes removed; "" when the line ends after the ">"
  bool append = false;  // ">>" rather than ">"
};

struct CommandText {
  std::string command;                    // the line without its redirections
  std::vector<Redirection> redirections;  // in the order cmd opens them; the last one receives the output
};

// Takes every ">" that stands outside double quotes, with the word after it, out of the line.
CommandText splitRedirections(std::string_view line);

struct FirstWord {
  std::string name;       // the command's name, quotes removed
  std::string_view rest;  // everything after it
};

// The command's name: the text up to the first blank outside double quotes.
FirstWord splitFirstWord(std::string_view command);

// Arguments as the C runtime splits a program's command line: blanks separate, double quotes group and
// are removed, backslashes are literal except before a double quote.
std::vector<std::string> runtimeWords(std::string_view text);

// Arguments as cmd splits them for its internal commands: blanks, tabs, commas, semicolons and equal signs
// separate; double quotes group and are removed.
std::vector<std::string> internalWords(std::string_view text);

using quillfex::equalIgnoringCase;

// The name a path ends in, as written: "Quillfex.001" of "C:\Temp\Quillfex.001".
std::string lastPart(std::string_view written);

}  // namespace winsim
