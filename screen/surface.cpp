#include "screen/surface.h"

#include <algorithm>

namespace quillfex {

Surface::Surface() : pixels_(std::size_t{surfaceWidth} * surfaceHeight, openingBlack) {}

void Surface::fillRows(int first, int count, Pixel value) {
  std::fill(row(first), row(first) + std::size_t(count) * surfaceWidth, value);
  markRows(first, count);
}

void Surface::moveUp(int distance) {
  std::copy(row(distance), row(surfaceHeight - 1) + surfaceWidth, row(0));
  markRows(0, surfaceHeight);
}

void Surface::markRows(int first, int count) {
  std::fill(changed_.begin() + first, changed_.begin() + first + count, true);
}

std::optional<RowRange> Surface::changedRows() const {
  const auto first = std::find(changed_.begin(), changed_.end(), true);
  if (first == changed_.end()) return std::nullopt;
  const auto last = std::find(changed_.rbegin(), changed_.rend(), true);
  return RowRange{static_cast<int>(first - changed_.begin()), static_cast<int>(changed_.rend() - last) - 1};
}

void Surface::clearChangedMarks() { changed_.fill(false); }

}  // namespace quillfex
