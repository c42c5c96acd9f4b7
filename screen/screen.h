#pragma once
// The text screen: a 640 x 288 surface with an 80 x 18 grid of 8 x 16 cells, printing with the scroll
// held back at the bottom-right corner, colours, a key queue, and pixels. All operations are called from
// the program's one thread; one recursive lock guards the surface, its marks and the key queue against the
// driver's refresh thread.

#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>

#include "screen/cell_rows.h"
#include "screen/driver.h"
#include "screen/key_queue.h"
#include "screen/surface.h"

namespace quillfex {

enum class LineEnd { no, yes };

inline constexpr int textColumns = 80;
inline constexpr int textRows = 18;

struct TextCursor {
  int row;     // 1 to 18
  int column;  // 1 to 80
  friend bool operator==(const TextCursor&, const TextCursor&) = default;
};

class Screen {
 public:
  Screen();
  ~Screen();  // closes the screen
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // Names the driver that the next openScreen asks for; "" clears the choice.
  void selectDriver(std::string_view name);

  // Sets up surface, colours, cursor and key queue, then starts the first driver of driverOrder that
  // starts. 0 on success, 1 when no driver started or the mode is not 640 x 288 x 32.
  int openScreen(int width, int height, int bitsPerPixel);

  // openScreen with the given driver instead of one from the table.
  int openScreenWith(std::unique_ptr<ScreenDriver> driver);

  // Stops the driver. Runs by itself when the process ends; harmless when the screen is closed.
  void closeScreen();

  // The 80 x 18 grid is the only one: any call selects it and clears the screen.
  void setTextGrid(int columns, int rows);
  void clearScreen();
  void setColour(Pixel foreground, Pixel background);

  // 0 keeps a coordinate; a row outside 1 to 18 or a column outside 1 to 80 moves nothing. Always
  // cancels a held-back scroll. cursorVisible has no effect: no cursor is ever drawn.
  void locate(int row, int column, int cursorVisible = -1);

  // The text, then the line end (13, 10) as a print of its own.
  void printText(std::string_view text, LineEnd lineEnd);
  void printEmptyLine();

  // Returns once a key has been pressed since the last poll or wait; the key stays queued.
  void waitKey();

  // The oldest key: "" for none, one character, or character 255 and the extended key's code.
  std::string pollKey();

  // FFFFFFFF outside the surface.
  Pixel readPixel(int x, int y) const;
  // Ignored outside the surface.
  void writePixel(int x, int y, Pixel value);

  // Hands pixels firstX to lastX of row y, as far as they lie on the surface, to edit(std::span<Pixel>)
  // under one lock, and marks the row: readPixel and writePixel a row at a time.
  template <class Edit>
  void editPixelRow(int y, int firstX, int lastX, Edit&& edit) {
    std::lock_guard guard(lock_);
    const int left = std::max(firstX, 0);
    const int right = std::min(lastX, surfaceWidth - 1);
    if (y < 0 || y >= surfaceHeight || left > right) return;
    edit(std::span<Pixel>(surface_.row(y) + left, static_cast<std::size_t>(right - left + 1)));
    surface_.markRows(y, 1);
  }

  // Queues a key as a display driver does (tests stand in for one).
  void queueKey(KeyCode code);

  TextCursor cursor() const;
  bool scrollPending() const;

 private:
  enum class LastStep { none, drawn, wrappedPastEnd, lineMove };
  void print(std::string_view text);
  LastStep drawUpToLineEnd(std::string_view& text);
  void drawCharacters(std::string_view run);
  void scrollUp(int rowCount);
  void resetState();
  bool startDriver(std::unique_ptr<ScreenDriver> driver);
  bool startRefreshThread();
  void refreshLoop(std::promise<bool>& started);
  bool refresh();  // true when a key arrived
  // A driver without a refresh thread is asked for keys when the program wants one.
  bool driverWithoutThread() const { return driver_ && !refreshThread_.joinable(); }

  mutable std::recursive_mutex lock_;
  Surface surface_;
  KeyQueue keys_;
  Pixel foreground_;
  Pixel background_;
  CellRows cellRows_;
  TextCursor cursor_{1, 1};
  bool scrollPending_ = false;
  std::string driverName_;
  std::unique_ptr<ScreenDriver> driver_;
  std::thread refreshThread_;
  std::atomic<bool> stopRefresh_{false};
};

}  // namespace quillfex
