#pragma once
// What both winsim fuzzers ask of a store they have read: that it is written out and read back unchanged.

#include <string>

#include "machine/boot_store.h"

namespace quillfex::fuzzing {

inline bool sameStore(const winsim::BootStore& a, const winsim::BootStore& b) {
  if (a.entries.size() != b.entries.size() || a.displayOrder != b.displayOrder) return false;
  for (std::size_t i = 0; i < a.entries.size(); ++i) {
    const winsim::BootEntry &x = a.entries[i], &y = b.entries[i];
    if (x.kind != y.kind || x.id != y.id || x.device != y.device || x.description != y.description ||
        x.path != y.path || x.fields != y.fields)
      return false;
  }
  return true;
}

inline bool readsBackUnchanged(const winsim::BootStore& store) {
  std::string error;
  const auto again = winsim::parseStore(winsim::formatStore(store), error);
  return again && sameStore(*again, store);
}

}  // namespace quillfex::fuzzing
