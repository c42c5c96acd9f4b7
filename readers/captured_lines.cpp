#include "readers/captured_lines.h"

#include "helper/command.h"
#include "platform/whole_file.h"

namespace quillfex {

std::string readCapture(Os& os, int n) { return readWholeFile(os, capturePath(os, n)).value_or(""); }

}  // namespace quillfex
