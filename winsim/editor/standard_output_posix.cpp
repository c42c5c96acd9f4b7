#include "winsim/editor/standard_output.h"

namespace winsim {

void useBinaryStandardOutput() {}

}  // namespace winsim
