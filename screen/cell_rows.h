#pragma once
// The 8 pixels of every glyph byte in a pair of colours, kept for the last few pairs, so that drawing a
// cell row is a copy. The menu screen uses four pairs and redraws often.

#include <array>
#include <cstdint>

#include "screen/surface.h"

namespace quillfex {

class CellRows {
 public:
  // Makes the pair current, building its rows unless it is one of the last few pairs used.
  void select(Pixel foreground, Pixel background);

  // For each glyph byte, its 8 pixels: the foreground where bit x is set, else the background.
  using Rows = std::array<std::array<Pixel, 8>, 256>;
  const Rows& current() const { return current_->rows; }

 private:
  struct Pair {
    Pixel foreground = 0;
    Pixel background = 0;
    unsigned lastUse = 0;   // 0: never built
    alignas(64) Rows rows;  // aligned, so that no cell row straddles two cache lines
  };
  std::array<Pair, 4> pairs_;
  Pair* current_ = nullptr;
  unsigned uses_ = 0;
};

}  // namespace quillfex
