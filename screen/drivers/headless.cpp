#include "screen/drivers/headless.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "screen/png_file.h"

namespace quillfex {
namespace {

class HeadlessDriver final : public ScreenDriver {
 public:
  explicit HeadlessDriver(HeadlessSettings settings) : settings_(std::move(settings)) {}

  bool needsRefreshThread() const override { return false; }

  bool start(const Surface& surface) override {
    surface_ = &surface;
    return true;
  }

  void present(RowRange) override {
    if (settings_.snapshotsFolder.empty()) return;
    char name[32];
    std::snprintf(name, sizeof name, "/wait-%03d.png", ++waitsSaved_);
    savePng(*surface_, settings_.snapshotsFolder + name);
  }

  void deliverKeys(KeyQueue& keys, KeyDemand demand) override {
    if (demand == KeyDemand::refresh) return;
    if (demand == KeyDemand::wait && nextKey_ == settings_.script.size()) endForExhaustedScript();
    if (nextKey_ == settings_.script.size()) return endWhenPollingInVain();
    // One press per demand, as a person would make them; a press the window ignores queues nothing.
    if (const auto code = keyCodeOf(settings_.script[nextKey_++])) keys.push(*code);
  }

  void stop() override { saveExitSnapshots(); }

 private:
  void saveExitSnapshots() {
    if (!settings_.snapshotsFolder.empty()) savePng(*surface_, settings_.snapshotsFolder + "/exit.png");
    if (!settings_.exitSnapshotPath.empty()) savePng(*surface_, settings_.exitSnapshotPath);
  }

  // A program that goes on polling a used-up script is waiting for a key that will never come, as the menu
  // does: end it as a wait would, rather than spin for ever.
  void endWhenPollingInVain() {
    const auto now = std::chrono::steady_clock::now();
    if (!pollingInVainSince_) pollingInVainSince_ = now;
    if (now - *pollingInVainSince_ > pollingInVainLimit) endForExhaustedScript();
  }

  // The screen's lock is held here, so the process ends without running exit handlers that would take it.
  [[noreturn]] void endForExhaustedScript() {
    saveExitSnapshots();
    std::fputs("key script exhausted\n", stderr);
    std::fflush(nullptr);
    std::_Exit(3);
  }

  HeadlessSettings settings_;
  const Surface* surface_ = nullptr;
  static constexpr auto pollingInVainLimit = std::chrono::milliseconds(500);
  std::size_t nextKey_ = 0;
  int waitsSaved_ = 0;
  std::optional<std::chrono::steady_clock::time_point> pollingInVainSince_;
};

}  // namespace

std::unique_ptr<ScreenDriver> makeHeadlessDriver(HeadlessSettings settings) {
  return std::make_unique<HeadlessDriver>(std::move(settings));
}

}  // namespace quillfex
