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
  std::unique_ptr<ScreenDriver> (*make)();  // nullptr when it cannot start here, with the reason on standard error
  bool servesProgramRequest;                // tried for "GDI" (or no name) when nothing else chooses
};

// The drivers of this host, in the order that the program's request falls back through. This and the two
// below are the host's own (host_drivers_win32.cpp, host_drivers_posix.cpp).
std::span<const DriverEntry> hostDrivers();

// The driver of this host by its name; nullptr when it has none.
const DriverEntry* findDriver(std::string_view name);

// The driver named by the request, else those that serve a request.
std::vector<std::string_view> driversServing(std::string_view requested);

// The drivers to try, in order, for the program's request ("GDI", or "" for none). On POSIX hosts
// QUILLFEX_SCREEN may choose one instead; a choice this build does not have gives none.
std::vector<std::string_view> driverOrder(std::string_view requested);

// Called when no driver of driverOrder started. On POSIX hosts it ends the process with status 2 and the
// reason, since the program would otherwise poll a screen that never opened; on Windows the screen stays
// closed, as the program expects.
void endIfNoDriverStarted();

// A driver of this build by its name in driverOrder.
std::unique_ptr<ScreenDriver> makeDriver(std::string_view name);

}  // namespace quillfex
