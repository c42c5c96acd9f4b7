// SDL's events as the window reads them: what each queues and what the window is asked to do.

#include "screen/drivers/sdl_events.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sdl_key_event.h"

namespace quillfex {
namespace {

using testing::keyDown;

SDL_Event textInput(const char* utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
  return event;
}

SDL_Event otherEvent(Uint32 type, Uint8 windowChange = SDL_WINDOWEVENT_NONE) {
  SDL_Event event{};
  event.type = type;
  event.window.event = windowChange;
  return event;
}

TEST(SdlEventsTest, WhatASequenceOfEventsQueues) {
  struct Case {
    const char* name;
    std::vector<SDL_Event> events;
    std::vector<KeyCode> queued;
  };
  const Case cases[] = {
      {"a letter: its character from the text", {keyDown(SDLK_a), textInput("a")}, {'a'}},
      {"a character outside ASCII", {keyDown(SDLK_e), textInput("\xC3\xA9")}, {0x82}},
      {"Enter, which types no text", {keyDown(SDLK_RETURN)}, {13}},
      {"arrow down held: one code per repeat",
       {keyDown(SDLK_DOWN), keyDown(SDLK_DOWN, KMOD_NONE, true)},
       {0x50FF, 0x50FF}},
      {"Alt with a letter types nothing", {keyDown(SDLK_x, KMOD_LALT), textInput("x")}, {}},
      {"Ctrl with a digit types nothing", {keyDown(SDLK_1, KMOD_LCTRL), textInput("1")}, {}},
      {"AltGr types its character", {keyDown(SDLK_q, KMOD_MODE), textInput("@")}, {'@'}},
      {"text after Alt is let go", {keyDown(SDLK_x, KMOD_LALT), keyDown(SDLK_y), textInput("y")}, {'y'}},
      {"the close button", {otherEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE)}, {0x6BFF}},
      {"a request to quit", {otherEvent(SDL_QUIT)}, {0x6BFF}},
      {"Alt+Enter", {keyDown(SDLK_RETURN, KMOD_RALT)}, {}},
      {"focus", {otherEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED)}, {}},
  };
  for (const Case& test : cases) {
    SdlEventReader reader;
    KeyQueue keys;
    for (const SDL_Event& event : test.events) reader.read(event, keys);
    std::vector<KeyCode> queued;
    while (!keys.empty()) queued.push_back(keys.take());
    EXPECT_EQ(queued, test.queued) << test.name;
  }
}

TEST(SdlEventsTest, WhatTheWindowIsAskedToDo) {
  struct Case {
    const char* name;
    SDL_Event event;
    WindowRequest request;
  };
  const Case cases[] = {
      {"Alt+Enter", keyDown(SDLK_RETURN, KMOD_LALT), WindowRequest::switchFullScreen},
      {"Alt+Enter on the keypad", keyDown(SDLK_KP_ENTER, KMOD_RALT), WindowRequest::switchFullScreen},
      {"Alt+Enter held: one switch only", keyDown(SDLK_RETURN, KMOD_LALT, true), WindowRequest::none},
      {"Enter", keyDown(SDLK_RETURN), WindowRequest::none},
      {"maximised", otherEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MAXIMIZED), WindowRequest::enterFullScreen},
      {"uncovered", otherEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED), WindowRequest::repaint},
      {"textures lost", otherEvent(SDL_RENDER_TARGETS_RESET), WindowRequest::repaint},
      {"close button", otherEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE), WindowRequest::none},
  };
  for (const Case& test : cases) {
    SdlEventReader reader;
    KeyQueue keys;
    EXPECT_EQ(reader.read(test.event, keys), test.request) << test.name;
  }
}

}  // namespace
}  // namespace quillfex
