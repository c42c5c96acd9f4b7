#pragma once
// The main menu: the user moves between its entries with the arrow keys, starts one with Enter or leaves
// with Escape.

#include "state/context.h"

namespace quillfex {

// Shows the menu until Enter or Escape, then runs the chosen action; the caller cleans up.
void mainMenu(Context& context);

// Draws the menu as the state says: its entries' texts, the selected one highlighted.
void drawMainMenu(Context& context);

// Imports org.bcd over the system store and says on row 15 whether the boot manager is back.
void restoreBootManager(Context& context);

}  // namespace quillfex
