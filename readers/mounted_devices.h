#pragma once
// Which drive letters lie on which physical disk, from the registry editor's export of the MountedDevices
// key: the export is narrowed from 16-bit to 8-bit characters, and each letter's value lines give the
// first four bytes of the value, the disk signature of an MBR volume, in columns 24 to 34.

#include <functional>
#include <string>

#include "platform/text_file.h"
#include "state/context.h"

namespace quillfex {

// Runs the export into capture file 1 and narrows it into capture file 2: the bytes at even offsets, the
// last byte of an odd-length export too. Capture file 2 is emptied first, so nothing of an earlier run
// can stand behind the new content.
void exportMountedDevices(Context& context);

// Reads the already open narrowed export from its first line, and for every line that holds
// "DosDevices\\X:" for the letter of letterCode calls onSignature with the line's characters 24 to 34 (fewer
// when the line is shorter) before it reads on.
void scanLetter(Context& context, TextFile& narrowed,
                const std::function<void(const std::string& signature)>& onSignature);

// Whether a line's signature text belongs to disk (0 to 3). An empty text belongs to no disk: it would
// otherwise equal the "" of an unreadable one. On disk 0 the system drive's letter never matches.
bool signatureMatches(const ProgramState& state, const std::string& signature, int disk);

}  // namespace quillfex
