#include "readers/mounted_devices.h"

#include "readers/captured_lines.h"
#include "text/text.h"

namespace quillfex {

namespace {
constexpr long signatureColumn = 24;
constexpr long signatureLength = 11;
}  // namespace

std::string narrowedExport(std::string_view exported) {
  std::string narrowed;
  narrowed.reserve((exported.size() + 1) / 2);
  for (std::size_t at = 0; at < exported.size(); at += 2) narrowed += exported[at];
  return narrowed;
}

bool namesLetter(std::string_view line, char letter) {
  std::string name = "DosDevices\\\\";
  name += letter;
  name += ':';
  return findText(line, name) > 0;
}

std::string signatureTextOf(std::string_view line) { return middlePart(line, signatureColumn, signatureLength); }

std::vector<std::string> signaturesOf(std::string_view narrowed, char letter) {
  std::vector<std::string> signatures;
  CapturedLines lines(narrowed);
  while (!lines.atEnd()) {
    const std::string line = lines.readLine();
    if (namesLetter(line, letter)) signatures.push_back(signatureTextOf(line));
  }
  return signatures;
}

bool signatureMatches(const std::string& signature, std::span<const std::string> diskSignatures, int disk, char letter,
                      const std::string& systemDrive) {
  const auto at = static_cast<std::size_t>(disk);
  if (signature.empty() || at >= diskSignatures.size() || signature != diskSignatures[at]) return false;
  if (disk != 0) return true;
  return std::string(1, letter) + ":" != systemDrive;
}

}  // namespace quillfex
