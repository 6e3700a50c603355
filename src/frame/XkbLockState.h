#pragma once
// Reading the keyboard's lock indicators through the X keyboard extension.
// Kept apart from the Qt code because the X11 headers define macros
// (KeyPress, None, Bool, ...) that clash with Qt's names.

#include "frame/LockIndicators.h"

#include <optional>

// display is the X11 Display* of the connection the program uses. Returns
// nothing when the display lacks the keyboard extension or the call fails.
std::optional<LockState> ReadXkbLockState(void* display);
