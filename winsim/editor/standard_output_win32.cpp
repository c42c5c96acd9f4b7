#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "winsim/editor/standard_output.h"

namespace winsim {

void useBinaryStandardOutput() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace winsim
