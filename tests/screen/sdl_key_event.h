#pragma once
// A key press as SDL delivers it to the window, for the SDL tests.

#include <SDL.h>

namespace quillfex::testing {

inline SDL_Event keyDown(SDL_Keycode key, Uint16 modifiers = KMOD_NONE, bool repeat = false) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  event.key.keysym.mod = modifiers;
  event.key.repeat = repeat;
  return event;
}

}  // namespace quillfex::testing
