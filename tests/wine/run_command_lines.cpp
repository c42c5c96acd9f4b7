// run_command_lines LINES OUTPUT: runs each line of the file LINES with std::system, as the Windows build
// runs its command lines, and writes each one's exit status, one a line, to OUTPUT\statuses. For the
// differential test of the command forms (command_forms.sh), under Wine, so that one process runs them all.
//
// A line that begins with ':' (a label to cmd, so never a command line) is an instruction of the test:
//   :copy FROM|TO   copies file FROM to TO, replacing it      :move FROM|TO   the same, then deletes FROM
// with %NAME% expanded in both; a name without a drive or a leading \ is a file in OUTPUT. A FROM that is
// not there does nothing.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string expanded(const std::string& text) {
  char buffer[4096];
  const DWORD size = ExpandEnvironmentStringsA(text.c_str(), buffer, sizeof buffer);
  return size > 0 && size <= sizeof buffer ? std::string(buffer) : text;
}

std::string placed(const std::string& output, const std::string& name) {
  const std::string path = expanded(name);
  const bool full = path.find(':') != std::string::npos || (!path.empty() && path[0] == '\\');
  return full ? path : output + "\\" + path;
}

// ":copy FROM|TO" or ":move FROM|TO"; false when the line is neither.
bool carryOut(const std::string& line, const std::string& output) {
  const bool move = line.rfind(":move ", 0) == 0;
  const std::size_t bar = line.find('|');
  if ((!move && line.rfind(":copy ", 0) != 0) || bar == std::string::npos) return false;
  const std::string from = placed(output, line.substr(6, bar - 6)), to = placed(output, line.substr(bar + 1));
  if (GetFileAttributesA(from.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) return false;
  return !move || DeleteFileA(from.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: run_command_lines LINES OUTPUT\n", stderr);
    return 2;
  }
  std::ifstream lines(argv[1], std::ios::binary);
  std::FILE* statuses = std::fopen((std::string(argv[2]) + "\\statuses").c_str(), "wb");
  if (!lines || statuses == nullptr) {
    std::fputs("run_command_lines: cannot read the lines or write the statuses\n", stderr);
    return 2;
  }
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == ':') {
      if (!carryOut(line, argv[2])) {
        std::fprintf(stderr, "run_command_lines: cannot carry out %s\n", line.c_str());
        return 2;
      }
      continue;
    }
    std::fprintf(statuses, "%d\n", std::system(line.c_str()));
    std::fflush(statuses);
  }
  return std::fclose(statuses) == 0 ? 0 : 2;
}
