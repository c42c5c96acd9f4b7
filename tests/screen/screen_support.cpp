#include "screen_support.h"

namespace quillfex::testing {
namespace {

class SilentDriver final : public ScreenDriver {
 public:
  bool needsRefreshThread() const override { return false; }
  bool start(const Surface&) override { return true; }
  void present(RowRange) override {}
  void deliverKeys(KeyQueue&, KeyDemand) override {}
  void stop() override {}
};

}  // namespace

std::unique_ptr<ScreenDriver> makeSilentDriver() { return std::make_unique<SilentDriver>(); }

Surface surfaceOf(const Screen& screen) {
  Surface copy;
  for (int y = 0; y < surfaceHeight; ++y) {
    for (int x = 0; x < surfaceWidth; ++x) copy.row(y)[x] = screen.readPixel(x, y);
  }
  return copy;
}

}  // namespace quillfex::testing
