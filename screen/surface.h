#pragma once
// The pixels that the screen shows, with a changed mark on each pixel row. Not locked by itself: the
// screen holds its lock around every use, and a driver reads it only from inside a driver call.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillfex {

using Pixel = std::uint32_t;  // 0xAARRGGBB; the window shows the low 24 bits

inline constexpr int surfaceWidth = 640;
inline constexpr int surfaceHeight = 288;
inline constexpr Pixel openingBlack = 0xFF000000;

struct RowRange {
  int first;
  int last;  // inclusive
};

class Surface {
 public:
  Surface();  // every pixel openingBlack, no row marked

  Pixel* row(int y) { return &pixels_[static_cast<std::size_t>(y) * surfaceWidth]; }
  const Pixel* row(int y) const { return &pixels_[static_cast<std::size_t>(y) * surfaceWidth]; }

  // Paints pixel rows first to first + count - 1 over the full width, and marks them.
  void fillRows(int first, int count, Pixel value);

  // Moves pixel rows distance..end up by distance rows; the bottom distance rows keep what they held.
  void moveUp(int distance);

  void markRows(int first, int count);

  // From the first to the last marked row; nullopt when none is marked.
  std::optional<RowRange> changedRows() const;
  void clearChangedMarks();

 private:
  std::vector<Pixel> pixels_;
  std::array<bool, surfaceHeight> changed_{};
};

}  // namespace quillfex
