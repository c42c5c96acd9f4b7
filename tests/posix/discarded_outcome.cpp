// Compiled by ctest, never linked: with DROP it drops an Outcome unread, which must not compile.

#include "posix/system_failure.h"

quillfex::posix::Outcome<int> made() { return 1; }

int main() {
#ifdef DROP
  made();
  return 0;
#else
  return *made();
#endif
}
