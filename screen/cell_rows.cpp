#include "screen/cell_rows.h"

#include <algorithm>

namespace quillfex {

void CellRows::select(Pixel foreground, Pixel background) {
  ++uses_;
  const auto same = [&](const Pair& pair) {
    return pair.lastUse != 0 && pair.foreground == foreground && pair.background == background;
  };
  auto found = std::find_if(pairs_.begin(), pairs_.end(), same);
  if (found == pairs_.end()) {
    found = std::min_element(pairs_.begin(), pairs_.end(),
                             [](const Pair& a, const Pair& b) { return a.lastUse < b.lastUse; });
    found->foreground = foreground;
    found->background = background;
    for (int bits = 0; bits < 256; ++bits) {
      for (int x = 0; x < 8; ++x) found->rows[bits][x] = ((bits >> x) & 1) ? foreground : background;
    }
  }
  found->lastUse = uses_;
  current_ = &*found;
}

}  // namespace quillfex
