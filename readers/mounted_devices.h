#pragma once
// Which drive letters lie on which physical disk, from the registry editor's export of the MountedDevices
// key: the export is narrowed from 16-bit to 8-bit characters, and each letter's value lines give the
// first four bytes of the value, the disk signature of an MBR volume, in columns 24 to 34.

#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// The signature texts of the narrowed export's lines that name letter, in file order.
std::vector<std::string> signaturesOf(std::string_view narrowed, char letter);

// Whether letter's signature text belongs to disk (0 to 3), given each disk's signature text. An empty text
// belongs to no disk: it would otherwise equal the "" of an unreadable one. On disk 0 the system drive's
// letter never matches.
bool signatureMatches(const std::string& signature, std::span<const std::string> diskSignatures, int disk, char letter,
                      const std::string& systemDrive);

}  // namespace quillfex
