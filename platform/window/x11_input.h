// Turning X11 input events into the window layer's events: modifiers,
// buttons and wheel notches, keys, and double clicks (X has none: a second
// press of the same button soon enough and close enough becomes one).
#pragma once

#include <X11/Xlib.h>

#include "platform/window/window.h"

namespace platform {

Modifiers ModifiersFromState(unsigned int state) noexcept;

// Key code and UTF-8 text of a key event.
void TranslateKey(XKeyEvent* key, Event* out) noexcept;

// Tracks presses to find double clicks with the usual system limits.
class DoubleClickDetector {
 public:
  static constexpr unsigned long kTimeMs = 500;
  static constexpr int kDistance = 2;  // pixels either way from the first press

  // True when this press completes a double click (the next press then
  // starts afresh).
  bool Press(MouseButton button, int x, int y, unsigned long time_ms) noexcept;

 private:
  MouseButton button_ = MouseButton::kNone;
  int x_ = 0;
  int y_ = 0;
  unsigned long time_ = 0;
};

}  // namespace platform
