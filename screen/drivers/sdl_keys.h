#pragma once
// SDL's key presses and text input in the codes that the Windows window queues for the same presses.

#include <SDL_keycode.h>

#include <optional>
#include <string_view>
#include <vector>

#include "screen/key_queue.h"

namespace quillfex {

// The code that a key press queues by itself: the extended code of a key that types no character (keypad
// keys only with Num Lock off), Enter 13, Esc 27, Backspace 8, Tab 9, and the control character of Ctrl
// with a letter or a bracket, which SDL reports without text. Nothing for a key whose character arrives as
// text input, with Alt held, for F10, or for a combination the table has no entry for.
std::optional<KeyCode> keyCodeOfSdlKey(SDL_Keycode key, Uint16 modifiers);

// Whether text typed with these modifiers is queued: with Alt, or with Ctrl but without AltGr, Windows
// types no character.
bool typesText(Uint16 modifiers);

// The code page 437 characters of text input (UTF-8), '?' for what code page 437 lacks.
std::vector<KeyCode> keyCodesOfSdlText(std::string_view utf8);

}  // namespace quillfex
