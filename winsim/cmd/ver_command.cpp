// ver: the version line of the Windows that runs, the one on the system drive.

#include "winsim/cmd/commands.h"

namespace winsim {

namespace {

// As each Windows with its last service pack prints it.
const char* versionLine(const std::string& windows) {
  if (windows == "XP") return "Microsoft Windows XP [Version 5.1.2600]";
  if (windows == "Vista") return "Microsoft Windows [Version 6.0.6002]";
  return "Microsoft Windows [Version 6.1.7601]";
}

// winsim's editor is Windows 7's, so a system drive that names no Windows runs 7.
std::string systemDriveWindows(const Machine& machine) {
  for (const Disk& disk : machine.disks) {
    for (const Partition& partition : disk.partitions) {
      if (partition.letter == machine.systemDrive[0]) return partition.windows;
    }
  }
  return "";
}

}  // namespace

int verCommand(Shell& shell, const std::vector<std::string>& words) {
  if (!words.empty()) {
    shell.console().error("The syntax of the command is incorrect.");
    return 1;
  }
  const Machine* machine = shell.machine();
  if (!machine) return 1;
  shell.console().print("");
  shell.console().print(versionLine(systemDriveWindows(*machine)));
  return 0;
}

}  // namespace winsim
