#include "screen/drivers/sdl_events.h"

#include "screen/drivers/sdl_keys.h"
#include "screen/key_codes.h"

namespace quillfex {
namespace {

void queueCloseKey(KeyQueue& keys) { keys.push(*extendedKeyCode(Key::close, {})); }

bool isEnter(SDL_Keycode key) { return key == SDLK_RETURN || key == SDLK_KP_ENTER; }

}  // namespace

WindowRequest SdlEventReader::read(const SDL_Event& event, KeyQueue& keys) {
  switch (event.type) {
    case SDL_KEYDOWN:
      return readKey(event.key, keys);
    case SDL_TEXTINPUT:
      readText(event.text, keys);
      return WindowRequest::none;
    case SDL_WINDOWEVENT:
      return readWindowEvent(event.window, keys);
    case SDL_QUIT:
      queueCloseKey(keys);
      return WindowRequest::none;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      return WindowRequest::repaint;
    default:
      return WindowRequest::none;
  }
}

WindowRequest SdlEventReader::readKey(const SDL_KeyboardEvent& press, KeyQueue& keys) {
  lastPressModifiers_ = press.keysym.mod;
  if ((press.keysym.mod & KMOD_ALT) && isEnter(press.keysym.sym)) {
    return press.repeat ? WindowRequest::none : WindowRequest::switchFullScreen;
  }
  if (const auto code = keyCodeOfSdlKey(press.keysym.sym, press.keysym.mod)) keys.push(*code);
  return WindowRequest::none;
}

void SdlEventReader::readText(const SDL_TextInputEvent& text, KeyQueue& keys) const {
  if (!typesText(lastPressModifiers_)) return;
  for (const KeyCode code : keyCodesOfSdlText(text.text)) keys.push(code);
}

WindowRequest SdlEventReader::readWindowEvent(const SDL_WindowEvent& change, KeyQueue& keys) {
  switch (change.event) {
    case SDL_WINDOWEVENT_CLOSE:
      queueCloseKey(keys);
      return WindowRequest::none;
    case SDL_WINDOWEVENT_MAXIMIZED:
      return WindowRequest::enterFullScreen;
    case SDL_WINDOWEVENT_EXPOSED:
      return WindowRequest::repaint;
    default:
      return WindowRequest::none;
  }
}

}  // namespace quillfex
