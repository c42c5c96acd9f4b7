#include "machine_steps.h"

#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "e2e/program_run.h"
#include "e2e/promises.h"
#include "generated_machine.h"
#include "machine/machine.h"
#include "machine/sandbox_builder.h"
#include "machine/sandbox_layout.h"

namespace quillfex::testing {

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t messageColour = 0xD827BC;

SequenceCounts* counted = nullptr;

struct Model {
  std::string description;
  winsim::Machine machine;
  winsim::BootStore original;  // the store before the program first changed it
  std::string armedFault;      // a [[fault]] table for the next run; "" for none
};

struct Sut {
  SimulatedMachine machine;
};

using Step = rc::state::Command<Model, Sut>;

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

winsim::MachineReport readMachine(const Sut& sut) {
  std::string error;
  const auto report = sut.machine.read(error);
  if (!report) RC_FAIL("the machine cannot be read: " + error);
  return *report;
}

bool showsOnRow15(const Sut& sut, int column, const std::string& text) {
  return sut.machine.shows(15, column, text, messageColour);
}

// A fault that writes garbage where the editor should write a store, and reports success.
bool armedGarbage(const Model& model, const std::string& command) {
  return model.armedFault.find("\"" + command + "\"\neffect = \"garbage\"") != std::string::npos;
}

// The run ended saying that the editor left the store other than what org.bcd holds.
bool saidNotBack(const Model& model, const Sut& sut) {
  const std::string notBack = " stopped. org.bcd holds the full configuration.";
  return showsOnRow15(sut, 3, "Importing org.bcd failed," + notBack) ||
         showsOnRow15(sut, 3, "Importing lid.bcd failed," + notBack) ||
         showsOnRow15(sut, 3, model.machine.systemDrive + " could not be trimmed," + notBack) ||
         showsOnRow15(sut, 1, "  org.bcd was imported, but the store does not list what org.bcd saved.") ||
         showsOnRow15(sut, 1,
                      "  org.bcd's import failed and damaged the store: import " + model.machine.systemDrive +
                          "\\Boot\\org.bcd by hand.");
}

// What the last screen says must be true of the machine now.
void checkMessages(const Model& model, const Sut& sut, const winsim::MachineReport& before,
                   const winsim::MachineReport& now) {
  const bool original = now.systemStore && sameStore(*now.systemStore, model.original);
  if (showsOnRow15(sut, 1, "  The Windows boot manager is now back on.")) {
    RC_ASSERT_FALSE(!original && "\"back on\" for a store that is not the original");
  }
  const bool asBeforeShown =
      showsOnRow15(sut, 3, "Importing org.bcd failed, stopped. The boot configuration is as before.") ||
      showsOnRow15(sut, 3, "Importing lid.bcd failed, stopped. The boot configuration is as before.") ||
      showsOnRow15(sut, 3,
                   model.machine.systemDrive + " could not be trimmed, stopped. The boot configuration is as before.");
  if (asBeforeShown) {
    const bool asBefore = before.systemStore && now.systemStore && sameStore(*before.systemStore, *now.systemStore);
    RC_ASSERT_FALSE(!asBefore && "\"as before\" for a store that changed");
  }
  // An export that writes garbage and reports success passes for a store on a partition that had none: the
  // program lists a copied store only where it would replace a working one, so clean runs keep their lines.
  const bool garbageExport = armedGarbage(model, "export");
  for (const auto& drive : now.drives) {
    if (garbageExport) break;
    const std::string partition = "  Partition " + std::string(1, drive.letter) + ":";
    if (showsOnRow15(sut, 1, partition + " is now bootable.")) {
      RC_ASSERT_FALSE(!madeBootable(now, drive) && "\"is now bootable\" for a partition not made bootable");
    }
    const auto earlier = std::find_if(before.drives.begin(), before.drives.end(),
                                      [&](const winsim::DriveReport& d) { return d.letter == drive.letter; });
    const bool wasBootable = earlier != before.drives.end() && madeBootable(before, *earlier);
    if (showsOnRow15(sut, 1, partition + " could not be made bootable.")) {
      RC_ASSERT_FALSE(madeBootable(now, drive) && !wasBootable &&
                      "\"could not\" for a partition this run made bootable");
    }
  }
  // Start-up's refusal names where the store puts the boot manager.
  const winsim::BootEntry* bootManager = now.systemStore ? now.systemStore->find("{bootmgr}") : nullptr;
  if (bootManager && sut.machine.shows(2, 3, "This is not the bootpartition, cancelled.", 0xFFFFFF)) {
    RC_ASSERT(sut.machine.shows(3, 3, "The boot manager is on " + bootManager->device + ",", 0xFFFFFF));
  }
}

// Runs the program with the keys, with the armed fault in the description for this run only.
void runProgram(const Model& model, Sut& sut, const std::string& keys, int killAfter) {
  const fs::path description = winsim::layout::description(sut.machine.root);
  if (!model.armedFault.empty()) writeFile(description, model.description + "\n" + model.armedFault);
  const winsim::MachineReport before = readMachine(sut);
  const int status = sut.machine.run(keys, killAfter);
  writeFile(description, model.description);
  fs::remove(sut.machine.root / "fault-counts");
  const winsim::MachineReport now = readMachine(sut);
  const bool cutOff = killAfter > 0 && status == 128 + 9;
  // An import that leaves garbage as the live store and reports success goes unseen: the runs list the
  // store after an import only where the command lines of a clean run allow it.
  const bool unseen = armedGarbage(model, "import");
  const Ending ending = cutOff                              ? Ending::cutOff
                        : saidNotBack(model, sut) || unseen ? Ending::saidNotBack
                                                            : Ending::ended;
  const auto broken =
      brokenPromises({before, now, readBackup(sut.machine.root, model.machine.systemDrive), model.original, ending});
  if (!broken.empty()) RC_FAIL(broken.front() + (broken.size() > 1 ? " (and more)" : ""));
  if (!cutOff) checkMessages(model, sut, before, now);
  ++counted->steps;
}

struct ProgramStep : Step {
  void apply(Model& model) const override { model.armedFault.clear(); }
};

struct Eliminate : ProgramStep {
  void run(const Model& model, Sut& sut) const override { runProgram(model, sut, eliminationKeys, 0); }
  void show(std::ostream& os) const override { os << "elimination run: --keys \"" << eliminationKeys << "\""; }
};

struct Restore : ProgramStep {
  void run(const Model& model, Sut& sut) const override { runProgram(model, sut, restoreKeys, 0); }
  void show(std::ostream& os) const override { os << "restore: --keys \"" << restoreKeys << "\""; }
};

struct Escape : ProgramStep {
  void run(const Model& model, Sut& sut) const override { runProgram(model, sut, "Esc", 0); }
  void show(std::ostream& os) const override { os << "Escape: --keys \"Esc\""; }
};

struct CutOff : ProgramStep {
  int killAfter = *rc::gen::inRange(1, 40);
  bool restoring = *rc::gen::inRange(0, 4) == 0;
  void run(const Model& model, Sut& sut) const override {
    runProgram(model, sut, restoring ? restoreKeys : eliminationKeys, killAfter);
  }
  void show(std::ostream& os) const override {
    os << (restoring ? "restore" : "elimination run") << " cut off: --kill-after " << killAfter;
  }
};

struct FaultKind {
  std::string command;
  std::vector<std::string> effects;
};

const std::vector<FaultKind> faultKinds = {
    {"export", {"fails", "partial", "no-op", "garbage"}},
    {"import", {"fails", "partial", "no-op", "garbage"}},
    {"delete", {"fails", "partial", "no-op", "garbage"}},
    {"listing", {"fails", "garbage"}},
    {"regedit", {"fails"}},
    {"copy", {"fails", "no-op"}},
    {"rename", {"fails", "no-op"}},
    {"disk", {"fails"}},
};

struct ArmFault : Step {
  std::string table;
  explicit ArmFault(const Model& model) {
    RC_PRE(model.armedFault.empty());
    const FaultKind& kind = *rc::gen::elementOf(faultKinds);
    table = "[[fault]]\ncommand = \"" + kind.command + "\"\neffect = \"" + *rc::gen::elementOf(kind.effects) +
            "\"\nafter = " + std::to_string(*rc::gen::inRange(0, 8)) +
            "\ntimes = " + std::to_string(*rc::gen::inRange(0, 3)) + "\n";
  }
  void apply(Model& model) const override { model.armedFault = table; }
  void run(const Model&, Sut&) const override {}
  void show(std::ostream& os) const override { os << "fault armed for the next run:\n" << table; }
};

// The user puts in a store of their own (a new Windows, a repaired store): new ids for a choice of the
// systems the original lists, always one on the system drive.
struct ReplaceStore : Step {
  winsim::BootStore store;
  explicit ReplaceStore(const Model& model) {
    const unsigned serial = *rc::gen::inRange(0u, 0xffffu);
    int kept = 0;
    for (const auto& entry : model.original.entries) {
      const bool own =
          entry.device.size() >= 2 && entry.device.substr(entry.device.size() - 2) == model.machine.systemDrive;
      if (entry.kind != winsim::EntryKind::bootManager && !own && !*rc::gen::arbitrary<bool>()) continue;
      winsim::BootEntry renamed = entry;
      if (entry.kind != winsim::EntryKind::bootManager) {
        renamed.id = "{" + std::to_string(70000000 + serial * 10 + kept++) + "-7a8b-11e0-9c0d-806e6f6e6963}";
        store.displayOrder.push_back(renamed.id);
      }
      store.entries.push_back(renamed);
    }
  }
  void apply(Model& model) const override { model.original = store; }
  void run(const Model& model, Sut& sut) const override {
    writeFile(winsim::systemStoreFile(sut.machine.root, model.machine), winsim::formatStore(store));
  }
  void show(std::ostream& os) const override {
    os << "the user puts in a store of their own:\n" << winsim::formatStore(store);
  }
};

void checkOneSequence(const GeneratedMachine& generated) {
  Sut sut;
  const std::string error = sut.machine.make(generated.description);
  RC_ASSERT(error == "");
  std::string parseError;
  const auto machine = winsim::parseMachine(generated.description, "machine.toml", parseError);
  const Model model{generated.description, *machine, machine->store, ""};
  ++counted->sequences;
  // Shrinking reruns a failing sequence many times; each run's sandbox goes, the machine is in the report.
  struct Removal {
    SimulatedMachine& machine;
    ~Removal() { machine.remove(); }
  } removal{sut.machine};
  rc::state::check(model, sut,
                   rc::state::gen::execOneOfWithArgs<Eliminate, Eliminate, Restore, Escape, CutOff, CutOff, ArmFault,
                                                     ArmFault, ReplaceStore>());
}

}  // namespace

bool checkSequences(SequenceCounts& counts) {
  counted = &counts;
  return rc::check("every promise holds after every step",
                   [](const GeneratedMachine& machine) { checkOneSequence(machine); });
}

}  // namespace quillfex::testing
