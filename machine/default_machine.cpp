#include "machine/machine.h"

namespace winsim {

// The sample machine of the demo: Windows 7 and Vista on the first disk, a second Windows 7 and a data
// partition on the second, one Windows boot manager on C: for all three.
const std::string& defaultMachineText() {
  static const std::string text =
      R"toml(name = "built-in sample: Windows 7 and Vista on disk 0, Windows 7 and data on disk 1"
system_drive = "C:"
elevated = true
header = "identifier"
temp = "C:\\Temp"

[[disk]]
signature = "12ab0cff"
[[disk.partition]]
letter = "C"
windows = "7"
bootmgr = true
[[disk.partition]]
letter = "D"
windows = "Vista"

[[disk]]
signature = "5d2e8a41"
[[disk.partition]]
letter = "E"
windows = "7"
[[disk.partition]]
letter = "F"

[[entry]]
kind = "bootmgr"
id = "{bootmgr}"
device = "partition=C:"
description = "Windows Boot Manager"

[[entry]]
kind = "loader"
id = "{current}"
device = "partition=C:"
description = "Windows 7"
path = "\\Windows\\system32\\winload.exe"

[[entry]]
kind = "loader"
id = "{6f1a8c20-5b3e-11e0-9f4d-806e6f6e6963}"
device = "partition=D:"
description = "Windows Vista"
path = "\\Windows\\system32\\winload.exe"

[[entry]]
kind = "loader"
id = "{6f1a8c21-5b3e-11e0-9f4d-806e6f6e6963}"
device = "partition=E:"
description = "Windows 7 (second disk)"
path = "\\Windows\\system32\\winload.exe"

[[entry]]
kind = "tool"
id = "{memdiag}"
device = "partition=C:"
description = "Windows Memory Diagnostic"
path = "\\boot\\memtest.exe"
)toml";
  return text;
}

}  // namespace winsim
