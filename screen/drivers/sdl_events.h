#pragma once
// Reads SDL's events as the Windows window reads its messages: keys and text to queue, the close request
// as the close key, and what the window itself has to do.

#include <SDL_events.h>

#include "screen/key_queue.h"

namespace quillfex {

enum class WindowRequest {
  none,
  switchFullScreen,  // Alt+Enter: full screen, or back to the window
  enterFullScreen,   // the window was maximised
  repaint,           // the window's pixels were lost: show the whole surface again
};

class SdlEventReader {
 public:
  // Queues what the event types, if anything, and says what the window has to do about it.
  WindowRequest read(const SDL_Event& event, KeyQueue& keys);

 private:
  WindowRequest readKey(const SDL_KeyboardEvent& press, KeyQueue& keys);
  void readText(const SDL_TextInputEvent& text, KeyQueue& keys) const;
  static WindowRequest readWindowEvent(const SDL_WindowEvent& change, KeyQueue& keys);

  // Text input arrives after the key press that typed it and carries no modifiers of its own.
  Uint16 lastPressModifiers_ = 0;
};

}  // namespace quillfex
