#pragma once
// A display driver: shows the surface and turns the display's key events into queued key codes. The
// screen makes all calls with its lock held, except start and stop.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "screen/key_queue.h"
#include "screen/surface.h"

namespace quillfex {

// Why the screen asks a driver for keys.
enum class KeyDemand {
  refresh,  // the 10-millisecond refresh of a driver with a refresh thread
  poll,     // the program polls and finds the queue empty
  wait,     // the program waits and no key is pending
};

class ScreenDriver {
 public:
  virtual ~ScreenDriver() = default;

  // Whether the screen runs a thread for this driver that calls start, then every 10 ms present and
  // deliverKeys (KeyDemand::refresh), then stop: a window belongs to the thread that made it. Without one,
  // start and stop run on the program's thread, present at every waitKey and deliverKeys on demand.
  virtual bool needsRefreshThread() const = 0;

  // Opens the display; false when it cannot. The surface is the screen's and outlives the driver; read it
  // only from inside present, deliverKeys and stop.
  virtual bool start(const Surface& surface) = 0;

  // Shows pixel rows first to last of the surface.
  virtual void present(RowRange rows) = 0;

  // Queues the keys that have arrived since the last call.
  virtual void deliverKeys(KeyQueue& keys, KeyDemand demand) = 0;

  // Closes the display; called once, when the screen closes or the process ends.
  virtual void stop() = 0;
};

struct DriverEntry {
  std::string_view name;
  std::unique_ptr<ScreenDriver> (*make)();
  bool servesProgramRequest;  // tried for "GDI" (or no name) when QUILLFEX_SCREEN does not choose
};

// The drivers of this host besides headless, in the order that the program's request falls back through
// (host_drivers_win32.cpp or host_drivers_posix.cpp).
std::span<const DriverEntry> hostDrivers();

// The drivers to try, in order, for the program's request ("GDI", or "" for none), unless QUILLFEX_SCREEN
// chooses one. A choice this build does not have ends the process with status 2 and a message: a scripted
// run without its screen would only spin.
std::vector<std::string_view> driverOrder(std::string_view requested);

// Ends the process with status 2 and a message when QUILLFEX_SCREEN chose the driver that did not start:
// the program would otherwise go on without a screen, polling for keys that never come.
void endIfChosenDriverDidNotStart();

// A driver of this build by its name in driverOrder.
std::unique_ptr<ScreenDriver> makeDriver(std::string_view name);

}  // namespace quillfex
