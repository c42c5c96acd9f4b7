#pragma once
// The screen's window on Windows: its class, opening it in a window or full screen, copying surface rows
// into it, and its messages turned into key codes. All of it runs on the thread that opened the window.

#include <windows.h>

#include <string>
#include <vector>

#include "screen/key_queue.h"
#include "screen/surface.h"

namespace quillfex {

// false when Windows refuses the class.
bool registerScreenWindowClass();
void unregisterScreenWindowClass();

// Handles every message waiting for this thread's windows; they queue their keys in their window.
void handleWaitingMessages();

enum class WindowMode { windowed, fullScreen };

class ScreenWindow {
 public:
  // The surface is read only from copyRows and while messages are handled, both under the screen's lock.
  ScreenWindow(const Surface& surface, std::string title);
  ~ScreenWindow();
  ScreenWindow(const ScreenWindow&) = delete;
  ScreenWindow& operator=(const ScreenWindow&) = delete;

  // Windowed: centred on the monitor under the mouse pointer. Full screen: the whole of a display already
  // switched to the surface's mode. Brought to the foreground either way; false when it cannot be made.
  bool open(WindowMode mode);
  void close();
  WindowMode mode() const { return mode_; }

  // Copies surface rows into the window.
  void copyRows(RowRange rows);

  // The keys that the messages handled since the last call produced, oldest first.
  std::vector<KeyCode> takeKeys();

  // Whether maximise or Alt+Enter asked to switch between window and full screen since the last call.
  bool takeModeSwitchRequest();

  // The procedure of the registered class.
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static void adopt(HWND window, LPARAM createParameters);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onKeyDown(WPARAM wParam, LPARAM lParam);
  LRESULT onChar(WPARAM wParam, LPARAM lParam);
  LRESULT onSystemKeyDown(WPARAM wParam, LPARAM lParam);
  LRESULT onClose();
  LRESULT onSize(WPARAM wParam);
  LRESULT onPaint();
  void copyRowsTo(HDC deviceContext, RowRange rows);
  void queueRepeated(KeyCode code, int times);

  const Surface& surface_;
  std::string title_;
  HWND window_ = nullptr;
  WindowMode mode_ = WindowMode::windowed;
  std::vector<KeyCode> keys_;
  bool modeSwitchRequested_ = false;
};

}  // namespace quillfex
