// The toolkit's global knob mode: how dragging turns a knob. One setting for
// every editor of the module, as hosts expect (effSetEditKnobMode names no
// editor in particular).
#pragma once

#include <cstdint>

namespace vortan {

enum KnobMode : int32_t {
  kCircularMode = 0,         // the value follows the pointer's angle round the knob
  kRelativCircularMode = 1,  // the angle moved, added to the value at the press
  kLinearMode = 2,           // vertical drag: up raises the value
};

// Any thread.
int32_t GetKnobMode() noexcept;
void SetKnobMode(int32_t mode) noexcept;

}  // namespace vortan
