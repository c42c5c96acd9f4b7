// A stand-in command interpreter: appends what it received (argument count, the line, its working folder
// and the temp variable) to the file named by ECHO_LOG, so tests can see exactly what the seam handed on.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const char* log = std::getenv("ECHO_LOG");
  if (log == nullptr) return 2;
  std::FILE* out = std::fopen(log, "ab");
  if (out == nullptr) return 2;
  char folder[4096] = "";
  if (::getcwd(folder, sizeof folder) == nullptr) folder[0] = '\0';
  const char* temp = std::getenv("temp");
  std::fprintf(out, "argc=%d\nline=%s\ncwd=%s\ntemp=%s\n", argc, argc > 1 ? argv[1] : "", folder, temp ? temp : "");
  std::fclose(out);
  std::fputs("console output\n", stdout);
  return 3;
}
