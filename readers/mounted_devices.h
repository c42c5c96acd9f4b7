#pragma once
// Which drive letters lie on which physical disk, from the registry editor's export of the MountedDevices
// key: the export is narrowed from 16-bit to 8-bit characters, and each letter's value lines give the
// first four bytes of the value, the disk signature of an MBR volume, in columns 24 to 34. The export and
// its lines are read by pure functions; the operations run the export and keep the program state as
// reading it byte by byte and line by line into lineBuffer keeps it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/context.h"

namespace quillfex {

// The bytes of an export at even offsets (0, 2, 4, ...), the last byte of an odd-length export too: the
// low bytes of its UTF-16LE characters, the byte-order mark becoming a lone 0xFF.
std::string narrowedExport(std::string_view exported);

// Whether a narrowed line names letter's value: it holds "DosDevices\\X:" (backslash doubled, as the
// export escapes it) anywhere, letter case exact.
bool namesLetter(std::string_view line, char letter);

// The signature text of a value line: its characters 24 to 34, fewer when the line is shorter, "" when it
// has fewer than 24.
std::string signatureTextOf(std::string_view line);

// A line that names the letter, and its signature text.
struct LetterLine {
  std::string line;
  std::string signature;
  bool operator==(const LetterLine&) const = default;
};

struct LetterLines {
  std::vector<LetterLine> lines;  // in file order
  // The file's last line when it does not name the letter (lineBuffer ends holding it); nullopt when it does
  // or when there are no lines, which leaves lineBuffer as the caller's last onSignature left it.
  std::optional<std::string> lastOtherLine;
};

// The lines of a narrowed export that name letter, read as scanLetter reads them.
LetterLines letterLinesIn(std::string_view narrowed, char letter);

// Runs the export into capture file 1 and narrows it into capture file 2. Capture file 2 is emptied
// first, so nothing of an earlier run can stand behind the new content; capture file 1 is created empty
// when the export wrote none. lineBuffer and entryId are left holding the export's last two bytes (entryId
// "" for an odd length), untouched for an empty export.
void exportMountedDevices(Context& context);

// Reads the narrowed export from its first line, and for every line that holds "DosDevices\\X:" for the
// letter of letterCode calls onSignature with the line's characters 24 to 34 (fewer when the line is
// shorter) before it reads on; lineBuffer holds the line meanwhile.
void scanLetter(Context& context, std::string_view narrowed,
                const std::function<void(const std::string& signature)>& onSignature);

// Whether a line's signature text belongs to disk (0 to 3). An empty text belongs to no disk: it would
// otherwise equal the "" of an unreadable one. On disk 0 the system drive's letter never matches.
bool signatureMatches(const ProgramState& state, const std::string& signature, int disk);

}  // namespace quillfex
