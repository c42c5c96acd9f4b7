#include "generated_machine.h"

#include <cstdio>

#include "sample_machines.h"

namespace quillfex::testing {

namespace {

std::string hex(unsigned value, int digits) {
  char text[17];
  std::snprintf(text, sizeof text, "%0*x", digits, value);
  return text;
}

std::string guid(unsigned serial) { return "{" + hex(serial, 8) + "-4a5b-11e0-8c7d-806e6f6e6963}"; }

std::string entry(const std::string& kind, const std::string& id, char letter, const std::string& description,
                  const std::string& path) {
  return "[[entry]]\nkind = \"" + kind + "\"\nid = \"" + id + "\"\ndevice = \"partition=" + letter +
         ":\"\ndescription = \"" + description + "\"\npath = \"" + path + "\"\n";
}

const std::string winload = "\\\\Windows\\\\system32\\\\winload.exe";

struct Part {
  int disk = 0;
  std::string windows;  // "" for a data partition
  bool bootManager = false;
};

std::string describe(const std::vector<unsigned>& signatures, const std::vector<Part>& parts, bool xpEntry,
                     bool secondLoader, bool idHeader) {
  std::string text = "name = \"generated\"\n";
  if (idHeader) text += "header = \"id\"\n";
  std::vector<std::string> partitions(signatures.size());
  std::string entries = entry("bootmgr", "{bootmgr}", 'C', "Windows Boot Manager", "");
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const char letter = static_cast<char>('C' + i);
    const Part& part = parts[i];
    std::string& into = partitions[static_cast<std::size_t>(part.disk)];
    into += "[[disk.partition]]\nletter = \"" + std::string(1, letter) + "\"\nwindows = \"" + part.windows + "\"\n";
    if (part.bootManager) into += "bootmgr = true\n";
    if (part.windows.empty() || part.windows == "XP") continue;
    const std::string name = "Windows " + part.windows + " (" + letter + ":)";
    entries +=
        entry("loader", i == 0 ? "{current}" : guid(0x0c1d0000u + static_cast<unsigned>(i)), letter, name, winload);
    if (i == 0 && secondLoader) entries += entry("loader", guid(0x5afe0000u), 'C', name + " safe mode", winload);
  }
  if (xpEntry) entries += entry("legacy", "{ntldr}", 'C', "Earlier Version of Windows", "\\\\ntldr");
  for (std::size_t disk = 0; disk < signatures.size(); ++disk) {
    text += "\n[[disk]]\nsignature = \"" + hex(signatures[disk], 8) + "\"\n" + partitions[disk];
  }
  return text + "\n" + entries;
}

rc::Gen<GeneratedMachine> genGeneratedMachine() {
  return rc::gen::exec([] {
    const int disks = *rc::gen::inRange(1, 5);
    const int windows = *rc::gen::inRange(1, 7);
    const std::string systemWindows = *rc::gen::element<std::string>("7", "Vista", "XP");
    std::vector<Part> parts{{0, systemWindows, true}};
    for (int i = 1; i < windows; ++i) {
      if (*rc::gen::inRange(0, 5) == 0) parts.push_back({*rc::gen::inRange(0, disks), "", false});  // data
      if (parts.size() == 24) break;
      parts.push_back(
          {*rc::gen::inRange(0, disks), *rc::gen::element<std::string>("7", "Vista"), *rc::gen::inRange(0, 6) == 0});
    }
    std::vector<unsigned> signatures;
    for (int disk = 0; disk < disks; ++disk) {
      const bool cloned = disk > 0 && *rc::gen::inRange(0, 5) == 0;
      signatures.push_back(cloned ? signatures[0]
                                  : 0x10000000u + static_cast<unsigned>(disk) * 0x01010101u +
                                        *rc::gen::inRange(0u, 0x100u));
    }
    const bool xpEntry = systemWindows == "XP" || *rc::gen::inRange(0, 4) == 0;
    const bool secondLoader = systemWindows != "XP" && *rc::gen::inRange(0, 3) == 0;
    return GeneratedMachine{describe(signatures, parts, xpEntry, secondLoader, *rc::gen::inRange(0, 4) == 0)};
  });
}

}  // namespace

rc::Gen<GeneratedMachine> genMachine() {
  std::vector<GeneratedMachine> samples;
  for (const auto& name : sampleMachineNames()) samples.push_back({sampleMachine(name)});
  return rc::gen::weightedOneOf<GeneratedMachine>({{1, rc::gen::elementOf(samples)}, {2, genGeneratedMachine()}});
}

void showValue(const GeneratedMachine& machine, std::ostream& os) {
  os << "\n--- machine.toml ---\n" << machine.description << "--- end of machine.toml ---\n";
}

}  // namespace quillfex::testing
