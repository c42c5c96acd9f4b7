#include "screen/drivers/tty_driver.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "screen/drivers/tty_keys.h"
#include "screen/drivers/tty_render.h"
#include "screen/drivers/tty_terminal.h"
#include "screen/font.h"

namespace quillfex {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int gridColumns = surfaceWidth / glyphWidth;
constexpr int gridRows = surfaceHeight / glyphHeight;
// A sequence's bytes arrive together; an Esc that has waited this long alone is the Escape key.
constexpr auto loneEscapeWait_ms = std::chrono::milliseconds(50);

class TtyDriver final : public ScreenDriver {
 public:
  bool needsRefreshThread() const override { return true; }

  bool start(const Surface& surface) override {
    if (const auto failure = takeOverTerminal()) {
      std::fprintf(stderr, "terminal screen: %.*s: %s\n", static_cast<int>(failure->call.size()), failure->call.data(),
                   std::strerror(failure->error));
      return false;
    }
    surface_ = &surface;
    redrawEverything();
    return true;
  }

  void present(RowRange rows) override {
    if (!fits_) return;
    std::string text;
    for (int row = rows.first / glyphHeight; row <= rows.last / glyphHeight; ++row) text += changedRowText(row);
    show(text);
  }

  void deliverKeys(KeyQueue& keys, KeyDemand) override {
    // Keys that came before the screen shows again were typed at the notice: Enter to dismiss it must not
    // start a run the user cannot see.
    const bool screenHidden = !fits_;
    if (inputOpen_) inputOpen_ = readReadyInput(pending_);
    if (terminalResized()) redrawEverything();
    if (screenHidden) return dropPendingInput();
    if (pending_.empty()) return;
    const auto now = Clock::now();
    if (!pendingSince_) pendingSince_ = now;
    const bool waitedEnough = now - *pendingSince_ >= loneEscapeWait_ms || !inputOpen_;
    const TerminalKeys parsed = parseTerminalKeys(pending_, waitedEnough ? InputEnd::final : InputEnd::mayContinue);
    for (const KeyCode code : parsed.codes) keys.push(code);
    pending_.erase(0, parsed.consumed);
    if (pending_.empty()) {
      pendingSince_.reset();
    } else if (parsed.consumed > 0) {
      pendingSince_ = now;
    }
  }

  void stop() override { restoreTerminal(); }

 private:
  // The row's sequences, or "" when the terminal shows it so already: the program redraws whole screens.
  std::string changedRowText(int row) {
    std::string text = renderTextRow(*surface_, row);
    if (text == shown_[row]) return "";
    shown_[row] = text;
    return text;
  }

  void dropPendingInput() {
    pending_.clear();
    pendingSince_.reset();
  }

  void redrawEverything() {
    const TerminalSize size = terminalSize();
    // A terminal that does not tell its size is taken to be large enough.
    const bool sizeUnknown = size.columns == 0 && size.rows == 0;
    fits_ = sizeUnknown || (size.columns >= gridColumns && size.rows >= gridRows);
    shown_.fill("");
    if (!fits_) return show(renderTooSmallNotice(size.columns, size.rows));
    std::string text = "\x1B[0m\x1B[2J";
    for (int row = 0; row < gridRows; ++row) text += changedRowText(row);
    show(text);
  }

  // A terminal that takes no more output has gone with its user; there is no one left to tell.
  static void show(std::string_view text) {
    if (!text.empty()) writeToTerminal(text);
  }

  const Surface* surface_ = nullptr;
  bool fits_ = true;
  std::array<std::string, gridRows> shown_;
  std::string pending_;  // input bytes not yet read as keys
  std::optional<Clock::time_point> pendingSince_;
  bool inputOpen_ = true;
};

}  // namespace

std::unique_ptr<ScreenDriver> makeTtyDriver() {
  if (standardStreamsAreTerminals()) return std::make_unique<TtyDriver>();
  return nullptr;
}

}  // namespace quillfex
