#pragma once
// What the derivation of a replica found, before it is written as a description: each value with the reason
// it holds, and the notes for each place of the description. Shared by the derivation and its writer.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "machine/machine.h"

namespace winsim::replica {

// A value and why it is what it is ("system32-C.txt names bcdboot.exe"); no value when it is not known.
template <typename T>
struct Found {
  std::optional<T> value;
  std::string why;
};

struct PartitionPlan {
  char letter = 0;
  std::uint64_t offset = 0;
  std::optional<std::uint64_t> size;  // nullopt: not known, winsim's default
  std::string origin;                 // where it comes from: "table entry 1, type 07"
  bool inTable = false;
  bool active = false;         // its table entry is marked active: the firmware starts it (on disk 0)
  bool namedByVolume = false;  // a \??\Volume{...} value lies on it
  Found<std::string> windows;
  Found<bool> bootManager;
  Found<bool> bootFolder;
  std::vector<std::string> notes;
};

struct DiskPlan {
  std::string signature;  // "12ab0cff"
  std::string origin;     // "disk0.bin", or how it is known otherwise
  bool readable = true;   // false: a fault keeps it unreadable in the replica, as it was in the capture
  std::vector<PartitionPlan> partitions;
  std::vector<std::string> notes;
};

struct EntryPlan {
  BootEntry entry;
  std::string kindWhy;
  std::vector<std::string> notes;
};

// How listing.txt words its headers' key and its titles (UTF-8, read from its code page), each with the
// line it comes from, and the known language whose words they are.
struct ListingPlan {
  int codePage = 437;
  std::string codePageWhy;
  std::optional<std::string> key;  // none: listing.txt's headers say "identifier" or "id"
  std::string keyWhy;
  std::array<std::optional<std::string>, 4> titles;  // by EntryKind; none: listing.txt shows no such entry
  std::array<std::string, 4> titleWhys;
  const ListingWords* language = nullptr;  // nullptr: the words are no known language's
  std::vector<std::string> notes;
};

struct MachinePlan {
  std::string source;          // the capture folder, as messages name it
  std::string version;         // of the capturing program; "" when not known
  std::string windowsVersion;  // ver's line when captured; "" when not known
  Found<std::string> systemDrive;
  Found<std::string> temp;
  Found<bool> elevated;
  Found<HeaderStyle> header;
  ListingPlan listing;
  std::optional<std::vector<std::string>> displayOrder;  // nullopt: winsim's, the loaders in store order
  std::vector<DiskPlan> disks;
  std::vector<EntryPlan> entries;
  std::vector<std::string> toolsNotListed;  // ids of the tools menu, which the default listing does not show
  std::vector<MountedValue> mounted;        // values the disks do not give, kept as the export holds them
  std::vector<std::string> mountedNotes;
  std::vector<std::string> notes;  // about the machine as a whole
};

// What the derivation says of each place: a note is a comment there; a problem, something the capture's files
// did not tell, is also a line for standard error.
class Findings {
 public:
  explicit Findings(std::vector<std::string>& problems) : problems_(problems) {}
  void note(std::vector<std::string>& where, const std::string& text) const { where.push_back(text); }
  void problem(std::vector<std::string>& where, const std::string& text) const;

 private:
  std::vector<std::string>& problems_;
};

// The store's entries, display order and unlisted tools from listing.txt (nullopt: the capture has none).
void readEntries(const std::optional<std::string>& listing, bool notElevated, MachinePlan& plan,
                 const Findings& findings);

// The plan as a machine description: every value with its reason, every note a # comment where it belongs.
std::string describePlan(const MachinePlan& plan);

}  // namespace winsim::replica
